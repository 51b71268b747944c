#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace drovak::bps {

// Where the longest matches of each position of the modified image may start, found with one
// suffix array of the original followed by the modified image. For a position of the modified
// image, the suffixes nearest to its own in sorted order share the longest prefixes with it:
//   - the nearest suffix of the original above and below it (data that moved), and
//   - the nearest suffix above and below it that starts earlier in the whole (the original, or
//     earlier in the modified image: data that repeats).
// Positions are in the whole: below the original's size they are the original's, above it the
// modified image's plus that size; -1 where there is none.
struct MatchCandidates {
    std::vector<int32_t> sourceBelow, sourceAbove, earlierBelow, earlierAbove;
};

MatchCandidates FindMatchCandidates(std::span<const uint8_t> original,
                                    std::span<const uint8_t> modified);

} // namespace drovak::bps
