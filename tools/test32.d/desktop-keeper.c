/* Keeps Wine's desktop up for a whole test job in the emulated machine. Wine starts its
   desktop process when the first window of a session is made, gives it ten seconds, and
   shuts it down again when the last program ends; under emulation it often needs longer,
   and a program that loses that race can make no window at all. This program makes a window,
   prints "ready" when that worked (exit code 1 when not) and then waits until it is killed,
   so that the desktop stays up between the test programs. */
#include <windows.h>
#include <stdio.h>

int main(void) {
    HWND window = CreateWindowExA(0, "STATIC", "desktop-keeper", WS_POPUP, 0, 0, 8, 8,
                                  NULL, NULL, GetModuleHandleA(NULL), NULL);
    if (!window) return 1;
    printf("ready\n");
    fflush(stdout);
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(500);
    }
}
