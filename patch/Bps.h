#pragma once

#include "base/Progress.h"
#include "patch/PatchResult.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace drovak {

// A BPS patch: "BPS1", the source's, the target's and the metadata's sizes and the metadata,
// the actions that build the target, then the CRC-32s of the source, of the target and of the
// patch before its last four bytes (little-endian).

// The patch that turns `original` into `modified`: unchanged data is read in place, data found
// elsewhere in the original (moved) or earlier in the modified image (repeated) is copied from
// there, the rest is carried literally. Long matches are found with a suffix array of both.
// RefusedError when either is larger than MAX_PATCH_TARGET_SIZE. `progress` hears how far the
// walk over the modified image has come (bytes of it); a cancel ends the work with CancelledError.
std::vector<uint8_t> CreateBpsPatch(std::span<const uint8_t> original,
                                    std::span<const uint8_t> modified, Progress& progress);
std::vector<uint8_t> CreateBpsPatch(std::span<const uint8_t> original,
                                    std::span<const uint8_t> modified);

// The same patch with `metadata` as its metadata (in place of what it had) and its own
// checksum made anew. RefusedError for a patch whose header can't be read.
std::vector<uint8_t> WithBpsMetadata(std::span<const uint8_t> patch, std::string_view metadata);

// Applies a BPS patch to `source`. Everything is checked before the result is given: the
// patch's own checksum, the source's size and checksum, every action's bounds, the target's
// size (at most MAX_PATCH_TARGET_SIZE) and checksum. A refusal carries its numbers.
PatchResult ApplyBpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch);

// Whether the bytes start as a BPS patch does.
bool LooksLikeBps(std::span<const uint8_t> patch);

} // namespace drovak
