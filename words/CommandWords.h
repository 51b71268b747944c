#pragma once

// What drovak-cli's ROM, picture, tile and patch commands say, from their results.

#include "graphics/TilePalette.h"

#include <cstdint>
#include <optional>
#include <string>

namespace drovak {

// "PATH written: WHAT, N bytes, in 0.3 s." (WHAT and the size where there are).
std::string WrittenText(const std::string& path, const std::string& what,
                        std::optional<uint64_t> size, double seconds);
// "WHAT 3 of 10": a step of long work.
std::string StepText(const std::string& what, uint64_t done, uint64_t total);
// "PATH written (3 of 16)": a picture of all the levels' planes.
std::string PlaneWrittenText(const std::string& path, uint64_t written, uint64_t planes);
// "16 pictures", "16384 x 512 pixels".
std::string PicturesText(uint64_t count);
std::string PixelsText(uint64_t width, uint64_t height);

// "PATH: too short: offset 0x90000 is at or past the end of the file (524288 bytes)".
std::string OffsetPastEndText(const std::string& path, uint64_t offset, uint64_t fileSize);
// "already exists and holds other data", the window's question and the terminal's refusal.
std::string HoldsOtherData();
// "OUT: already exists and holds other data. Give --yes to go ahead. Nothing was written."
std::string HoldsOtherDataText(const std::string& out);
// What a refusal left, as the terminal says it ("...; nothing was written") and as the window's
// box says it ("... . Nothing was written.").
std::string NothingWrittenLine(const std::string& refusal);
std::string NothingWrittenMessage(const std::string& refusal);
// After an insert whose entry keeps its decoded size: "The entry's decoded size stays ...", or
// with the window's SUBJECT ("Its").
std::string DecodedSizeStaysText(uint64_t decodedSize, uint64_t inputSize,
                                 const std::string& subject = "The entry's");

// checksum: the ROM has no header; "stored 1A2B, computed 1A2B: right"; nothing to fix.
// "512 bytes hold no header checksum (it lies at 0x18E)".
std::string NoHeaderChecksumReason(uint64_t size);
std::string NoHeaderChecksumText(const std::string& rom, uint64_t size);
std::string ChecksumLine(uint16_t stored, uint16_t computed);
// "ROM: the header checksum is right; nothing was written.", the window's with the checksum
// ("right (1A2B); ...").
std::string ChecksumRightText(const std::string& rom,
                              std::optional<uint16_t> stored = std::nullopt);

// "--cell 0x4: give the cell's width and height in tiles, 1 to 16 each, as in 1x4".
std::string CellWantedText(const std::string& text);
// "70 tiles, 2240 bytes".
std::string TileCountText(uint64_t bytes);
// The notes of tiles-to-png and png-to-tiles.
std::string RepeatedColourNote(const TilePalette& palette, unsigned kept, unsigned other);
std::string DroppedPixelNote(uint64_t x, uint64_t y, uint64_t keptBytes);
std::string PaletteDiffersNote(const std::string& in, const TilePalette& palette, unsigned value,
                               uint32_t colour);

// patch-create and patch-apply; the reasons are shared with the window's boxes.
std::string PatchOverImageReason(const std::string& out, const std::string& image);
std::string SameImageReason(const std::string& original, const std::string& modified, uint32_t crc,
                            uint64_t size);
std::string PatchOverImageText(const std::string& out, const std::string& image);
std::string SameImageText(const std::string& original, const std::string& modified, uint32_t crc,
                          uint64_t size);
std::string NoIpsPatchText(const std::string& out, const std::string& reason);
struct PatchedImage {
    std::string name;
    uint32_t crc = 0;
    uint64_t size = 0;
};
std::string PatchCreatedText(const std::string& out, bool ips, uint64_t patchSize,
                             const PatchedImage& from, const PatchedImage& to,
                             const std::string& difference);
std::string IpsUncheckedText(const std::string& patch, const std::string& rom);
std::string PatchAppliedText(const std::string& out, uint64_t size, uint32_t crc);

} // namespace drovak
