// Zip.spi: ZIP archives through the Susie archive plug-in interface, from a file or, for a
// listing, from memory. The exports themselves are those of every plug-in built on
// RecordedArchive (spi/common/ArchiveExports.cpp).
#include <zlib.h>
#include <cstring>
#include <new>
#include "spi/common/ArchiveExports.h"
#include "spi/common/JoinedPieces.h"
#include "spi/common/password/ArchivePasswords.h"
#include "spi/zip/CentralDirectory.h"
#include "spi/zip/OtherArchives.h"
#include "spi/zip/ZipArchive.h"

namespace {

// The archive file a host reads entry by entry stays open between calls.
ArchiveCache<ZipArchive> lastArchive;

bool StartsWith(const uint8_t* bytes, const char* signature, size_t length) {
    return memcmp(bytes, signature, length) == 0;
}

// A local file header, an empty archive's end record, or a split-archive marker in front of a
// local file header.
bool LooksLikeZip(const uint8_t* header) {
    return StartsWith(header, "PK\x03\x04", 4) || StartsWith(header, "PK\x05\x06", 4) ||
           StartsWith(header, "PK\x07\x08PK\x03\x04", 8) || StartsWith(header, "PK00PK\x03\x04", 8);
}

}  // namespace

const char* plugin::InfoText(int infono) {
    switch (infono) {
        case 0: return "00AM";
        case 1: return "Varnito ZIP plug-in 1.0 (zlib " ZLIB_VERSION ")";
        case 2: return "*.zip";
        case 3: return "ZIP 書庫";
        default: return nullptr;
    }
}

// Bytes in front of the archive: the end of the file decides (see HoldsArchive), and bytes that
// begin an archive of another kind make the ZIP that archive's member.
bool plugin::Supports(const wchar_t* path, const uint8_t* header, size_t size) {
    if (LooksLikeZip(header)) return true;
    if (!path) return false;
    try {
        JoinedPieces file(path);
        return file.IsOpen() && zip::HoldsArchive(file, !zip::BeginsOtherArchive(header, size), zip::DisksOf(file));
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The end record locates everything, so the whole file is read whatever offset the archive
// starts at. An archive in memory is read for this call alone.
int plugin::OpenArchive(const ArchiveInput& input, std::shared_ptr<RecordedArchive>* archive) {
    if (!input.inMemory) password::ArchiveCalled(input.path);
    if (!input.inMemory) return OpenWholeFile(lastArchive, ArchiveInput{input.path, nullptr, 0, false}, archive);
    if (!input.bytes || input.offset < 0) return input.bytes ? SpiBrokenData : SpiReadError;
    *archive = std::make_shared<ZipArchive>(input.bytes, static_cast<size_t>(input.offset));
    return SpiSuccess;
}

void plugin::CloseArchive() { lastArchive.Close(); }
