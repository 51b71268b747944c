#pragma once

#include "compression/Stream.h"

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

// The chunk classes, the chunk list with its order rule and TPngPicture are declared in the
// png/ headers; see PngPicture.h.

} // namespace drovak
