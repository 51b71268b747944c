#include "patch/ImageDifference.h"

#include <algorithm>

namespace drovak {

ImageDifference CompareImages(std::span<const uint8_t> before, std::span<const uint8_t> after) {
    ImageDifference difference;
    difference.sizeBefore = before.size();
    difference.sizeAfter = after.size();
    const size_t common = std::min(before.size(), after.size());
    bool inStretch = false;
    for (size_t k = 0; k < common; ++k) {
        const bool differs = before[k] != after[k];
        if (differs) {
            if (difference.bytes == 0) difference.first = k;
            difference.last = k;
            ++difference.bytes;
            if (!inStretch) ++difference.stretches;
        }
        inStretch = differs;
    }
    return difference;
}

} // namespace drovak
