#pragma once
// Identifiers shared by the resource script and the code.

#define AFX_IDS_APP_TITLE 57344

// Dialog templates.
#define IDD_SETTINGS_DIALOG 102
#define IDD_DESTINATION_DIALOG 130
#define IDD_OVERWRITE_DIALOG 132
#define IDD_ABOUT_DIALOG 134
#define IDD_LIST_PROGRESS_DIALOG 135
#define IDD_EXTRACT_PROGRESS_DIALOG 136
#define IDD_ARCHIVE_LIST_DIALOG 192

// Icons.
#define IDI_PROGRAM 128              // red square in a raised grey frame
#define IDI_EXTRACT_SELECTED 131     // cyan tag "SEL" over 解凍
#define IDI_WARNING_TRIANGLE 133     // yellow triangle with a blue exclamation mark
#define IDI_HEART 135                // small orange heart: the image viewer's folder
#define IDI_PLUGIN_CROSS 144         // 16x16 red cross on white
#define IDI_PLUGIN_RING 145          // 16x16 blue ring on white
#define IDI_FOLDER 146               // small yellow folder
#define IDI_BLANK_PAGE 147           // 16x16 blank white document page
#define IDI_EXTRACT_ALL 148          // yellow tag "ALL" over 解凍
#define IDI_OPEN_ENTRY 149           // open yellow folder over 展開
#define IDI_SELECT 150               // blue striped list sheet over 選択
#define IDI_EXIT 151                 // figure running out of a door
#define IDI_VERSION 152              // red square in a grey frame with VER
#define IDI_SHEET 153                // small grey sheet with lines

// Settings dialog (102).
#define IDC_SETTINGS_DEST_FOLDER 1000
#define IDC_SETTINGS_SPI_FOLDER 1001
#define IDC_SETTINGS_DEST_BROWSE 1002
#define IDC_SETTINGS_SPI_BROWSE 1003
#define IDC_SETTINGS_SPI_FROM_VIEWER 1004
#define IDC_SETTINGS_PLUGIN_LIST 1005
#define IDC_SETTINGS_OPEN_CHECK 1006
#define IDC_SETTINGS_DEST_LABEL 1007
#define IDC_SETTINGS_PLUGIN_COUNT 1008
#define IDC_SETTINGS_UPDATE_CHECK 1009
#define IDC_SETTINGS_MODE_LIST 1010
#define IDC_SETTINGS_MODE_IMMEDIATE 1011
#define IDC_SETTINGS_EDITOR 1012
#define IDC_SETTINGS_EDITOR_BROWSE 1013
#define IDC_SETTINGS_EDITOR_LABEL 1027
#define IDC_SETTINGS_PLUGIN_GROUP 1030
#define IDC_SETTINGS_AVOID_DOUBLE_FOLDER 1031
#define IDC_SETTINGS_TYPE_GROUP 1032
#define IDC_SETTINGS_TYPE_LIST 1033
#define IDC_SETTINGS_TYPE_ALL 1034
#define IDC_SETTINGS_TYPE_NONE 1035

// Destination dialog (130).
#define IDC_DEST_FOLDER 1013
#define IDC_DEST_KEEP_PATHS 1014
#define IDC_DEST_BROWSE 1015

// Overwrite dialog (132). The four radio buttons form one group, in this order.
#define IDC_OVERWRITE_FOLDER 1016
#define IDC_OVERWRITE_DISK_SIZE 1017
#define IDC_OVERWRITE_DISK_TIME 1018
#define IDC_OVERWRITE_FILE_LINE 1019
#define IDC_OVERWRITE_ARCHIVE_SIZE 1020
#define IDC_OVERWRITE_ARCHIVE_TIME 1021
#define IDC_OVERWRITE_CHOICE_OVERWRITE 1022
#define IDC_OVERWRITE_CHOICE_KEEP 1024
#define IDC_OVERWRITE_CHOICE_OVERWRITE_ALL 1025
#define IDC_OVERWRITE_CHOICE_IGNORE_ALL 1026

// About dialog (134).
#define IDC_ABOUT_PROGRAM_LINE 1025

// Both progress dialogs (135, 136).
#define IDC_PROGRESS_ENTRY_LINE 1023
#define IDC_PROGRESS_BAR 1024
#define IDC_PROGRESS_ARCHIVE_LINE 1025

// Archive list window (192).
#define IDC_ARCLIST_EXTRACT_ALL 1012
#define IDC_ARCLIST_EXTRACT_SELECTED 1013
#define IDC_ARCLIST_OPEN 1014
#define IDC_ARCLIST_SELECT 1015
#define IDC_ARCLIST_CLOSE 1016
#define IDC_ARCLIST_ABOUT 1017
#define IDC_ARCLIST_STATUS 1026
#define IDC_ARCLIST_ENTRIES 1134

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
