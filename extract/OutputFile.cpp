#include "extract/OutputFile.h"
#include <cstdio>
#include "extract/FileTimes.h"
#include "text/LongPath.h"
#include "text/WidePath.h"

namespace {
// Attributes a replacement takes over from the file it replaces (read-only files are never
// replaced).
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr int TemporaryNameAttempts = 100;
// One WriteFile call takes at most a DWORD's worth; entries of the 64-bit build hold more.
constexpr size_t MaxWriteChunk = 1u << 30;

bool WriteAll(HANDLE file, const char* bytes, size_t size) {
    for (size_t done = 0; done < size;) {
        DWORD chunk = static_cast<DWORD>(size - done < MaxWriteChunk ? size - done : MaxWriteChunk);
        DWORD count = 0;
        if (!WriteFile(file, bytes + done, chunk, &count, nullptr) || count == 0) return false;
        done += count;
    }
    return true;
}

// Writes the bytes, dates the file on the same handle and closes it in every case.
bool FillAndClose(HANDLE file, const char* bytes, size_t size, int64_t timestamp) {
    bool ok = WriteAll(file, bytes, size);
    // A timestamp no file time holds leaves the time of writing, as 0 does.
    FILETIME modified;
    if (ok && timestamp != 0 && TimestampToFileTime(timestamp, &modified))
        ok = SetFileTime(file, nullptr, nullptr, &modified) != FALSE;
    bool closed = CloseHandle(file) != FALSE;
    return ok && closed;
}

// Makes a new, empty temporary file in the folder of path, under a name no file has.
HANDLE CreateTemporaryBeside(const std::wstring& path, DWORD attributes, std::wstring* temporary) {
    std::wstring folder = widepath::Folder(path);
    for (int attempt = 0; attempt < TemporaryNameAttempts; ++attempt) {
        wchar_t name[40];
        swprintf(name, sizeof name / sizeof name[0], L"~vt%lx_%d.tmp", GetCurrentProcessId(), attempt);
        std::wstring candidate = ExtendedPath(folder + name);
        HANDLE file = CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            *temporary = candidate;
            return file;
        }
        DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
}
}  // namespace

OutputFileState LookAtOutput(const std::wstring& path) {
    OutputFileState state;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (path.empty() || !GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data)) return state;
    state.exists = true;
    state.isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    state.attributes = data.dwFileAttributes;
    state.size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    state.modified = data.ftLastWriteTime;
    return state;
}

bool WriteNewFile(const std::wstring& path, const char* bytes, size_t size, int64_t timestamp) {
    std::wstring target = ExtendedPath(path);
    HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (FillAndClose(file, bytes, size, timestamp)) return true;
    // A part of the entry under its name would look like the whole of it (a full disk).
    DeleteFileW(target.c_str());
    return false;
}

bool PutFileInPlace(const std::wstring& finished, const std::wstring& path, const OutputFileState& old,
                    int64_t timestamp) {
    std::wstring source = ExtendedPath(finished);
    FILETIME modified;
    if (timestamp != 0 && TimestampToFileTime(timestamp, &modified)) {
        HANDLE file = CreateFileW(source.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        bool dated = SetFileTime(file, nullptr, nullptr, &modified) != FALSE;
        if (!CloseHandle(file) || !dated) return false;
    }
    DWORD attributes = old.exists ? old.attributes & KeptAttributes : 0;
    if (attributes && !SetFileAttributesW(source.c_str(), attributes)) return false;
    DWORD flags = old.exists ? MOVEFILE_REPLACE_EXISTING : 0;
    return MoveFileExW(source.c_str(), ExtendedPath(path).c_str(), flags) != FALSE;
}

bool ReplaceExistingFile(const std::wstring& path, const OutputFileState& old, const char* bytes, size_t size,
                         int64_t timestamp) {
    DWORD attributes = old.attributes & KeptAttributes;
    std::wstring temporary;
    HANDLE file = CreateTemporaryBeside(path, attributes ? attributes : FILE_ATTRIBUTE_NORMAL, &temporary);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool replaced = FillAndClose(file, bytes, size, timestamp) &&
                    MoveFileExW(temporary.c_str(), ExtendedPath(path).c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
    if (!replaced) DeleteFileW(temporary.c_str());
    return replaced;
}
