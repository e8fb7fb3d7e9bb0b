// The 7z header structures: streams info (pack info, folders, substreams) and files info, as
// the 7z format notes describe them.
#include "spi/sevenzip/Headers.h"
#include <algorithm>
#include <cstring>
#include <memory>
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/ByteOrder.h"
#include "spi/common/codecs/Checks.h"
#include "spi/sevenzip/FolderDecoder.h"
#include "spi/sevenzip/PropertyReader.h"

namespace sevenzip {
namespace {

constexpr uint8_t Signature[6] = {'7', 'z', 0xBC, 0xAF, 0x27, 0x1C};
constexpr unsigned MajorVersion = 0;

enum Property : uint64_t {
    End = 0x00, Header = 0x01, ArchiveProperties = 0x02, AdditionalStreamsInfo = 0x03, MainStreamsInfo = 0x04,
    FilesInfo = 0x05, PackInfo = 0x06, UnpackInfo = 0x07, SubStreamsInfo = 0x08, Size = 0x09, Crc = 0x0A,
    FolderList = 0x0B, CodersUnpackSize = 0x0C, NumUnpackStream = 0x0D, EmptyStream = 0x0E, EmptyFile = 0x0F,
    Anti = 0x10, Name = 0x11, ModifiedTime = 0x14, WinAttributes = 0x15, EncodedHeader = 0x17, Dummy = 0x19,
};

constexpr size_t MaxCoders = 32;         // per folder; 7-Zip writes at most 4
constexpr size_t MaxStreams = 64;        // inputs of a folder
constexpr uint64_t MaxHeaderSize = 1u << 30;
constexpr int MaxHeaderPacking = 4;      // a packed header may describe another packed header
constexpr uint32_t FolderAttribute = 0x10;

// A fuzzer built with this mark reaches the parsers behind the headers' CRCs.
#if defined(FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION)
bool ChecksHold(uint32_t, uint32_t) { return true; }
#else
bool ChecksHold(uint32_t computed, uint32_t stored) { return computed == stored; }
#endif

int Bad(PropertyReader& reader) {
    reader.Fail();
    return SpiBrokenData;
}

// Skips to the first property of the given kind; false when the reader meets anything else.
bool Expect(PropertyReader& reader, uint64_t property) { return reader.Number() == property && !reader.Failed(); }

struct Digests {
    std::vector<bool> defined;
    std::vector<uint32_t> values;
};

Digests ReadDigests(PropertyReader& reader, size_t count) {
    Digests digests;
    digests.defined = reader.DefinedBits(count);
    digests.values.assign(count, 0);
    for (size_t i = 0; i < count; ++i)
        if (digests.defined[i]) digests.values[i] = reader.Read32();
    return digests;
}

int ReadPackInfo(PropertyReader& reader, uint64_t fileSize, Contents* contents) {
    uint64_t position = reader.Number();
    size_t count = reader.Count(1);
    if (!Expect(reader, Size)) return Bad(reader);
    uint64_t offset = SignatureHeaderSize + position;
    if (position > fileSize) return Bad(reader);
    for (size_t i = 0; i < count; ++i) {
        uint64_t size = reader.Number();
        if (size > fileSize || offset > fileSize - size) return Bad(reader);
        contents->packOffsets.push_back(offset);
        contents->packSizes.push_back(size);
        offset += size;
    }
    for (uint64_t property = reader.Number(); property != End && !reader.Failed(); property = reader.Number()) {
        if (property != Crc) return Bad(reader);
        ReadDigests(reader, count);  // the entries' own checks are what counts
    }
    return reader.Failed() ? SpiBrokenData : SpiSuccess;
}

int ReadCoder(PropertyReader& reader, Coder* coder) {
    uint8_t flags = reader.Byte();
    if (flags & 0xC0) return SpiUnknownFormat;  // alternative methods: never written
    size_t idSize = flags & 0x0F;
    if (idSize > reader.Left()) return Bad(reader);
    coder->method.assign(reader.Here(), reader.Here() + idSize);
    reader.Skip(idSize);
    if (flags & 0x10) {
        coder->inputs = static_cast<uint32_t>(reader.Count(0, MaxStreams));
        if (reader.Number() != 1) return SpiUnknownFormat;  // coders with several outputs
    }
    if (flags & 0x20) {
        size_t size = reader.Count(1);
        coder->properties.assign(reader.Here(), reader.Here() + size);
        reader.Skip(size);
    }
    return reader.Failed() ? SpiBrokenData : SpiSuccess;
}

// Checks that the coders form one tree: each input fed once, by a packed stream or by one
// other coder's output, and one output (the folder's) feeding nothing.
int CheckWiring(Folder* folder, size_t inputs) {
    size_t coders = folder->coders.size();
    std::vector<int> inputFed(inputs, 0), outputUsed(coders, 0);
    for (const Folder::Binding& binding : folder->bindings) {
        if (binding.input >= inputs || binding.output >= coders) return SpiBrokenData;
        ++inputFed[binding.input];
        ++outputUsed[binding.output];
    }
    for (uint32_t input : folder->packedInputs) {
        if (input >= inputs) return SpiBrokenData;
        ++inputFed[input];
    }
    for (int fed : inputFed)
        if (fed != 1) return SpiBrokenData;
    size_t unused = 0;
    for (size_t i = 0; i < coders; ++i) {
        if (outputUsed[i] > 1) return SpiBrokenData;
        if (outputUsed[i] == 0) {
            folder->mainCoder = static_cast<uint32_t>(i);
            ++unused;
        }
    }
    if (unused != 1) return SpiBrokenData;
    // A coder that feeds itself, through others or directly, would be a loop: walking from
    // the main coder must reach every coder exactly once.
    std::vector<uint32_t> pending{folder->mainCoder};
    std::vector<bool> seen(coders, false);
    size_t reached = 0;
    while (!pending.empty()) {
        uint32_t coder = pending.back();
        pending.pop_back();
        if (seen[coder]) return SpiBrokenData;
        seen[coder] = true;
        ++reached;
        uint32_t first = 0;
        for (const Folder::Binding& binding : folder->bindings)
            if (folder->CoderOfInput(binding.input, &first) == coder) pending.push_back(binding.output);
    }
    return reached == coders ? SpiSuccess : SpiBrokenData;
}

int ReadFolder(PropertyReader& reader, Folder* folder) {
    size_t coders = reader.Count(1, MaxCoders);
    if (coders == 0) return Bad(reader);
    size_t inputs = 0;
    for (size_t i = 0; i < coders; ++i) {
        folder->coders.emplace_back();
        int result = ReadCoder(reader, &folder->coders.back());
        if (result != SpiSuccess) return result;
        inputs += folder->coders.back().inputs;
    }
    if (inputs > MaxStreams || inputs < coders - 1) return Bad(reader);
    for (size_t i = 0; i + 1 < coders; ++i) {
        Folder::Binding binding;
        binding.input = static_cast<uint32_t>(reader.Count(0, MaxStreams));
        binding.output = static_cast<uint32_t>(reader.Count(0, MaxStreams));
        folder->bindings.push_back(binding);
    }
    size_t packed = inputs - (coders - 1);
    if (packed == 1) {
        for (uint32_t input = 0; input < inputs && folder->packedInputs.empty(); ++input) {
            bool bound = false;
            for (const Folder::Binding& binding : folder->bindings) bound = bound || binding.input == input;
            if (!bound) folder->packedInputs.push_back(input);
        }
    } else {
        for (size_t i = 0; i < packed; ++i)
            folder->packedInputs.push_back(static_cast<uint32_t>(reader.Count(0, MaxStreams)));
    }
    if (reader.Failed()) return SpiBrokenData;
    return CheckWiring(folder, inputs);
}

int ReadUnpackInfo(PropertyReader& reader, Contents* contents) {
    if (!Expect(reader, FolderList)) return Bad(reader);
    size_t count = reader.Count(2);
    if (reader.Byte() != 0) return SpiUnknownFormat;  // folders kept elsewhere: never written
    size_t packStream = 0;
    for (size_t i = 0; i < count; ++i) {
        Folder folder;
        int result = ReadFolder(reader, &folder);
        if (result != SpiSuccess) return result;
        folder.firstPackStream = packStream;
        packStream += folder.packedInputs.size();
        if (packStream > contents->packSizes.size()) return Bad(reader);
        contents->folders.push_back(std::move(folder));
    }
    if (!Expect(reader, CodersUnpackSize)) return Bad(reader);
    for (Folder& folder : contents->folders)
        for (size_t i = 0; i < folder.coders.size(); ++i) folder.unpackSizes.push_back(reader.Number());
    for (uint64_t property = reader.Number(); property != End && !reader.Failed(); property = reader.Number()) {
        if (property != Crc) return Bad(reader);
        Digests digests = ReadDigests(reader, count);
        for (size_t i = 0; i < count; ++i) {
            contents->folders[i].crcDefined = digests.defined[i];
            contents->folders[i].crc = digests.values[i];
        }
    }
    return reader.Failed() ? SpiBrokenData : SpiSuccess;
}

// The files stored in the folders (sizes and checks of each), kept as entries that have
// streams but no names yet.
int ReadSubStreamsInfo(PropertyReader& reader, Contents* contents, std::vector<Entry>* streams) {
    uint64_t property = reader.Number();
    if (property == NumUnpackStream) {
        for (Folder& folder : contents->folders)
            folder.streams = static_cast<uint32_t>(reader.Count(0, reader.Left() + 1));
        property = reader.Number();
    }
    // Every stream but a folder's last takes a size of a byte or more.
    const size_t most = reader.Left() + contents->folders.size();
    for (uint32_t f = 0; f < contents->folders.size() && !reader.Failed(); ++f) {
        const Folder& folder = contents->folders[f];
        uint64_t left = folder.UnpackSize();
        for (uint32_t i = 0; i < folder.streams; ++i) {
            Entry entry;
            entry.hasStream = true;
            entry.folder = f;
            entry.indexInFolder = i;
            entry.offset = folder.UnpackSize() - left;
            entry.size = left;
            if (i + 1 < folder.streams && property == Size) {
                entry.size = reader.Number();
                if (entry.size > left) return Bad(reader);
            }
            left -= entry.size;
            if (folder.streams == 1 && folder.crcDefined) {
                entry.crcDefined = true;
                entry.crc = folder.crc;
            }
            if (streams->size() == most) return Bad(reader);
            streams->push_back(entry);
        }
        if (folder.streams > 1 && property != Size) return Bad(reader);  // sizes are missing
    }
    if (property == Size) property = reader.Number();
    // Each digests property covers the streams still without a check; kept as a list, so that a
    // header repeating the property does not walk every stream again each time.
    std::vector<size_t> unchecked;
    for (size_t i = 0; i < streams->size(); ++i)
        if (!(*streams)[i].crcDefined) unchecked.push_back(i);
    for (; property != End && !reader.Failed(); property = reader.Number()) {
        if (property != Crc) return Bad(reader);
        Digests digests = ReadDigests(reader, unchecked.size());
        size_t kept = 0;
        for (size_t next = 0; next < unchecked.size(); ++next) {
            Entry& entry = (*streams)[unchecked[next]];
            entry.crcDefined = digests.defined[next];
            entry.crc = digests.values[next];
            if (!entry.crcDefined) unchecked[kept++] = unchecked[next];
        }
        unchecked.resize(kept);
    }
    return reader.Failed() ? SpiBrokenData : SpiSuccess;
}

int ReadStreamsInfo(PropertyReader& reader, uint64_t fileSize, Contents* contents, std::vector<Entry>* streams) {
    uint64_t property = reader.Number();
    int result = SpiSuccess;
    if (property == PackInfo) {
        result = ReadPackInfo(reader, fileSize, contents);
        property = reader.Number();
    }
    if (result == SpiSuccess && property == UnpackInfo) {
        result = ReadUnpackInfo(reader, contents);
        property = reader.Number();
    }
    if (result == SpiSuccess && property == SubStreamsInfo) {
        result = ReadSubStreamsInfo(reader, contents, streams);
        property = reader.Number();
    } else if (result == SpiSuccess) {
        // Without substreams info, each folder holds one stream.
        uint8_t end = End;
        PropertyReader endOnly(&end, 1);
        result = ReadSubStreamsInfo(endOnly, contents, streams);
    }
    if (result != SpiSuccess) return result;
    if (property != End || reader.Failed()) return Bad(reader);
    return SpiSuccess;
}

// The names: UTF-16LE, each ended by a zero character.
void ReadNames(PropertyReader& reader, std::vector<Entry>* entries) {
    if (reader.Byte() != 0) return reader.Fail();  // names kept elsewhere: never written
    for (Entry& entry : *entries) {
        for (;;) {
            uint16_t low = reader.Byte();
            char16_t c = static_cast<char16_t>(low | (reader.Byte() << 8));
            if (reader.Failed() || c == 0) break;
            entry.name.push_back(c);
        }
    }
}

// A value for some of the entries: which have one, then the values of those that do.
template <class Store>
void ReadDefined(PropertyReader& reader, std::vector<Entry>* entries, Store store) {
    std::vector<bool> defined = reader.DefinedBits(entries->size());
    if (reader.Byte() != 0) return reader.Fail();  // values kept elsewhere: never written
    for (size_t i = 0; i < entries->size(); ++i)
        if (defined[i]) store(reader, &(*entries)[i]);
}

void ReadTimes(PropertyReader& reader, std::vector<Entry>* entries) {
    ReadDefined(reader, entries, [](PropertyReader& values, Entry* entry) {
        entry->timeDefined = true;
        entry->modified = values.Read64();
    });
}

void ReadAttributes(PropertyReader& reader, std::vector<Entry>* entries) {
    ReadDefined(reader, entries, [](PropertyReader& values, Entry* entry) {
        entry->attributesDefined = true;
        entry->attributes = values.Read32();
    });
}

// The entries: those without a stream (folders, empty files) take no stream; the others take
// the streams in folder order.
int ReadFilesInfo(PropertyReader& reader, const std::vector<Entry>& streams, std::vector<Entry>* entries) {
    size_t count = reader.Count(1);
    std::vector<bool> emptyStream(count, false), emptyFile, anti;
    std::vector<Entry> files(count);
    size_t empties = 0;  // counted when the empty streams are read, not for every property
    for (uint64_t property = reader.Number(); property != End && !reader.Failed(); property = reader.Number()) {
        size_t size = reader.Count(1);
        PropertyReader data(reader.Here(), size);
        reader.Skip(size);
        switch (property) {
            case EmptyStream:
                emptyStream = data.Bits(count);
                empties = static_cast<size_t>(std::count(emptyStream.begin(), emptyStream.end(), true));
                break;
            case EmptyFile: emptyFile = data.Bits(empties); break;
            case Anti: anti = data.Bits(empties); break;
            case Name: ReadNames(data, &files); break;
            case ModifiedTime: ReadTimes(data, &files); break;
            case WinAttributes: ReadAttributes(data, &files); break;
            default: break;  // other times, padding, start positions
        }
        if (data.Failed()) return Bad(reader);
    }
    if (reader.Failed()) return SpiBrokenData;
    size_t stream = 0, empty = 0;
    for (size_t i = 0; i < count; ++i) {
        Entry& file = files[i];
        if (emptyStream[i]) {
            bool isFile = empty < emptyFile.size() && emptyFile[empty];
            file.isAnti = empty < anti.size() && anti[empty];
            file.isFolder = !isFile || (file.attributesDefined && (file.attributes & FolderAttribute));
            ++empty;
            continue;
        }
        if (stream == streams.size()) return SpiBrokenData;
        const Entry& source = streams[stream++];
        file.hasStream = true;
        file.size = source.size;
        file.crcDefined = source.crcDefined;
        file.crc = source.crc;
        file.folder = source.folder;
        file.offset = source.offset;
        file.indexInFolder = source.indexInFolder;
    }
    if (stream != streams.size()) return SpiBrokenData;
    *entries = std::move(files);
    return SpiSuccess;
}

int ParseMainHeader(PropertyReader& reader, uint64_t fileSize, Contents* contents) {
    uint64_t property = reader.Number();
    if (property == ArchiveProperties) {
        for (uint64_t kind = reader.Number(); kind != End && !reader.Failed(); kind = reader.Number())
            reader.Skip(reader.Number());
        property = reader.Number();
    }
    if (property == AdditionalStreamsInfo) return SpiUnknownFormat;  // never written
    std::vector<Entry> streams;
    if (property == MainStreamsInfo) {
        int result = ReadStreamsInfo(reader, fileSize, contents, &streams);
        if (result != SpiSuccess) return result;
        property = reader.Number();
    }
    if (property == FilesInfo) {
        int result = ReadFilesInfo(reader, streams, &contents->entries);
        if (result != SpiSuccess) return result;
        property = reader.Number();
    } else if (!streams.empty()) {
        return SpiBrokenData;  // streams without files
    }
    return property == End && !reader.Failed() ? SpiSuccess : SpiBrokenData;
}

// Reads the decoder's `size` bytes of output into `out`, which grows only as the decoder
// fills it: a few packed bytes that claim a huge header reserve no more than they produce.
int ReadGrowing(FolderDecoder& decoder, size_t size, std::vector<uint8_t>* out) {
    constexpr size_t FirstStep = 64 * 1024;
    out->clear();
    while (out->size() < size) {
        size_t have = out->size();
        size_t step = std::min(size - have, std::max(have, FirstStep));
        out->resize(have + step);
        size_t produced = 0;
        int result = decoder.Read(out->data() + have, step, &produced);
        if (result != SpiSuccess) return result;
        out->resize(have + produced);
        if (produced < step) return SpiBrokenData;  // the output ends before its declared size
    }
    return SpiSuccess;
}

// Unpacks the header that an encoded header describes (its one folder) into `header`.
int UnpackHeader(ByteSource& source, PropertyReader& reader, Decryption* decryption, std::vector<uint8_t>* header) {
    Contents packed;
    std::vector<Entry> streams;
    int result = ReadStreamsInfo(reader, source.Size(), &packed, &streams);
    if (result != SpiSuccess) return result;
    if (packed.folders.size() != 1) return SpiBrokenData;
    const Folder& folder = packed.folders[0];
    if (folder.UnpackSize() > MaxHeaderSize) return SpiBrokenData;
    FolderDecoder decoder;
    result = decoder.Open(source, packed, 0, decryption);
    if (result != SpiSuccess) return result;
    result = ReadGrowing(decoder, static_cast<size_t>(folder.UnpackSize()), header);
    if (result != SpiSuccess) return result;
    if (folder.crcDefined && !ChecksHold(codecs::Crc32(0, header->data(), header->size()), folder.crc))
        return SpiBrokenData;
    return SpiSuccess;
}

}  // namespace

uint32_t Folder::CoderOfInput(uint32_t input, uint32_t* firstInput) const {
    uint32_t first = 0;
    for (uint32_t i = 0; i < coders.size(); ++i) {
        if (input < first + coders[i].inputs) {
            *firstInput = first;
            return i;
        }
        first += coders[i].inputs;
    }
    *firstInput = first;
    return static_cast<uint32_t>(coders.size());
}

bool HasSignature(const uint8_t* bytes, size_t size) {
    return size >= sizeof Signature && memcmp(bytes, Signature, sizeof Signature) == 0;
}

int ParseHeader(const uint8_t* data, size_t size, uint64_t fileSize, Contents* contents) {
    PropertyReader reader(data, size);
    if (reader.Number() != Header) return SpiBrokenData;
    return ParseMainHeader(reader, fileSize, contents);
}

int ReadContents(ByteSource& source, Contents* contents, Decryption* decryption) {
    uint8_t start[SignatureHeaderSize];
    if (source.Size() < sizeof start) return SpiUnknownFormat;
    if (!source.ReadAt(0, start, sizeof start)) return SpiReadError;
    if (!HasSignature(start, sizeof start) || start[6] != MajorVersion) return SpiUnknownFormat;
    if (!ChecksHold(codecs::Crc32(0, start + 12, 20), codecs::ReadLe32(start + 8)))
        return SpiBrokenData;
    uint64_t offset = codecs::ReadLe64(start + 12), size = codecs::ReadLe64(start + 20);
    if (size == 0) return SpiSuccess;  // an archive without entries
    // The header lies after the signature header, wholly inside the file.
    if (size > MaxHeaderSize || !source.Contains(SignatureHeaderSize, offset) ||
        !source.Contains(SignatureHeaderSize + offset, size))
        return SpiBrokenData;
    std::vector<uint8_t> header(static_cast<size_t>(size));
    if (!source.ReadAt(SignatureHeaderSize + offset, header.data(), header.size())) return SpiReadError;
    uint32_t headerCrc = codecs::ReadLe32(start + 28);
    if (!ChecksHold(codecs::Crc32(0, header.data(), header.size()), headerCrc)) return SpiBrokenData;

    for (int packing = 0; packing <= MaxHeaderPacking; ++packing) {
        PropertyReader reader(header.data(), header.size());
        uint64_t kind = reader.Number();
        if (kind == Header) return ParseMainHeader(reader, source.Size(), contents);
        if (kind != EncodedHeader) return SpiBrokenData;
        std::vector<uint8_t> unpacked;
        int result = UnpackHeader(source, reader, decryption, &unpacked);
        if (result != SpiSuccess) return result;
        header.swap(unpacked);
    }
    return SpiBrokenData;
}

}  // namespace sevenzip
