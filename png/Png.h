#pragma once

#include "base/Stream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace drovak {

// The five PNG filter types, as bits of a filter set.
enum TPngFilter : uint8_t {
    pfNone = 1 << 0,
    pfSub = 1 << 1,
    pfUp = 1 << 2,
    pfAverage = 1 << 3,
    pfPaeth = 1 << 4,
};
using TPngFilterSet = uint8_t;

// The filter-type byte written in front of each row; bit t of a filter set stands for type t.
enum TPngFilterType : uint8_t {
    ftNone = 0,
    ftSub = 1,
    ftUp = 2,
    ftAverage = 3,
    ftPaeth = 4,
};
constexpr unsigned PNG_FILTER_TYPE_COUNT = 5;

// PNG colour types.
constexpr uint8_t PNG_COLOUR_GREY = 0;
constexpr uint8_t PNG_COLOUR_RGB = 2;
constexpr uint8_t PNG_COLOUR_PALETTE = 3;
constexpr uint8_t PNG_COLOUR_GREY_ALPHA = 4;
constexpr uint8_t PNG_COLOUR_RGB_ALPHA = 6;

constexpr uint8_t PNG_SIGNATURE[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr uint32_t PNG_DEFAULT_IDAT_SIZE = 65535;
// The largest chunk data length a PNG file may carry.
constexpr uint32_t PNG_MAX_CHUNK_LENGTH = 0x7FFFFFFF;

// The chunk classes, the chunk list with its order rule and TPngPicture are declared in the
// png/ headers; see PngPicture.h.

} // namespace drovak
