#include "spi/sevenzip/FolderDecoder.h"
#include <new>
#include "spi/common/CodecResult.h"
#include "spi/common/RangeInput.h"
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/Methods.h"

namespace sevenzip {
namespace {

constexpr uint64_t NoMethod = ~0ULL;  // no method has this id

// A coder's method id, its bytes read most significant first; NoMethod for a longer one.
uint64_t IdOf(const std::vector<uint8_t>& id) {
    uint64_t value = 0;
    if (id.size() > 8) return NoMethod;
    for (uint8_t byte : id) value = (value << 8) | byte;
    return value;
}

template <class T>
T* Keep(std::vector<std::unique_ptr<T>>* owner, std::unique_ptr<T> object) {
    if (!object) return nullptr;
    owner->push_back(std::move(object));
    return owner->back().get();
}

}  // namespace

int FolderDecoder::Open(ByteSource& source, const Contents& contents, size_t folder, Decryption* decryption) {
    source_ = &source;
    contents_ = &contents;
    folder_ = &contents.folders[folder];
    decryption_ = decryption;
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

codecs::Decoder* FolderDecoder::MakeDecryptor(const Coder& coder, uint32_t index, uint32_t first, int depth) {
    if (!decryption_ || coder.inputs != 1) {
        failure_ = decryption_ ? SpiBrokenData : SpiUnknownFormat;
        return nullptr;
    }
    codecs::ByteInput* in = BytesOf(first, depth);
    if (!in) return nullptr;
    failure_ = SpiNoMemory;
    return Keep(&decoders_, decryption_->Open(coder.properties, *in, folder_->unpackSizes[index], &failure_));
}

codecs::Decoder* FolderDecoder::MakeCoder(const Coder& coder, uint32_t index, uint32_t first, int depth) {
    const uint64_t id = IdOf(coder.method);
    if (id == AesMethodId) return MakeDecryptor(coder, index, first, depth);
    codecs::Method method;
    if (!codecs::SevenZipMethod(id, &method)) {
        failure_ = SpiUnknownFormat;
        return nullptr;
    }
    codecs::MethodInput reads = codecs::InputOf(method);
    codecs::MethodProperties properties;
    if (coder.inputs != (reads == codecs::MethodInput::FourStreams ? 4u : 1u) ||
        !codecs::ParseMethodProperties(method, coder.properties.data(), coder.properties.size(), &properties)) {
        failure_ = SpiBrokenData;
        return nullptr;
    }
    uint64_t size = folder_->unpackSizes[index];
    if (reads == codecs::MethodInput::Filter) {
        codecs::Decoder* inner = DecoderOf(first, depth);
        return inner ? Keep(&decoders_, codecs::MakeMethodFilter(method, properties, *inner)) : nullptr;
    }
    codecs::ByteInput* in = BytesOf(first, depth);
    if (!in) return nullptr;
    if (reads == codecs::MethodInput::Packed)
        return Keep(&decoders_, codecs::MakeMethodDecoder(method, properties, *in, size));
    codecs::ByteInput* call = BytesOf(first + 1, depth);
    codecs::ByteInput* jump = call ? BytesOf(first + 2, depth) : nullptr;
    codecs::ByteInput* bits = jump ? BytesOf(first + 3, depth) : nullptr;
    return bits ? Keep(&decoders_, codecs::MakeBcj2Decoder(*in, *call, *jump, *bits, size)) : nullptr;
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
