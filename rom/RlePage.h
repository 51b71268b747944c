#pragma once

#include "base/Stream.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

// The suggested data-file name of the RLE page: the ROM path's folder part, the offset text as
// typed, ".bin".
std::string SuggestedRleFileName(const std::string& romPath, const std::string& offsetText);

struct RleExtractResult {
    int32_t consumed = 0; // bytes of the block in the ROM, header included
    std::vector<uint8_t> data;
};

// "Decompress": decodes the RLE block at `offset` of an open ROM image. Throws
// FileError/RefusedError.
RleExtractResult RleExtractAt(Stream& rom, uint32_t offset);
// The same from the ROM image at romPath; FileError too when it can't be opened.
RleExtractResult RleExtractAt(const std::string& romPath, uint32_t offset);

struct RleInsertPlan {
    std::string romPath;
    uint32_t offset = 0;
    std::vector<uint8_t> packed; // the whole new block, header first
    // Length of the block now at the offset, measured by decoding it; empty when no valid
    // block is there.
    std::optional<uint32_t> oldBlockSize;
    // Asked before writing: the new block is longer than the old one, or there is none.
    bool needsConfirmation = false;
    // How many bytes past the old block's end the new one writes over (the whole new block
    // when there is no old block).
    uint32_t bytesBeyondOldBlock = 0;
};

// The question asked when needsConfirmation is set.
std::string RleGrowthQuestion(const RleInsertPlan& plan);

// Reads and encodes the input, checks that the block decodes back to the input (padded to a
// multiple of 4), measures the old block. Writes nothing. Throws FileError (the input or the ROM
// can't be read; a missing ROM is not created), or UnsupportedRepeatError (a RefusedError whose
// text is UnsupportedRepeatMessage(...)) when the encoder can't write a run.
RleInsertPlan PlanRleInsert(const std::string& romPath, const std::string& inputPath,
                            uint32_t offset);

// Writes the new block at the offset. FileError if the ROM has disappeared since the plan,
// RefusedError (nothing written) if the block at the offset is no longer the one measured.
void ApplyRleInsert(const RleInsertPlan& plan);

} // namespace drovak
