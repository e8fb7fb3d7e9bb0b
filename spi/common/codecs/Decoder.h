#pragma once
// The decoders our plug-ins share (Deflate and gzip through zlib, Deflate64, bzip2, LZMA, LZMA2,
// xz, BCJ2, LHA's static Huffman methods and, in Filters.h, the filters), behind one streaming interface. Plain C++ without
// Windows calls, so the fuzzers build it natively.
//
// How a plug-in uses it:
//   1. It offers the packed bytes as an `Input` (a reader it writes: a range of the archive
//      file, ...), and wraps it in a `ByteInput`, the buffer every decoder reads through.
//      A filter that undoes a transformation is a Decoder reading another Decoder (see
//      Filters.h), so chains of them need no extra buffers.
//   2. It makes a decoder over that ByteInput (see the Make... functions below). The decoder
//      borrows the ByteInput; both must outlive it.
//   3. It calls Decode(room, size, &produced) as often as it likes, with whatever room it has.
//      Each call unpacks at most `size` bytes into the room and returns; the decoder keeps its
//      whole state (dictionary, pending match, block, checks) between calls, so a container
//      that holds many entries in one packed stream (a solid archive) keeps the decoder and
//      asks for the next entry's bytes later.
//   4. Decode returns End once the stream is complete and every check of it has passed.
//
// Memory is bounded by the dictionary (or block) the stream declares plus fixed buffers;
// nothing buffers a whole entry. The LZMA dictionaries grow with the output, so a stream that
// declares a large dictionary for little data takes little memory; a caller that knows the
// unpacked size passes it, which caps the dictionary at that size.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace codecs {

enum class Status {
    Ok,           // more output may follow
    End,          // the stream is complete and verified; further calls produce nothing
    BadData,      // damaged or truncated stream, or a failed check
    Unsupported,  // a valid stream that uses a feature this library does not decode
    NoMemory,     // the dictionary or a table could not be allocated
    ReadError,    // the Input failed
};

// Where packed bytes come from.
class Input {
public:
    virtual ~Input() = default;
    // Copies up to `size` next bytes into `buffer` and sets *count; a count of 0 means the
    // input has ended. False when the bytes cannot be read.
    virtual bool Read(uint8_t* buffer, size_t size, size_t* count) = 0;
};

// An Input over bytes in memory (borrowed).
class MemoryInput : public Input {
public:
    MemoryInput(const void* data, size_t size) : data_(static_cast<const uint8_t*>(data)), left_(size) {}
    bool Read(uint8_t* buffer, size_t size, size_t* count) override;

private:
    const uint8_t* data_;
    size_t left_;
};

// An Input over another decoder's output (borrowed), for a decoder that reads what another
// one unpacks. The input ends where that decoder ends or fails; Outcome() says which.
class DecoderInput : public Input {
public:
    explicit DecoderInput(class Decoder& decoder) : decoder_(decoder) {}
    bool Read(uint8_t* buffer, size_t size, size_t* count) override;
    Status Outcome() const { return status_; }

private:
    class Decoder& decoder_;
    Status status_ = Status::Ok;
};

// Buffered reading of an Input. Past the end of the input it yields zero bytes and counts
// them, so decoders need no end test on every byte: a decoder that has consumed one of those
// made-up bytes reports the stream as truncated.
class ByteInput {
public:
    explicit ByteInput(Input& input) : input_(input) {}
    ByteInput(const ByteInput&) = delete;
    ByteInput& operator=(const ByteInput&) = delete;

    uint8_t Byte() { return next_ < end_ ? *next_++ : Refill(); }
    // Direct access for bit readers: the bytes buffered now; Skip consumes some of them.
    size_t Available() const { return static_cast<size_t>(end_ - next_); }
    const uint8_t* Peek() const { return next_; }
    void Skip(size_t count) { next_ += count; }
    // Reads up to `size` bytes; fewer only at the end of the input.
    size_t Read(uint8_t* buffer, size_t size);

    uint64_t Consumed() const { return consumed_ + static_cast<uint64_t>(next_ - buffer_); }
    // Zero bytes handed out past the end of the input.
    uint64_t Overrun() const { return overrun_; }
    bool Failed() const { return failed_; }
    // True when no byte is left (reads more if the buffer is empty).
    bool AtEnd();

private:
    uint8_t Refill();
    bool Fill();

    static constexpr size_t BufferSize = 1 << 16;
    Input& input_;
    uint8_t buffer_[BufferSize];
    const uint8_t* next_ = buffer_;
    const uint8_t* end_ = buffer_;
    uint64_t consumed_ = 0;  // bytes of earlier fills
    uint64_t overrun_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

class Decoder {
public:
    virtual ~Decoder() = default;
    // Unpacks up to `size` bytes into `out` and sets *produced. Ok may come with 0 bytes
    // produced only when `size` is 0. After End or an error every call returns the same
    // status again without output.
    virtual Status Decode(uint8_t* out, size_t size, size_t* produced) = 0;
};

constexpr uint64_t UnknownSize = ~0ULL;

// LZMA properties: the literal context bits, literal position bits, position bits and
// dictionary size of a raw LZMA stream.
struct LzmaProperties {
    unsigned lc = 3, lp = 0, pb = 2;
    uint32_t dictionarySize = 1 << 16;
};
// Reads the 5-byte properties (the packed lc/lp/pb byte, then the little-endian dictionary
// size); false when the byte is out of range.
bool ParseLzmaProperties(const uint8_t bytes[5], LzmaProperties* properties);

// Each returns null only when memory runs out. `unpackedSize` may be UnknownSize.
// Stored data: the input as it is, to its end.
std::unique_ptr<Decoder> MakeCopyDecoder(ByteInput& input);
// Deflate (raw, as in ZIP method 8 and 7z), through zlib.
std::unique_ptr<Decoder> MakeDeflateDecoder(ByteInput& input);
// gzip: members one after the other, each checked by its CRC-32 and size, through zlib. What
// follows the last member and is not one ends the data unread.
std::unique_ptr<Decoder> MakeGzipDecoder(ByteInput& input);
// Deflate64 (raw, as in ZIP method 9).
std::unique_ptr<Decoder> MakeDeflate64Decoder(ByteInput& input);
// bzip2 ("BZh" streams; consecutive streams are decoded as one).
std::unique_ptr<Decoder> MakeBzip2Decoder(ByteInput& input);
// Raw LZMA. With a known size the stream ends there; an end marker right behind it is read
// too, and must be there when `endMarker` says so. With an unknown size the stream must end
// with the marker.
std::unique_ptr<Decoder> MakeLzmaDecoder(ByteInput& input, const LzmaProperties& properties,
                                         uint64_t unpackedSize, bool endMarker);
// LZMA2's one property byte (as 7z and xz store it): the dictionary size, 2 or 3 times a power
// of two. False when the byte is out of range.
bool ParseLzma2Dictionary(uint8_t property, uint32_t* dictionarySize);
// Raw LZMA2 chunks with the given dictionary size.
std::unique_ptr<Decoder> MakeLzma2Decoder(ByteInput& input, uint32_t dictionarySize,
                                          uint64_t unpackedSize = UnknownSize);
// LHA's -lh4- to -lh7- (windowBits 12, 13, 15 and 16): exactly `unpackedSize` bytes. Null also
// for another window size.
std::unique_ptr<Decoder> MakeLhaDecoder(ByteInput& input, unsigned windowBits, uint64_t unpackedSize);
// The .xz container: streams, blocks (LZMA2, Delta, the x86, ARM and ARM64 branch converters),
// checks, index and padding.
std::unique_ptr<Decoder> MakeXzDecoder(ByteInput& input);
// BCJ2 (7z): x86 code from its four streams (main, call targets, jump targets, range-coded
// bits), `unpackedSize` bytes of it. The call and jump streams running short is damage; a
// short bit stream reads as zeros and shows in the output's check.
std::unique_ptr<Decoder> MakeBcj2Decoder(ByteInput& main, ByteInput& call, ByteInput& jump, ByteInput& bits,
                                         uint64_t unpackedSize);
// Zstandard: frames one after the other (skippable frames passed over), each checked by its
// content size and checksum where it has them. A frame that needs a dictionary is Unsupported;
// one whose window does not fit the address space (over 2 GB in a 32-bit build) is NoMemory.
std::unique_ptr<Decoder> MakeZstdDecoder(ByteInput& input);

}  // namespace codecs
