#pragma once
// Archives of the kinds our other plug-ins read, told by their first bytes: bytes of one of them
// in front of a ZIP make the ZIP a member of that archive, for that plug-in to list.
#include <cstddef>
#include <cstdint>

namespace zip {

// Whether the file's first bytes begin a TAR (a header whose checksum holds), a gzip, bzip2,
// xz or Zstandard stream, an LHA archive or a 7z archive, as Tar.spi, Lha.spi and 7z.spi test
// them.
bool BeginsOtherArchive(const uint8_t* header, size_t size);

}  // namespace zip
