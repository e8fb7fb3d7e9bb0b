#include "spi/sevenzip/FolderDecoder.h"
#include <new>
#include "spi/common/CodecResult.h"
#include "spi/common/RangeInput.h"
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/ByteOrder.h"
#include "spi/common/codecs/Filters.h"

namespace sevenzip {
namespace {

// Method ids, most significant byte first.
enum class Method { Copy, Delta, X86, Bcj2, Arm, Arm64, Lzma, Lzma2, Deflate, Deflate64, Bzip2, Unknown };

Method MethodOf(const std::vector<uint8_t>& id) {
    uint64_t value = 0;
    if (id.size() > 8) return Method::Unknown;
    for (uint8_t byte : id) value = (value << 8) | byte;
    switch (value) {
        case 0x00: return Method::Copy;
        case 0x03: return Method::Delta;
        case 0x04:
        case 0x03030103: return Method::X86;
        case 0x0303011B: return Method::Bcj2;
        case 0x07:
        case 0x03030501: return Method::Arm;
        case 0x0A: return Method::Arm64;
        case 0x030101: return Method::Lzma;
        case 0x21: return Method::Lzma2;
        case 0x040108: return Method::Deflate;
        case 0x040109: return Method::Deflate64;
        case 0x040202: return Method::Bzip2;
        default: return Method::Unknown;  // PPMd, AES and the rest
    }
}

template <class T>
T* Keep(std::vector<std::unique_ptr<T>>* owner, std::unique_ptr<T> object) {
    if (!object) return nullptr;
    owner->push_back(std::move(object));
    return owner->back().get();
}

}  // namespace

int FolderDecoder::Open(ByteSource& source, const Contents& contents, size_t folder) {
    source_ = &source;
    contents_ = &contents;
    folder_ = &contents.folders[folder];
    failure_ = SpiNoMemory;
    output_ = Build(folder_->mainCoder, 0);
    return output_ ? SpiSuccess : failure_;
}

codecs::Decoder* FolderDecoder::Build(uint32_t index, int depth) {
    if (depth > static_cast<int>(folder_->coders.size())) {
        failure_ = SpiBrokenData;
        return nullptr;
    }
    uint32_t firstInput = 0;
    for (uint32_t i = 0; i < index; ++i) firstInput += folder_->coders[i].inputs;
    return MakeCoder(folder_->coders[index], index, firstInput, depth + 1);
}

codecs::ByteInput* FolderDecoder::BytesOf(uint32_t input, int depth) {
    for (size_t i = 0; i < folder_->packedInputs.size(); ++i) {
        if (folder_->packedInputs[i] != input) continue;
        size_t stream = folder_->firstPackStream + i;
        std::unique_ptr<codecs::Input> packed(
            new (std::nothrow) RangeInput(*source_, contents_->packOffsets[stream], contents_->packSizes[stream]));
        codecs::Input* range = Keep(&inputs_, std::move(packed));
        if (!range) return nullptr;
        return Keep(&byteInputs_, std::unique_ptr<codecs::ByteInput>(new (std::nothrow) codecs::ByteInput(*range)));
    }
    for (const Folder::Binding& binding : folder_->bindings) {
        if (binding.input != input) continue;
        codecs::Decoder* producer = Build(binding.output, depth);
        if (!producer) return nullptr;
        codecs::DecoderInput* reader = Keep(&decoderInputs_, std::unique_ptr<codecs::DecoderInput>(
            new (std::nothrow) codecs::DecoderInput(*producer)));
        if (!reader) return nullptr;
        return Keep(&byteInputs_, std::unique_ptr<codecs::ByteInput>(new (std::nothrow) codecs::ByteInput(*reader)));
    }
    failure_ = SpiBrokenData;
    return nullptr;
}

codecs::Decoder* FolderDecoder::DecoderOf(uint32_t input, int depth) {
    for (const Folder::Binding& binding : folder_->bindings)
        if (binding.input == input) return Build(binding.output, depth);
    codecs::ByteInput* bytes = BytesOf(input, depth);  // a packed stream, read as it is
    return bytes ? Keep(&decoders_, codecs::MakeCopyDecoder(*bytes)) : nullptr;
}

codecs::Decoder* FolderDecoder::MakeCoder(const Coder& coder, uint32_t index, uint32_t first, int depth) {
    Method method = MethodOf(coder.method);
    uint64_t size = folder_->unpackSizes[index];
    const std::vector<uint8_t>& properties = coder.properties;
    uint32_t wanted = method == Method::Bcj2 ? 4 : 1;
    if (method == Method::Unknown) {
        failure_ = SpiUnknownFormat;
        return nullptr;
    }
    if (coder.inputs != wanted) {
        failure_ = SpiBrokenData;
        return nullptr;
    }
    bool filter = method == Method::Delta || method == Method::X86 || method == Method::Arm || method == Method::Arm64;
    if (filter) {
        codecs::Decoder* inner = DecoderOf(first, depth);
        if (!inner) return nullptr;
        uint32_t start = properties.size() == 4 ? codecs::ReadLe32(properties.data()) : 0;
        if (method == Method::Delta && properties.size() != 1) {
            failure_ = SpiBrokenData;
            return nullptr;
        }
        switch (method) {
            case Method::Delta: return Keep(&decoders_, codecs::MakeDeltaFilter(*inner, properties[0] + 1u));
            case Method::X86: return Keep(&decoders_, codecs::MakeX86Filter(*inner, start));
            case Method::Arm: return Keep(&decoders_, codecs::MakeArmFilter(*inner, start));
            default: return Keep(&decoders_, codecs::MakeArm64Filter(*inner, start));
        }
    }
    codecs::ByteInput* in = BytesOf(first, depth);
    if (!in) return nullptr;
    switch (method) {
        case Method::Copy: return Keep(&decoders_, codecs::MakeCopyDecoder(*in));
        case Method::Deflate: return Keep(&decoders_, codecs::MakeDeflateDecoder(*in));
        case Method::Deflate64: return Keep(&decoders_, codecs::MakeDeflate64Decoder(*in));
        case Method::Bzip2: return Keep(&decoders_, codecs::MakeBzip2Decoder(*in));
        case Method::Lzma: {
            codecs::LzmaProperties lzma;
            if (properties.size() != 5 || !codecs::ParseLzmaProperties(properties.data(), &lzma)) break;
            return Keep(&decoders_, codecs::MakeLzmaDecoder(*in, lzma, size, false));
        }
        case Method::Lzma2: {
            uint32_t dictionary = 0;
            if (properties.size() != 1 || !codecs::ParseLzma2Dictionary(properties[0], &dictionary)) break;
            return Keep(&decoders_, codecs::MakeLzma2Decoder(*in, dictionary, size));
        }
        case Method::Bcj2: {
            codecs::ByteInput* call = BytesOf(first + 1, depth);
            codecs::ByteInput* jump = call ? BytesOf(first + 2, depth) : nullptr;
            codecs::ByteInput* bits = jump ? BytesOf(first + 3, depth) : nullptr;
            if (!bits) return nullptr;
            return Keep(&decoders_, codecs::MakeBcj2Decoder(*in, *call, *jump, *bits, size));
        }
        default: break;
    }
    failure_ = SpiBrokenData;
    return nullptr;
}

int FolderDecoder::ResultOf(codecs::Status status) const {
    // A coder that reads another's output sees that one's failure as its input ending short:
    // the first coder that failed tells why.
    if (status == codecs::Status::BadData) {
        for (const auto& input : decoderInputs_) {
            codecs::Status inner = input->Outcome();
            if (inner != codecs::Status::Ok && inner != codecs::Status::End && inner != codecs::Status::BadData)
                return SpiResultOf(inner);
        }
    }
    return SpiResultOf(status);
}

int FolderDecoder::Read(uint8_t* out, size_t size, size_t* produced) {
    *produced = 0;
    while (*produced < size) {
        size_t count = 0;
        codecs::Status status = output_->Decode(out + *produced, size - *produced, &count);
        *produced += count;
        if (status == codecs::Status::End) break;
        if (status != codecs::Status::Ok) return ResultOf(status);
    }
    return SpiSuccess;
}

int FolderDecoder::Skip(uint64_t count) {
    uint8_t scratch[1 << 14];
    while (count > 0) {
        size_t piece = count < sizeof scratch ? static_cast<size_t>(count) : sizeof scratch;
        size_t produced = 0;
        int result = Read(scratch, piece, &produced);
        if (result != SpiSuccess) return result;
        if (produced < piece) return SpiBrokenData;
        count -= produced;
    }
    return SpiSuccess;
}

}  // namespace sevenzip
