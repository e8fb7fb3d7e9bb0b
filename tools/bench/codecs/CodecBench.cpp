// Decodes one packed file with one of our decoders, natively, and prints the throughput and
// the CRC-32 of the output (or writes the output to a file for comparison).
//   codec_bench deflate64|bzip2|lzma|xz|zstd PACKED [OUTPUT]
// "lzma" reads the .lzma format (5 property bytes, 8-byte size, raw LZMA); the others are the
// raw streams as ZIP stores them.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include "spi/common/codecs/Checks.h"
#include "spi/common/codecs/Decoder.h"

namespace {

class FileInput : public codecs::Input {
public:
    explicit FileInput(FILE* file) : file_(file) {}
    bool Read(uint8_t* buffer, size_t size, size_t* count) override {
        *count = fread(buffer, 1, size, file_);
        return !ferror(file_);
    }

private:
    FILE* file_;
};

std::unique_ptr<codecs::Decoder> Make(const std::string& method, FILE* file, codecs::ByteInput& input) {
    if (method == "deflate64") return codecs::MakeDeflate64Decoder(input);
    if (method == "bzip2") return codecs::MakeBzip2Decoder(input);
    if (method == "xz") return codecs::MakeXzDecoder(input);
    if (method == "zstd") return codecs::MakeZstdDecoder(input);
    if (method != "lzma") return nullptr;
    uint8_t header[13];
    if (fread(header, 1, sizeof header, file) != sizeof header) return nullptr;
    codecs::LzmaProperties properties;
    if (!codecs::ParseLzmaProperties(header, &properties)) return nullptr;
    uint64_t size = 0;
    for (int i = 0; i < 8; ++i) size |= static_cast<uint64_t>(header[5 + i]) << (8 * i);
    return codecs::MakeLzmaDecoder(input, properties, size, false);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        fprintf(stderr, "usage: codec_bench deflate64|bzip2|lzma|xz|zstd PACKED [OUTPUT]\n");
        return 2;
    }
    FILE* file = fopen(argv[2], "rb");
    FILE* output = argc > 3 ? fopen(argv[3], "wb") : nullptr;
    if (!file || (argc > 3 && !output)) {
        perror("codec_bench");
        return 2;
    }
    FileInput reader(file);
    std::unique_ptr<codecs::ByteInput> input(new codecs::ByteInput(reader));
    auto start = std::chrono::steady_clock::now();
    std::unique_ptr<codecs::Decoder> decoder = Make(argv[1], file, *input);
    if (!decoder) {
        fprintf(stderr, "codec_bench: cannot start %s\n", argv[1]);
        return 2;
    }
    std::vector<uint8_t> buffer(1 << 20);
    uint64_t total = 0;
    uint32_t crc = 0;
    codecs::Status status = codecs::Status::Ok;
    while (status == codecs::Status::Ok) {
        size_t produced = 0;
        status = decoder->Decode(buffer.data(), buffer.size(), &produced);
        crc = codecs::Crc32(crc, buffer.data(), produced);
        if (output) fwrite(buffer.data(), 1, produced, output);
        total += produced;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (output) fclose(output);
    if (status != codecs::Status::End) {
        fprintf(stderr, "codec_bench: %s failed (status %d) after %llu bytes\n", argv[1], static_cast<int>(status),
                static_cast<unsigned long long>(total));
        return 1;
    }
    printf("%s %llu bytes %.3f s %.1f MB/s crc %08x\n", argv[1], static_cast<unsigned long long>(total), seconds,
           total / seconds / 1e6, crc);
    return 0;
}
