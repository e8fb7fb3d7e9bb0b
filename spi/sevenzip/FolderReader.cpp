#include "spi/sevenzip/FolderReader.h"
#include <atomic>
#include <new>
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/Checks.h"

namespace sevenzip {
namespace {

constexpr size_t ChunkSize = 1 << 20;  // bytes unpacked between progress reports
std::atomic<uint64_t> folderStarts{0};

}  // namespace

uint64_t FolderReader::FolderStarts() { return folderStarts.load(); }

int FolderReader::Restart(ByteSource& source, const Contents& contents, uint32_t folder, Decryption* decryption) {
    decoder_.reset(new (std::nothrow) FolderDecoder);
    if (!decoder_) return SpiNoMemory;
    ++folderStarts;
    folder_ = folder;
    position_ = 0;
    int result = decoder_->Open(source, contents, folder, decryption);
    if (result != SpiSuccess) decoder_.reset();
    return result;
}

int FolderReader::Unpack(ByteSource& source, const Contents& contents, size_t index, OutputSink& sink,
                         ProgressReport* progress, Decryption* decryption) {
    const Entry& entry = contents.entries[index];
    if (!entry.hasStream) return SpiSuccess;
    int result = SpiSuccess;
    if (!decoder_ || folder_ != entry.folder || position_ > entry.offset)
        result = Restart(source, contents, entry.folder, decryption);
    if (result == SpiSuccess && position_ < entry.offset) {
        result = decoder_->Skip(entry.offset - position_);
        position_ = entry.offset;
    }
    if (result == SpiSuccess) result = Copy(entry, sink, progress);
    // Decoders that failed are not worth keeping. A stop, or an entry read whole that fails its
    // CRC, leaves them where they are, ready for the next entry.
    bool positioned = result == SpiAborted || position_ == entry.offset + entry.size;
    if (result != SpiSuccess && !positioned) decoder_.reset();
    return result;
}

int FolderReader::Copy(const Entry& entry, OutputSink& sink, ProgressReport* progress) {
    if (progress && !progress->Continue(0, entry.size)) return SpiAborted;
    uint32_t crc = 0;
    uint64_t done = 0;
    while (done < entry.size) {
        size_t room = 0;
        uint8_t* out = sink.Room(&room);
        if (!out || room == 0) return SpiInternalError;
        uint64_t wanted = entry.size - done;
        size_t piece = static_cast<size_t>(wanted < room ? wanted : room);
        if (piece > ChunkSize) piece = ChunkSize;
        size_t produced = 0;
        int result = decoder_->Read(out, piece, &produced);
        position_ += produced;
        if (result != SpiSuccess) return result;
        if (produced < piece) return SpiBrokenData;  // the folder ends before the entry does
        crc = codecs::Crc32(crc, out, produced);
        if (!sink.Commit(produced)) return SpiInternalError;
        done += produced;
        if (progress && !progress->Continue(done, entry.size)) return SpiAborted;
    }
    return !entry.crcDefined || crc == entry.crc ? SpiSuccess : SpiBrokenData;
}

}  // namespace sevenzip
