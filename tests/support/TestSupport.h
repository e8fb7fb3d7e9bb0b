#pragma once
#include <windows.h>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

// A fresh folder under the temporary-files folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The folder with a trailing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

// Removes the folder and everything in it, whatever characters the names below it have.
void RemoveTree(const std::string& path);
bool WriteBytes(const std::string& path, const std::string& bytes);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
// Makes the folder `name` (of any characters) in `parent`: its path with a trailing '', or
// empty when it cannot be made.
std::wstring MakeFolder(const TempDir& parent, const std::wstring& name);
std::string ReadBytes(const std::string& path);   // empty when the file cannot be read
std::string ReadBytes(const std::wstring& path);  // the same, through the wide functions
bool FileExists(const std::string& path);
// Rewrites a file in place as a Linux program beside Wine does, past every share mode of
// this process's handles (Wine starts /bin/cp, which truncates and writes the same file).
// False when the file does not hold the bytes afterwards.
bool RewriteFromLinux(const std::string& path, const std::string& bytes);
std::string ExeFolder();                          // folder of the running test program, with '\'
// A plug-in file name as this build's host looks for it: base.spi (32-bit) or base.sph (64-bit).
std::string PluginFile(const std::string& base);
// The most memory this process has held in its working set so far, in bytes: a block whose
// pages were filled in shows, one merely reserved does not.
size_t PeakWorkingSet();

// The tests' own paths are code page 932 text; the program takes UTF-16.
std::wstring Wide(const std::string& cp932);
// UTF-16 as code page 932, "?" for what it cannot spell: for comparing with a test's texts.
std::string Narrow(const std::wstring& text);
// UTF-8 (the tests' source text) as UTF-16, for names of every script.
std::wstring FromUtf8(const std::string& utf8);

// What a message box showed.
struct SeenBox {
    std::string caption;
    std::string text;
    UINT iconStyleHint = 0;   // not read from the box; for callers' bookkeeping
    HWND owner = nullptr;
};

// Watches for message boxes of this process on a background thread, records their captions
// and texts, and closes each one by pressing `button`. Use around any call that may show
// one, so that no test waits for a person.
class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(int button = IDOK);
    ~MessageBoxWatcher();
    std::vector<SeenBox> Seen();
    // Waits until at least `count` boxes were seen; false on time-out.
    bool WaitFor(size_t count, DWORD timeoutMs = 10000);

private:
    void Run();
    int button_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> handled_;
    std::thread thread_;
};

// True when hwnd is a message box (a dialog with the message-box text control).
bool IsMessageBox(HWND hwnd);
std::string WindowText(HWND hwnd);
// The text in UTF-16, whole.
std::wstring WindowWideText(HWND hwnd);

// The process's current folder is `folder` for the life of the object.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& folder);
    ~CurrentFolder();
    CurrentFolder(const CurrentFolder&) = delete;
    CurrentFolder& operator=(const CurrentFolder&) = delete;

private:
    char previous_[MAX_PATH] = {};
};

// Asks a window for help as the F1 key does.
void PressF1(HWND window);

// Pumps this thread's messages for the given time (lets windows paint and timers run).
void PumpMessages(DWORD milliseconds);

}  // namespace testsupport
