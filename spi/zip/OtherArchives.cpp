#include "spi/zip/OtherArchives.h"
#include "spi/lha/LhaHeader.h"
#include "spi/sevenzip/Headers.h"
#include "spi/tar/TarStream.h"

bool zip::BeginsOtherArchive(const uint8_t* header, size_t size) {
    return tar::BeginsTarFile(header, size) || lha::LooksLikeHeader(header, size) ||
           sevenzip::HasSignature(header, size);
}
