// Unpacks the first entry of each given ZIP archive through the ZIP plug-in's GetFile (to a
// memory block), as a host does, and prints the time and throughput (run by
// tools/bench/codec-speed under Wine):   zip_method_bench.exe ZIP_PLUGIN [-pPASSWORD] ARCHIVE...
// With a password, the plug-in's password dialog is answered with it and the entry fetched
// once before the timed fetch, so that the time is the decryption's, not the dialog's.
#include <windows.h>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include "plugins/PluginBlock.h"
#include "plugins/SusiePlugin.h"
#include "tools/bench/Measure.h"

namespace {

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

constexpr int PasswordBox = 2402;  // the dialog's edit box

BOOL CALLBACK AnswerIfPasswordDialog(HWND window, LPARAM password) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || strncmp(title, "パスワード", 10) != 0)
        return TRUE;
    SendDlgItemMessageA(window, PasswordBox, WM_SETTEXT, 0, password);
    SendMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    return FALSE;
}

// Types the password into every password dialog of this process until stopped.
class DialogAnswerer {
public:
    explicit DialogAnswerer(std::string password)
        : password_(std::move(password)), thread_([this] {
              while (!stop_) {
                  EnumWindows(&AnswerIfPasswordDialog, reinterpret_cast<LPARAM>(password_.c_str()));
                  Sleep(20);
              }
          }) {}
    ~DialogAnswerer() {
        stop_ = true;
        thread_.join();
    }

private:
    std::string password_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

int Bench(GetArchiveInfoFn getArchiveInfo, GetFileFn getFile, const char* archive, bool unlockFirst) {
    HLOCAL listHandle = nullptr;
    getArchiveInfo(archive, 0, 0, &listHandle);
    PluginBlock list(listHandle);
    if (list.Size() < sizeof(ArchiveEntry) || !list.Lock()) {
        printf("%s: GetArchiveInfo failed\n", archive);
        return 1;
    }
    ArchiveEntry first = *reinterpret_cast<const ArchiveEntry*>(list.Bytes());
    HLOCAL handle = nullptr;
    if (unlockFirst) {
        getFile(archive, first.position, reinterpret_cast<LPSTR>(&handle), SpiOutputToMemory, nullptr, 0);
        PluginBlock released(handle);
        handle = nullptr;
    }
    double start = bench::Seconds();
    int result = getFile(archive, first.position, reinterpret_cast<LPSTR>(&handle), SpiOutputToMemory, nullptr, 0);
    double seconds = bench::Seconds() - start;
    { PluginBlock released(handle); }  // whatever GetFile returned
    if (result != 0) {
        printf("%s: GetFile failed: %d\n", archive, result);
        return 1;
    }
    printf("%-8.8s %llu bytes %.3f s %.1f MB/s\n", reinterpret_cast<const char*>(first.method),
           static_cast<unsigned long long>(first.unpackedSize), seconds, first.unpackedSize / seconds / 1e6);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        printf("usage: %s ZIP_PLUGIN ARCHIVE...\n", argv[0]);
        return 2;
    }
    HMODULE plugin = LoadLibraryA(argv[1]);
    auto getArchiveInfo = plugin ? Export<GetArchiveInfoFn>(plugin, "GetArchiveInfo") : nullptr;
    auto getFile = plugin ? Export<GetFileFn>(plugin, "GetFile") : nullptr;
    if (!getArchiveInfo || !getFile) {
        printf("cannot load %s\n", argv[1]);
        return 1;
    }
    int first = 2;
    std::string password;
    if (strncmp(argv[first], "-p", 2) == 0) password = argv[first++] + 2;
    std::unique_ptr<DialogAnswerer> answerer;
    if (!password.empty()) answerer = std::make_unique<DialogAnswerer>(password);
    int failures = 0;
    for (int i = first; i < argc; ++i) failures += Bench(getArchiveInfo, getFile, argv[i], !password.empty());
    return failures != 0;
}
