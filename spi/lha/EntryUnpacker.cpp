#include "spi/lha/EntryUnpacker.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>
#include "spi/common/CodecResult.h"
#include "spi/common/RangeInput.h"
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/Checks.h"
#include "spi/common/codecs/Decoder.h"

namespace lha {
namespace {

constexpr uint64_t ProgressStep = 256 * 1024;   // bytes between progress reports
constexpr size_t CopyChunk = 64 * 1024;

bool MethodIs(const Header& header, const char* id) { return memcmp(header.method, id, MethodIdLength) == 0; }

bool IsStored(const Header& header) { return MethodIs(header, "-lh0-") || MethodIs(header, "-lz4-"); }

// Window size (in bits) of the static Huffman methods; 0 for any other method.
int WindowBits(const Header& header) {
    if (MethodIs(header, "-lh4-")) return 12;
    if (MethodIs(header, "-lh5-")) return 13;
    if (MethodIs(header, "-lh6-")) return 15;
    if (MethodIs(header, "-lh7-")) return 16;
    return 0;
}

// Passes bytes on to the real sink, keeping the CRC, the count and the progress reports.
class CheckingSink {
public:
    CheckingSink(OutputSink& target, ProgressReport* progress, uint64_t total)
        : target_(target), progress_(progress), total_(total) {}

    bool Write(const uint8_t* data, size_t length) {
        if (length > total_ - written_) return false;   // more than the header promised
        crc_ = codecs::Crc16(crc_, data, length);
        if (!CopyToTarget(data, length)) {
            sinkFailed_ = true;
            return false;
        }
        written_ += length;
        if (written_ - reported_ >= ProgressStep || written_ == total_) return Report();
        return true;
    }

    bool Report() {
        reported_ = written_;
        if (progress_ && !progress_->Continue(written_, total_)) aborted_ = true;
        return !aborted_;
    }

    // The SpiResult for a sink that stopped taking bytes.
    int StopReason() const {
        if (aborted_) return SpiAborted;
        if (sinkFailed_) return SpiInternalError;
        return SpiBrokenData;
    }
    uint16_t crc() const { return crc_; }
    uint64_t written() const { return written_; }

private:
    bool CopyToTarget(const uint8_t* data, size_t length) {
        while (length > 0) {
            size_t room = 0;
            uint8_t* to = target_.Room(&room);
            size_t piece = length < room ? length : room;
            if (!to || piece == 0) return false;
            memcpy(to, data, piece);
            if (!target_.Commit(piece)) return false;
            data += piece;
            length -= piece;
        }
        return true;
    }

    OutputSink& target_;
    ProgressReport* progress_;
    uint64_t total_;
    uint64_t written_ = 0;
    uint64_t reported_ = 0;
    uint16_t crc_ = 0;
    bool aborted_ = false;
    bool sinkFailed_ = false;
};

int CopyStored(ByteSource& source, const Header& header, CheckingSink& sink) {
    if (header.packedSize < header.unpackedSize) return SpiBrokenData;
    std::vector<uint8_t> chunk(std::min<size_t>(CopyChunk, std::max<uint32_t>(header.unpackedSize, 1)));
    uint64_t done = 0;
    while (done < header.unpackedSize) {
        size_t count = static_cast<size_t>(std::min<uint64_t>(chunk.size(), header.unpackedSize - done));
        if (!source.ReadAt(header.dataOffset + done, chunk.data(), count)) return SpiReadError;
        if (!sink.Write(chunk.data(), count)) return sink.StopReason();
        done += count;
    }
    return SpiSuccess;
}

int Decode(ByteSource& source, const Header& header, int windowBits, CheckingSink& sink) {
    RangeInput packed(source, header.dataOffset, header.packedSize);
    std::unique_ptr<codecs::ByteInput> input(new (std::nothrow) codecs::ByteInput(packed));
    if (!input) return SpiNoMemory;
    std::unique_ptr<codecs::Decoder> decoder =
        codecs::MakeLhaDecoder(*input, static_cast<unsigned>(windowBits), header.unpackedSize);
    std::vector<uint8_t> chunk(CopyChunk);
    if (!decoder) return SpiNoMemory;
    for (;;) {
        size_t produced = 0;
        codecs::Status status = decoder->Decode(chunk.data(), chunk.size(), &produced);
        if (produced > 0 && !sink.Write(chunk.data(), produced)) return sink.StopReason();
        if (status == codecs::Status::End) return SpiSuccess;
        if (status != codecs::Status::Ok) return SpiResultOf(status);
    }
}

}  // namespace

bool IsKnownMethod(const Header& header) {
    return header.IsFolder() || header.isLink || IsStored(header) || WindowBits(header) != 0;
}

int UnpackEntry(ByteSource& source, const Header& header, OutputSink& sink, ProgressReport* progress) {
    if (!IsKnownMethod(header)) return SpiUnknownFormat;
    CheckingSink checking(sink, progress, header.IsFolder() ? 0 : header.unpackedSize);
    if (!checking.Report()) return SpiAborted;
    if (header.IsFolder()) return SpiSuccess;

    int result = SpiSuccess;
    if (header.isLink) {
        const auto* target = reinterpret_cast<const uint8_t*>(header.linkTarget.data());
        if (!checking.Write(target, header.linkTarget.size())) result = checking.StopReason();
    } else if (IsStored(header)) {
        result = CopyStored(source, header, checking);
    } else {
        result = Decode(source, header, WindowBits(header), checking);
    }
    if (result != SpiSuccess) return result;
    if (checking.written() != header.unpackedSize || checking.crc() != header.crc) return SpiBrokenData;
    return SpiSuccess;
}

}  // namespace lha
