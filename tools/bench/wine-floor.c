/* The least a Win32 program pays under Wine to write a set of files: for each line of a list
 * ("SIZE relative\path"), the folders not yet made, one attribute query, create, write SIZE
 * bytes from memory, set the time on the handle, close. Nothing is read or decoded, so its
 * rate is a ceiling for any extractor running under the same Wine.
 *
 *   wine-floor.exe LIST OUTPUT_FOLDER
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

static char content[1 << 20];

/* Makes every folder of the path's folder part that the previous path did not have. */
static void MakeFolders(const char* path, char* lastFolder) {
    const char* end = strrchr(path, '\\');
    size_t length = end ? (size_t)(end - path) : 0;
    if (length < 3) return;  /* "X:\name": the drive's root is there */
    if (length == strlen(lastFolder) && strncmp(path, lastFolder, length) == 0) return;
    char folder[MAX_PATH];
    memcpy(folder, path, length);
    folder[length] = '\0';
    for (char* cut = strchr(folder + 3, '\\');; cut = strchr(cut + 1, '\\')) {
        if (cut) *cut = '\0';
        if (GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES) CreateDirectoryA(folder, NULL);
        if (!cut) break;
        *cut = '\\';
    }
    strcpy(lastFolder, folder);
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: wine-floor LIST OUTPUT_FOLDER\n");
        return 2;
    }
    FILE* list = fopen(argv[1], "r");
    if (!list) return 1;
    memset(content, 'A', sizeof content);
    char lastFolder[MAX_PATH] = "";
    char name[MAX_PATH];
    unsigned long size;
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    while (fscanf(list, "%lu %259[^\n]", &size, name) == 2) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\%s", argv[2], name);
        MakeFolders(path, lastFolder);
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) continue;
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, NULL);
        if (file == INVALID_HANDLE_VALUE) return 1;
        for (unsigned long left = size; left > 0;) {
            DWORD chunk = left < sizeof content ? (DWORD)left : (DWORD)sizeof content, written = 0;
            if (!WriteFile(file, content, chunk, &written, NULL) || written == 0) return 1;
            left -= written;
        }
        SetFileTime(file, NULL, NULL, &time);
        CloseHandle(file);
    }
    fclose(list);
    return 0;
}
