#pragma once
// Whether every pixel of a picture is black or one of the given colours. The colours are the
// renderer's (converted colour words: each of red, green and blue a multiple of 32), so a table of
// the 512 such colours answers for each pixel at once.

#include <array>
#include <cstdint>
#include <vector>

namespace drovak::fuzz {

inline unsigned ColourIndex(uint32_t colour) {
    return (colour >> 5 & 7) | (colour >> 13 & 7) << 3 | (colour >> 21 & 7) << 6;
}

template <class Iterator>
bool AllColoursOf(const std::vector<uint32_t>& pixels, Iterator first, Iterator last) {
    constexpr uint32_t NOT_A_COLOUR = 0xFF1F1F1F; // bits no converted colour word has
    std::array<bool, 512> known{};
    known[0] = true; // black
    for (Iterator colour = first; colour != last; ++colour) {
        if (*colour & NOT_A_COLOUR) return false;
        known[ColourIndex(*colour)] = true;
    }
    for (uint32_t pixel : pixels)
        if ((pixel & NOT_A_COLOUR) || !known[ColourIndex(pixel)]) return false;
    return true;
}

} // namespace drovak::fuzz
