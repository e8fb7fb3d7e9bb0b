#pragma once
// What the headers of a 7z archive say: where the packed streams lie, how each folder (a
// block of coders that unpacks to one stream, holding one or more files back to back) is
// decoded, and the entries. Plain C++, so that the fuzzer builds it.
#include <cstdint>
#include <string>
#include <vector>

namespace sevenzip {

// One coder of a folder. Each coder has one output; its inputs are packed streams or other
// coders' outputs.
struct Coder {
    std::vector<uint8_t> method;      // the method id, most significant byte first
    uint32_t inputs = 1;
    std::vector<uint8_t> properties;
};

struct Folder {
    std::vector<Coder> coders;
    // Which coder output feeds which coder input (inputs and outputs numbered across the
    // folder, outputs as the coders).
    struct Binding {
        uint32_t input, output;
    };
    std::vector<Binding> bindings;
    std::vector<uint32_t> packedInputs;  // the input each of the folder's packed streams feeds
    std::vector<uint64_t> unpackSizes;   // one per coder
    uint32_t mainCoder = 0;              // the coder whose output is the folder's
    bool crcDefined = false;
    uint32_t crc = 0;
    size_t firstPackStream = 0;          // index in Contents::packOffsets
    uint32_t streams = 1;                // files stored in it, one after another

    uint64_t UnpackSize() const { return unpackSizes[mainCoder]; }
    // The coder an input belongs to; its first input's number.
    uint32_t CoderOfInput(uint32_t input, uint32_t* firstInput) const;
};

struct Entry {
    std::u16string name;          // as stored; parts separated by '/' or '\'
    bool hasStream = false;       // false: a folder or an empty file
    bool isFolder = false;
    bool isAnti = false;          // an update's mark that a file was deleted: not an entry
    bool timeDefined = false;
    uint64_t modified = 0;        // FILETIME
    bool attributesDefined = false;
    uint32_t attributes = 0;
    uint64_t size = 0;
    bool crcDefined = false;
    uint32_t crc = 0;
    uint32_t folder = 0;          // for an entry with a stream: its folder,
    uint64_t offset = 0;          // where its bytes start in the folder's output,
    uint32_t indexInFolder = 0;   // and how many entries of the folder come before it
};

struct Contents {
    std::vector<uint64_t> packOffsets, packSizes;  // the packed streams, offsets from the file's start
    std::vector<Folder> folders;
    std::vector<Entry> entries;
};

}  // namespace sevenzip
