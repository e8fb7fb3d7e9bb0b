#include <string>
#include <vector>
#include "core/Utility.h"
#include "framework/MessagePump.h"
#include "text/PathSize.h"
#include "text/WideText.h"

int CUtility::RunProgram(const char* program, const char* parameters, int wait) {
    return RunProgram(Cp932ToWide(program ? program : ""), Cp932ToWide(parameters ? parameters : ""), wait);
}

int CUtility::RunProgram(const std::wstring& program, const std::wstring& parameters, int wait) {
    // The program path is quoted so that the started process finds exactly the parameter
    // text after it, also when the path holds blanks.
    std::wstring command;
    if (!program.empty()) command = L"\"" + program + L"\" ";
    command += parameters;
    if (command.empty() || command.size() >= 32767) return 0;

    std::vector<wchar_t> writable(command.begin(), command.end());
    writable.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &process))
        return 0;
    CloseHandle(process.hThread);
    if (wait == 1) {
        while (WaitForSingleObject(process.hProcess, 1000) == WAIT_TIMEOUT) PumpPendingMessages();
    }
    CloseHandle(process.hProcess);
    return 1;
}

int CUtility::ClaimSingleInstance(const char* mutexName, const char* propertyName) {
    // The handle is kept for the life of the process on purpose: it is the claim.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, mutexName);
    if (mutex && GetLastError() != ERROR_ALREADY_EXISTS) return 1;
    if (!mutex) return 1;  // no way to tell; better to show the window than nothing

    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!GetPropA(w, propertyName)) continue;
        if (IsIconic(w)) ShowWindow(w, SW_RESTORE);
        SetForegroundWindow(w);
        SetForegroundWindow(GetLastActivePopup(w));
        break;
    }
    return 0;
}

std::string ExecutableName() {
    char path[PathSize] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    char name[PathSize];
    CUtility().SplitPath(PathPart::BaseName, path, name, sizeof name);
    return name;
}
