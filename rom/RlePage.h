#pragma once

#include "base/Stream.h"
#include "rom/RomChange.h"
#include "rom/RomFile.h"

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

// "Decompress": decodes the RLE block at `offset` of a ROM image. Throws
// FileError/RefusedError.
RleExtractResult RleExtractAt(Stream& rom, uint32_t offset);
RleExtractResult RleExtractAt(const RomBytes& rom, uint32_t offset);
// The same from the ROM image at romPath; FileError too when it can't be opened.
RleExtractResult RleExtractAt(const std::string& romPath, uint32_t offset);

// How many bytes the block at the offset decodes to, or nothing when no valid block lies there
// (as a compress measures the old block).
std::optional<uint64_t> RleBlockDataSize(const RomBytes& rom, uint32_t offset);

struct RleInsertPlan {
    uint32_t offset = 0;
    uint64_t fileSize = 0;       // the ROM image's size as planned
    uint64_t newFileSize = 0;    // its size afterwards (larger when the block runs past its end)
    std::vector<uint8_t> packed; // the whole new block, header first
    // Length of the block now at the offset, measured by decoding it; empty when no valid
    // block is there.
    std::optional<uint32_t> oldBlockSize;
    // Asked first: the input is empty, so the block will hold no data.
    bool emptyInput = false;
    // Asked before writing: the new block is longer than the old one, or there is none.
    bool needsConfirmation = false;
    // How many bytes past the old block's end the new one writes over (the whole new block
    // when there is no old block).
    uint32_t bytesBeyondOldBlock = 0;
    // How many of those (within the file) are neither 00 nor FF: data that may be in use.
    uint32_t beyondNotBlank = 0;
    // The new block lies on the header checksum's two bytes: they keep the block's data, and
    // the checksum is not stored.
    bool dataOnChecksum = false;
};

// Encodes the input, checks that the block decodes back to it (padded to a multiple of 4) and
// measures the old block. Pure: reads and writes no file. Throws RomRefusal for an offset at or
// past the end of the image, RefusedError for a new image over MAX_ROM_SIZE, UnsupportedRepeatError
// (a RefusedError whose text is UnsupportedRepeatMessage(...)) when the encoder can't write a run.
RleInsertPlan PlanRleInsert(const RomBytes& rom, const std::vector<uint8_t>& input,
                            uint32_t offset);
// The same with the input read from inputPath (first) and the ROM image from romPath (whole,
// under a shared lock). FileError when either can't be read; a missing ROM is not created.
RleInsertPlan PlanRleInsert(const std::string& romPath, const std::string& inputPath,
                            uint32_t offset);

// The complete new image: the block written at the offset of the image as it is now. Pure.
// RomRefusal when the image's size or the block at the offset is no longer the one measured.
std::vector<uint8_t> ApplyRleInsert(const RleInsertPlan& plan, const RomBytes& rom);
// The same on the ROM image at romPath, replaced whole through ChangeRom (backup, checksum).
RomChange ApplyRleInsert(const RleInsertPlan& plan, const std::string& romPath);

} // namespace drovak
