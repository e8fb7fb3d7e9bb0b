// Lha.spi: LHA archives (.lzh) through the Susie archive plug-in interface, from the start of a
// file or from the offset a host names. The exports themselves are those of every plug-in
// built on RecordedArchive (spi/common/ArchiveExports.cpp).
#include "spi/common/ArchiveExports.h"
#include "spi/lha/LhaArchive.h"

using lha::LhaArchive;

namespace {

// The archive file a host reads entry by entry stays open between calls.
ArchiveCache<LhaArchive> lastArchive;

}  // namespace

const char* plugin::InfoText(int infono) {
    switch (infono) {
        case 0: return "00AM";
        case 1: return "LHA 書庫 Plug-in for Varnito 1.0 (lh0/lh4/lh5/lh6/lh7)";
        case 2: return "*.lzh";
        case 3: return "LHA 書庫";
        default: return nullptr;
    }
}

bool plugin::Supports(const wchar_t*, const uint8_t* header, size_t size) { return lha::LooksLikeHeader(header, size); }

// An archive that starts elsewhere than at the file's start is walked for this call alone.
int plugin::OpenArchive(const ArchiveInput& input, std::shared_ptr<RecordedArchive>* archive) {
    if (input.inMemory) return SpiNotImplemented;
    if (input.offset < 0) return SpiReadError;
    if (input.offset == 0) return OpenWholeFile(lastArchive, input, archive);
    auto opened = std::make_shared<LhaArchive>(input.path, static_cast<uint64_t>(input.offset));
    if (!opened->IsOpen()) return SpiReadError;
    *archive = opened;
    return SpiSuccess;
}

void plugin::CloseArchive() { lastArchive.Close(); }
