#include "spi/zip/EntryExtractor.h"
#include <zlib.h>
#include <algorithm>
#include <vector>
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/ByteOrder.h"
#include "spi/common/codecs/Methods.h"
#include "spi/zip/CodecMethods.h"
#include "spi/zip/StreamBounds.h"

namespace zip {

using codecs::ReadLe16;
using codecs::ReadLe32;

namespace {

constexpr size_t ChunkSize = 1 << 20;  // bytes read or produced between progress reports
constexpr uint64_t ZipCryptoHeaderBytes = 12;
constexpr uint64_t WinZipVerifierBytes = 2;
constexpr uint64_t WinZipCodeBytes = 10;

bool Report(ProgressReport* progress, uint64_t done, uint64_t total) {
    return !progress || progress->Continue(done, total);
}

int CopyStored(ByteSource& source, uint64_t offset, const Entry& entry, OutputSink& sink,
               ProgressReport* progress, uLong* crc) {
    uint64_t done = 0;
    while (done < entry.unpackedSize) {
        size_t room = 0;
        uint8_t* out = sink.Room(&room);
        size_t count = static_cast<size_t>(std::min<uint64_t>({room, ChunkSize, entry.unpackedSize - done}));
        if (!out || count == 0) return SpiInternalError;
        if (!source.ReadAt(offset + done, out, count)) return SpiReadError;
        *crc = crc32(*crc, out, static_cast<uInt>(count));
        if (!sink.Commit(count)) return SpiInternalError;
        done += count;
        if (!Report(progress, done, entry.unpackedSize)) return SpiAborted;
    }
    return SpiSuccess;
}

class Inflater {
public:
    Inflater() { ready_ = inflateInit2(&stream_, -MAX_WBITS) == Z_OK; }
    ~Inflater() {
        if (ready_) inflateEnd(&stream_);
    }
    bool ready() const { return ready_; }
    z_stream& stream() { return stream_; }

private:
    z_stream stream_{};
    bool ready_ = false;
};

int Inflate(ByteSource& source, uint64_t offset, const Entry& entry, OutputSink& sink,
            ProgressReport* progress, uLong* crc) {
    Inflater inflater;
    if (!inflater.ready()) return SpiNoMemory;
    z_stream& stream = inflater.stream();
    StreamBounds bounds(entry);
    std::vector<uint8_t> input(std::min<uint64_t>(ChunkSize, std::max<uint64_t>(entry.packedSize, 1)));
    uint64_t packedRead = 0, done = 0;
    uint8_t overflow = 0;  // output beyond the bound lands here: damage, or a size cut to 32 bits

    for (;;) {
        if (stream.avail_in == 0 && packedRead < entry.packedSize) {
            size_t count = static_cast<size_t>(std::min<uint64_t>(input.size(), entry.packedSize - packedRead));
            if (!source.ReadAt(offset + packedRead, input.data(), count)) return SpiReadError;
            packedRead += count;
            stream.next_in = input.data();
            stream.avail_in = static_cast<uInt>(count);
        }
        uint8_t* out = &overflow;
        size_t room = 1;
        if (done < bounds.Unpacked()) {
            out = sink.Room(&room);
            room = static_cast<size_t>(std::min<uint64_t>({room, ChunkSize, bounds.Unpacked() - done}));
            if (!out || room == 0) return SpiInternalError;
        }
        stream.next_out = out;
        stream.avail_out = static_cast<uInt>(room);
        int status = inflate(&stream, Z_NO_FLUSH);
        size_t produced = room - stream.avail_out;
        if (produced > 0) {
            if (out == &overflow) {
                int result = bounds.PlaceOverflow(sink, overflow, &out);
                if (result != SpiSuccess) return result;
            }
            *crc = crc32(*crc, out, static_cast<uInt>(produced));
            if (!sink.Commit(produced)) return SpiInternalError;
            done += produced;
            if (!Report(progress, done, bounds.Unpacked())) return SpiAborted;
        }
        if (status == Z_STREAM_END) break;
        if (status == Z_MEM_ERROR) return SpiNoMemory;
        if (status != Z_OK && status != Z_BUF_ERROR) return SpiBrokenData;
        // The packed data ends before the stream does.
        if (produced == 0 && stream.avail_in == 0 && packedRead == entry.packedSize) return SpiBrokenData;
    }
    return done == bounds.Unpacked() ? SpiSuccess : SpiBrokenData;
}

// The method and sizes of unencrypted (or decrypted) data.
int CheckMethod(const Entry& entry) {
    if (entry.method == MethodStored)
        return entry.packedSize == entry.unpackedSize ? SpiSuccess : SpiBrokenData;
    codecs::Method method;
    if (!codecs::ZipMethod(entry.method, &method)) return SpiUnknownFormat;
    // A size the packed bytes cannot give is damage; believing it would only reserve memory
    // for nothing.
    if (entry.unpackedSize / codecs::MostOutputPerPackedByte(method) > entry.packedSize) return SpiBrokenData;
    return SpiSuccess;
}

}  // namespace

int ViewDecrypted(const Entry& entry, DecryptedView* view) {
    if (entry.flags & (FlagStrongEncryption | FlagMaskedHeaders)) return SpiUnknownFormat;
    view->entry = entry;
    view->headerBytes = ZipCryptoHeaderBytes;
    view->trailerBytes = 0;
    if (entry.method == MethodWinZipAes) {
        const WinZipAesField& aes = entry.aes;
        if (!aes.present || aes.version < 1 || aes.version > 2 || aes.strength < 1 || aes.strength > 3)
            return SpiUnknownFormat;
        view->entry.method = aes.method;
        view->headerBytes = 4 + 4 * uint64_t{aes.strength} + WinZipVerifierBytes;  // salt of 8, 12 or 16 bytes
        view->trailerBytes = WinZipCodeBytes;
    }
    if (entry.packedSize < view->headerBytes + view->trailerBytes) return SpiBrokenData;
    view->entry.packedSize = entry.packedSize - view->headerBytes - view->trailerBytes;
    return SpiSuccess;
}

int CheckExtractable(const Entry& entry) {
    if (entry.flags & (FlagEncrypted | FlagStrongEncryption | FlagMaskedHeaders)) {
        DecryptedView view;
        int result = ViewDecrypted(entry, &view);
        return result == SpiSuccess ? CheckMethod(view.entry) : result;
    }
    return CheckMethod(entry);
}

int FindEntryData(ByteSource& source, Entry* entry, uint64_t* dataOffset) {
    uint8_t header[LocalHeaderSize];
    if (!source.Contains(entry->localHeaderOffset, sizeof header)) return SpiBrokenData;
    if (!source.ReadAt(entry->localHeaderOffset, header, sizeof header)) return SpiReadError;
    if (ReadLe32(header) != LocalHeaderSignature) return SpiBrokenData;
    uint64_t offset = entry->localHeaderOffset + LocalHeaderSize + ReadLe16(header + 26) + ReadLe16(header + 28);
    RestoreCutSizes(entry, offset);
    if (!source.Contains(offset, entry->packedSize)) return SpiBrokenData;
    *dataOffset = offset;
    return SpiSuccess;
}

int ExtractEntryData(ByteSource& source, uint64_t offset, const Entry& entry, OutputSink& sink,
                     ProgressReport* progress, bool checkCrc) {
    if (!Report(progress, 0, entry.unpackedSize)) return SpiAborted;
    uLong crc = crc32(0L, Z_NULL, 0);
    int result = SpiSuccess;
    if (entry.method == MethodStored) {
        result = CopyStored(source, offset, entry, sink, progress, &crc);
    } else if (entry.packedSize == 0 && entry.unpackedSize == 0) {
        result = SpiSuccess;  // some writers store an empty file as deflated without any data
    } else if (IsCodecMethod(entry.method)) {
        result = DecodeCodecEntry(source, offset, entry, sink, progress, &crc);
    } else {
        result = Inflate(source, offset, entry, sink, progress, &crc);
    }
    if (result != SpiSuccess) return result;
    return !checkCrc || static_cast<uint32_t>(crc) == entry.crc ? SpiSuccess : SpiBrokenData;
}

int ExtractEntry(ByteSource& source, const Entry& entry, OutputSink& sink, ProgressReport* progress) {
    if (entry.flags & FlagEncrypted) return SpiUnknownFormat;
    int result = CheckExtractable(entry);
    Entry found = entry;
    uint64_t offset = 0;
    if (result == SpiSuccess) result = FindEntryData(source, &found, &offset);
    if (result == SpiSuccess) result = CheckExtractable(found);  // with the sizes restored
    if (result != SpiSuccess) return result;
    return ExtractEntryData(source, offset, found, sink, progress, true);
}

}  // namespace zip
