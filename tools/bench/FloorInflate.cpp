// The least a one-thread ZIP extractor pays under Wine: wine-floor.c's file writing, with each
// entry first read from the archive and inflated by our plug-ins' own Deflate decoder and
// checked by its CRC-32 (no extractor may skip the check). Nothing else: no plug-in, no
// window, no message loop, no checks of names or of the archive. Its rate is the ceiling for
// Varnito's small files.
//
//   floor_inflate_bench.exe ARCHIVE LIST OUTPUT_FOLDER
// LIST has one line per entry, in archive order: "DATA_OFFSET PACKED SIZE CRC relative\path"
// (decimal; CRC in hex; the method is Deflate).
#include <windows.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include "spi/common/codecs/Checks.h"
#include "spi/common/codecs/Decoder.h"

namespace {

// The packed bytes of one entry, read from the archive handle at its current position.
class HandleRange : public codecs::Input {
public:
    HandleRange(HANDLE file, uint64_t size) : file_(file), left_(size) {}
    bool Read(uint8_t* buffer, size_t size, size_t* count) override {
        DWORD want = static_cast<DWORD>(size < left_ ? size : left_), got = 0;
        if (want > 0 && !ReadFile(file_, buffer, want, &got, nullptr)) return false;
        left_ -= got;
        *count = got;
        return true;
    }

private:
    HANDLE file_;
    uint64_t left_;
};

// Makes every folder of the path's folder part that the previous path did not have.
void MakeFolders(const char* path, std::string& lastFolder) {
    const char* end = strrchr(path, '\\');
    size_t length = end ? static_cast<size_t>(end - path) : 0;
    if (length < 3) return;  // "X:\name": the drive's root is there
    std::string folder(path, length);
    if (folder == lastFolder) return;
    for (size_t cut = folder.find('\\', 3);; cut = folder.find('\\', cut + 1)) {
        std::string part = folder.substr(0, cut);
        if (GetFileAttributesA(part.c_str()) == INVALID_FILE_ATTRIBUTES) CreateDirectoryA(part.c_str(), nullptr);
        if (cut == std::string::npos) break;
    }
    lastFolder = folder;
}

// Reads and inflates one entry into `content`; false when it is damaged or fails its check.
bool Inflate(HANDLE archive, uint64_t offset, uint64_t packed, unsigned long crc, std::vector<uint8_t>& content) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(archive, at, nullptr, FILE_BEGIN)) return false;
    HandleRange range(archive, packed);
    codecs::ByteInput input(range);
    auto decoder = codecs::MakeDeflateDecoder(input);
    size_t produced = 0;
    if (!decoder || decoder->Decode(content.data(), content.size(), &produced) == codecs::Status::BadData) return false;
    if (produced != content.size()) return false;
    uint8_t past = 0;
    size_t more = 0;
    if (decoder->Decode(&past, 1, &more) != codecs::Status::End) return false;
    return codecs::Crc32(0, content.data(), content.size()) == crc;
}

bool WriteEntry(const char* path, const std::vector<uint8_t>& content, const FILETIME& time) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = content.empty() ||
              (WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) && written == content.size());
    SetFileTime(file, nullptr, nullptr, &time);
    CloseHandle(file);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: floor_inflate_bench ARCHIVE LIST OUTPUT_FOLDER\n");
        return 2;
    }
    HANDLE archive = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILE* list = fopen(argv[2], "r");
    if (archive == INVALID_HANDLE_VALUE || !list) return 1;
    std::string lastFolder;
    std::vector<uint8_t> content;
    FILETIME time;
    GetSystemTimeAsFileTime(&time);
    unsigned long long offset = 0, packed = 0, size = 0;
    unsigned long crc = 0;
    char name[MAX_PATH];
    while (fscanf(list, "%llu %llu %llu %lx %259[^\n]", &offset, &packed, &size, &crc, name) == 5) {
        char path[MAX_PATH];
        snprintf(path, sizeof path, "%s\\%s", argv[3], name);
        MakeFolders(path, lastFolder);
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) continue;
        content.resize(size);
        if (!Inflate(archive, offset, packed, crc, content) || !WriteEntry(path, content, time)) {
            fprintf(stderr, "floor_inflate_bench: %s failed\n", name);
            return 1;
        }
    }
    fclose(list);
    CloseHandle(archive);
    return 0;
}
