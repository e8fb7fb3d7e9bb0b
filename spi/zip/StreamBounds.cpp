#include "spi/zip/StreamBounds.h"
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/Methods.h"

namespace zip {
namespace {

constexpr uint64_t FourGiB = uint64_t{1} << 32;

// Whether the method's stream marks its own end, so that it can be read past a stated size.
bool EndsByItself(const Entry& entry, codecs::Method method) {
    if (method == codecs::Method::Copy) return false;
    return method != codecs::Method::Lzma || (entry.flags & FlagLzmaEndMarker);
}

uint64_t MostOutput(const Entry& entry, codecs::Method method) {
    uint64_t ratio = codecs::MostOutputPerPackedByte(method);
    return entry.packedSize > UINT64_MAX / ratio ? UINT64_MAX : entry.packedSize * ratio;
}

}  // namespace

void RestoreCutSizes(Entry* entry, uint64_t dataOffset) {
    if (entry->hasZip64Field || entry->nextStart == UnknownNextStart || entry->nextStart < dataOffset) return;
    uint64_t room = entry->nextStart - dataOffset;
    if (entry->flags & FlagDataDescriptor) room = room > DataDescriptorMinSize ? room - DataDescriptorMinSize : 0;
    if (room < entry->packedSize || room - entry->packedSize < FourGiB) return;
    uint64_t cut = (room - entry->packedSize) / FourGiB * FourGiB;
    entry->packedSize += cut;
    if (entry->method == MethodStored) entry->unpackedSize += cut;
}

StreamBounds::StreamBounds(const Entry& entry) : mayBeCut_(false), most_(0), unpacked_(entry.unpackedSize) {
    codecs::Method method;
    if (entry.hasZip64Field || !codecs::ZipMethod(entry.method, &method)) return;
    mayBeCut_ = EndsByItself(entry, method);
    most_ = MostOutput(entry, method);
}

int StreamBounds::PlaceOverflow(OutputSink& sink, uint8_t byte, uint8_t** out) {
    if (!mayBeCut_ || unpacked_ > most_ || most_ - unpacked_ < FourGiB) return SpiBrokenData;
    unpacked_ += FourGiB;
    if (!sink.Grow(unpacked_)) return SpiUnknownFormat;
    size_t room = 0;
    *out = sink.Room(&room);
    if (!*out || room == 0) return SpiInternalError;
    **out = byte;
    return SpiSuccess;
}

}  // namespace zip
