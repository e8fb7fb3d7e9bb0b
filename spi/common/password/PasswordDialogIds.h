#pragma once
// Resource ids of the password dialog, shared by its template and its code. The template is
// linked into each plug-in that shows the dialog; plug-ins carry no other dialogs.
#define IDD_PASSWORD_DIALOG  2400
#define IDC_PASSWORD_ARCHIVE 2401
#define IDC_PASSWORD_EDIT    2402
#define IDC_PASSWORD_WRONG   2403
