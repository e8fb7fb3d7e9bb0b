#pragma once
// The SpiResult that stands for a status of the codec library: Ok and End are success,
// Unsupported an unknown format, BadData broken data.
#include "spi/common/SpiResult.h"
#include "spi/common/codecs/Decoder.h"

inline int SpiResultOf(codecs::Status status) {
    switch (status) {
        case codecs::Status::Ok:
        case codecs::Status::End: return SpiSuccess;
        case codecs::Status::Unsupported: return SpiUnknownFormat;
        case codecs::Status::NoMemory: return SpiNoMemory;
        case codecs::Status::ReadError: return SpiReadError;
        case codecs::Status::BadData: break;
    }
    return SpiBrokenData;
}
