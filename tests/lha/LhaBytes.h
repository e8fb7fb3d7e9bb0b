#pragma once
// LHA members made byte by byte, for archives no Debian tool writes: damaged ones, level 3
// headers, names in UTF-8 as LHa for UNIX stores them in a UTF-8 locale.
#include <cstdint>
#include <string>
#include <vector>

namespace lhatest {

constexpr uint32_t SomeDosTime = 0x4E6E7930;   // 2019-03-14 15:09:32

uint16_t Crc16(const std::string& bytes);
std::string Le16(uint32_t v);
std::string Le32(uint32_t v);

// A level 0 member: header with checksum, then the packed bytes.
std::string Level0(const std::string& method, const std::string& name, const std::string& packed, uint32_t unpacked,
                   uint16_t crc);
// An extended header of a level 2 or 3 member: its type and data.
std::string Extension(uint8_t type, const std::string& data);
// A level 2 member: extended headers (each given as type and data) inside the header size.
std::string Level2(const std::string& method, const std::vector<std::string>& extensions, const std::string& packed,
                   uint32_t unpacked, uint16_t crc, uint32_t unixTime = 1600000000);
// A level 3 member: like level 2, with every size 4 bytes wide; 2 bytes of size width first.
std::string Level3(const std::vector<std::string>& extensions, const std::string& packed, uint16_t crc);
// A level 0 member stored (-lh0-).
std::string Stored0(const std::string& name, const std::string& content);
// A level 2 member stored under `folder` (parts separated by '/', empty for none) and `file`.
std::string Stored2(const std::string& folder, const std::string& file, const std::string& content);

}  // namespace lhatest
