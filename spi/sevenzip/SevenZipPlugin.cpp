// 7z.spi: 7z archives through the Susie archive plug-in interface. The exports themselves are
// those of every plug-in built on RecordedArchive (spi/common/ArchiveExports.cpp).
#include "spi/common/ArchiveExports.h"
#include "spi/common/password/ArchivePasswords.h"
#include "spi/sevenzip/Headers.h"
#include "spi/sevenzip/SevenZipArchive.h"

namespace {

// The archive file a host reads entry by entry stays open between calls.
ArchiveCache<SevenZipArchive> lastArchive;

}  // namespace

const char* plugin::InfoText(int infono) {
    switch (infono) {
        case 0: return "00AM";
        case 1: return "Varnito 7z plug-in 1.0 (LZMA, LZMA2, BCJ, BCJ2, ARM64, Deflate, BZip2, AES-256)";
        case 2: return "*.7z";
        case 3: return "7z 書庫";
        default: return nullptr;
    }
}

bool plugin::Supports(const wchar_t*, const uint8_t* header, size_t size) { return sevenzip::HasSignature(header, size); }

int plugin::OpenArchive(const ArchiveInput& input, std::shared_ptr<RecordedArchive>* archive) {
    if (!input.inMemory) password::ArchiveCalled(input.path);
    return OpenWholeFile(lastArchive, input, archive);
}

void plugin::CloseArchive() { lastArchive.Close(); }
