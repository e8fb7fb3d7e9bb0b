#include "tests/lha/LhaBytes.h"

namespace lhatest {

uint16_t Crc16(const std::string& bytes) {
    uint16_t crc = 0;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : crc >> 1;
    }
    return crc;
}

std::string Le16(uint32_t v) { return std::string{static_cast<char>(v), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(v) + Le16(v >> 16); }

std::string Level0(const std::string& method, const std::string& name, const std::string& packed, uint32_t unpacked,
                   uint16_t crc) {
    std::string body = method + Le32(static_cast<uint32_t>(packed.size())) + Le32(unpacked) + Le32(SomeDosTime) +
                       std::string("\x20\x00", 2) + static_cast<char>(name.size()) + name + Le16(crc);
    uint8_t sum = 0;
    for (unsigned char byte : body) sum = static_cast<uint8_t>(sum + byte);
    return static_cast<char>(body.size()) + std::string(1, static_cast<char>(sum)) + body + packed;
}

std::string Extension(uint8_t type, const std::string& data) { return static_cast<char>(type) + data; }

std::string Level2(const std::string& method, const std::vector<std::string>& extensions, const std::string& packed,
                   uint32_t unpacked, uint16_t crc, uint32_t unixTime) {
    std::string exts;
    for (const std::string& ext : extensions) exts += Le16(static_cast<uint32_t>(ext.size() + 2)) + ext;
    exts += Le16(0);
    std::string tail = method + Le32(static_cast<uint32_t>(packed.size())) + Le32(unpacked) + Le32(unixTime) +
                       std::string("\x20\x02", 2) + Le16(crc) + "U" + exts;
    return Le16(static_cast<uint32_t>(tail.size() + 2)) + tail + packed;
}

std::string Level3(const std::vector<std::string>& extensions, const std::string& packed, uint16_t crc) {
    std::string exts;
    for (const std::string& ext : extensions) exts += Le32(static_cast<uint32_t>(ext.size() + 4)) + ext;
    exts += Le32(0);
    std::string fixed = Le16(4) + "-lh0-" + Le32(static_cast<uint32_t>(packed.size())) +
                        Le32(static_cast<uint32_t>(packed.size())) + Le32(1600000000) + std::string("\x20\x03", 2) +
                        Le16(crc) + "U";
    return fixed + Le32(static_cast<uint32_t>(fixed.size() + 4 + exts.size())) + exts + packed;
}

std::string Stored0(const std::string& name, const std::string& content) {
    return Level0("-lh0-", name, content, static_cast<uint32_t>(content.size()), Crc16(content));
}

std::string Stored2(const std::string& folder, const std::string& file, const std::string& content) {
    std::string stored = folder;
    for (char& c : stored)
        if (c == '/') c = '\xFF';  // LHA's folder separator
    std::vector<std::string> extensions = {Extension(1, file)};
    if (!stored.empty()) extensions.push_back(Extension(2, stored + '\xFF'));
    return Level2("-lh0-", extensions, content, static_cast<uint32_t>(content.size()), Crc16(content));
}

}  // namespace lhatest
