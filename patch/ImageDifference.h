#pragma once

#include <cstdint>
#include <span>

namespace drovak {

// How two images differ: the bytes that differ within the shorter one's length, the stretches
// they form, where the first and last lie, and the sizes.
struct ImageDifference {
    uint64_t bytes = 0, stretches = 0, first = 0, last = 0;
    uint64_t sizeBefore = 0, sizeAfter = 0;
    bool Same() const { return bytes == 0 && sizeBefore == sizeAfter; }
};

ImageDifference CompareImages(std::span<const uint8_t> before, std::span<const uint8_t> after);

} // namespace drovak
