// Tar.spi: TAR archives, plain or in gzip, bzip2, xz or Zstandard, and files packed alone by one of those,
// through the Susie archive plug-in interface. The exports themselves are those of every
// plug-in built on RecordedArchive (spi/common/ArchiveExports.cpp).
#include "spi/common/ArchiveExports.h"
#include "spi/tar/TarArchive.h"
#include "spi/tar/TarStream.h"

namespace {

// The archive file a host reads entry by entry stays open between calls.
ArchiveCache<TarArchive> lastArchive;

}  // namespace

const char* plugin::InfoText(int infono) {
    switch (infono) {
        case 0: return "00AM";
        case 1: return "Varnito TAR plug-in 1.0 (tar, gzip, bzip2, xz, zstd)";
        case 2: return "*.tar;*.tgz;*.tar.gz;*.tbz2;*.tar.bz2;*.txz;*.tar.xz;*.tzst;*.tar.zst;*.gz;*.bz2;*.xz;*.zst";
        case 3: return "TAR 書庫";
        default: return nullptr;
    }
}

// A compressed file (TAR inside or not), or a TAR whose first header holds together.
bool plugin::Supports(const wchar_t*, const uint8_t* header, size_t size) { return tar::BeginsTarFile(header, size); }

int plugin::OpenArchive(const ArchiveInput& input, std::shared_ptr<RecordedArchive>* archive) {
    return OpenWholeFile(lastArchive, input, archive);
}

void plugin::CloseArchive() { lastArchive.Close(); }
