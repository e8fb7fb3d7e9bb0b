#include "tests/support/RecordedStarts.h"
#include <algorithm>
#include "tests/support/FolderWalk.h"

namespace testsupport {

namespace {
constexpr char RecordPattern[] = "started-*.txt";
}  // namespace

std::vector<std::string> RecordedStarts(const std::string& folder) {
    std::vector<std::string> texts;
    // A record appears whole: the recorder writes it under another name first.
    for (const std::string& name : NamesIn(folder, RecordPattern))
        texts.push_back(ReadBytes(WithSeparator(folder) + name));
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::vector<std::string> WaitForStarts(const std::string& folder, size_t count, DWORD timeoutMs) {
    DWORD begin = GetTickCount();
    std::vector<std::string> texts = RecordedStarts(folder);
    while (texts.size() < count && GetTickCount() - begin < timeoutMs) {
        Sleep(50);
        texts = RecordedStarts(folder);
    }
    if (texts.size() < count) return texts;
    Sleep(200);  // so that a start too many shows too
    return RecordedStarts(folder);
}

void ClearRecordedStarts(const std::string& folder) {
    for (const std::string& name : NamesIn(folder, RecordPattern))
        DeleteFileA((WithSeparator(folder) + name).c_str());
}

RecordingProgram::RecordingProgram(const std::string& name, const std::string& subfolder) {
    folder_ = dir_.path();
    if (!subfolder.empty()) {
        folder_ += subfolder + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    path_ = folder_ + name;
    CopyFileA((ExeFolder() + "record_args.exe").c_str(), path_.c_str(), FALSE);
}

}  // namespace testsupport
