/* A 32-bit archive plug-in that takes no archive: the 64-bit build's tests drop it into a
   plug-in folder to see that a library of the other architecture is passed over. */
#include <windows.h>
#include <string.h>

__declspec(dllexport) int WINAPI GetPluginInfo(int infono, LPSTR buf, int buflen) {
    const char* text = infono == 0 ? "00AM" : infono == 1 ? "32-bit plug-in" : "*.old";
    if (!buf || buflen <= 0) return 0;
    lstrcpynA(buf, text, buflen);
    return (int)strlen(buf);
}
__declspec(dllexport) int WINAPI IsSupported(LPCSTR name, DWORD header) { (void)name; (void)header; return 0; }
__declspec(dllexport) int WINAPI GetArchiveInfo(LPCSTR src, LONG offset, unsigned flags, HLOCAL* info) {
    (void)src; (void)offset; (void)flags; (void)info; return 1;
}
__declspec(dllexport) int WINAPI GetFileInfo(LPCSTR src, LONG offset, LPCSTR name, unsigned flags, void* info) {
    (void)src; (void)offset; (void)name; (void)flags; (void)info; return 1;
}
__declspec(dllexport) int WINAPI GetFile(LPCSTR src, LONG position, LPSTR dest, unsigned flags, FARPROC progress,
                                         LONG data) {
    (void)src; (void)position; (void)dest; (void)flags; (void)progress; (void)data; return 1;
}
