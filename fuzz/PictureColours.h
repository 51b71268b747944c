#pragma once
// Whether every pixel of a picture is black or one of the given colours (looked up once for each
// run of equal pixels, in a sorted copy of the colours, so that large pictures check fast).

#include <algorithm>
#include <cstdint>
#include <vector>

namespace drovak::fuzz {

template <class Iterator>
bool AllColoursOf(const std::vector<uint32_t>& pixels, Iterator first, Iterator last) {
    std::vector<uint32_t> colours(first, last);
    colours.push_back(0);
    std::sort(colours.begin(), colours.end());
    uint32_t known = 0; // black, or the last pixel found
    for (uint32_t pixel : pixels) {
        if (pixel == known) continue;
        if (!std::binary_search(colours.begin(), colours.end(), pixel)) return false;
        known = pixel;
    }
    return true;
}

} // namespace drovak::fuzz
