#include "words/CommandWords.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "graphics/TileSheet.h"
#include "rom/HeaderChecksum.h"
#include "rom/RomLayout.h"
#include "words/GraphicsProblemWords.h"

#include <cstdio>

namespace drovak {

std::string WrittenText(const std::string& path, const std::string& what,
                        std::optional<uint64_t> size, double seconds) {
    char time[32];
    std::snprintf(time, sizeof time, "%.1f", seconds);
    return path + " written: " + (what.empty() ? "" : what + ", ") +
           (size ? std::to_string(*size) + " bytes, " : "") + "in " + time + " s.";
}

std::string StepText(const std::string& what, uint64_t done, uint64_t total) {
    return what + " " + std::to_string(done) + " of " + std::to_string(total);
}

std::string PlaneWrittenText(const std::string& path, uint64_t written, uint64_t planes) {
    return path + " written (" + std::to_string(written) + " of " + std::to_string(planes) + ")";
}

std::string PicturesText(uint64_t count) {
    return std::to_string(count) + " pictures";
}

std::string PixelsText(uint64_t width, uint64_t height) {
    return std::to_string(width) + " x " + std::to_string(height) + " pixels";
}

std::string OffsetPastEndText(const std::string& path, uint64_t offset, uint64_t fileSize) {
    return path + ": too short: offset " + HexText(offset) +
           " is at or past the end of the file (" + std::to_string(fileSize) + " bytes)";
}

std::string HoldsOtherData() {
    return "already exists and holds other data";
}

std::string HoldsOtherDataText(const std::string& out) {
    return out + ": " + HoldsOtherData() + ". Give --yes to go ahead. Nothing was written.";
}

std::string NothingWrittenLine(const std::string& refusal) {
    return refusal + "; nothing was written";
}

std::string NothingWrittenMessage(const std::string& refusal) {
    return refusal + ". Nothing was written.";
}

std::string DecodedSizeStaysText(uint64_t decodedSize, uint64_t inputSize,
                                 const std::string& subject) {
    return subject + " decoded size stays " + std::to_string(decodedSize) + ": the " +
           std::to_string(inputSize - decodedSize) +
           " bytes past it are what the old data decoded to there.";
}

std::string NoHeaderChecksumReason(uint64_t size) {
    return std::to_string(size) + " bytes hold no header checksum (it lies at " +
           HexText(HEADER_CHECKSUM_OFFSET) + ")";
}

std::string NoHeaderChecksumText(const std::string& rom, uint64_t size) {
    return rom + ": too short: " + NoHeaderChecksumReason(size);
}

std::string ChecksumLine(uint16_t stored, uint16_t computed) {
    return "stored " + ChecksumText(stored) + ", computed " + ChecksumText(computed) +
           (stored == computed ? ": right" : ": wrong");
}

std::string ChecksumRightText(const std::string& rom, std::optional<uint16_t> stored) {
    return rom + ": the header checksum is right" +
           (stored ? " (" + ChecksumText(*stored) + ")" : std::string()) + "; nothing was written.";
}

std::string CellWantedText(const std::string& text) {
    return "--cell " + text + ": give the cell's width and height in tiles, 1 to " +
           std::to_string(MAX_CELL_SIDE) + " each, as in 1x4";
}

std::string TileCountText(uint64_t bytes) {
    return std::to_string(TileCount(bytes)) + " tiles, " + std::to_string(bytes) + " bytes";
}

std::string RepeatedColourNote(const TilePalette& palette, unsigned kept, unsigned other) {
    return "note: " + PaletteText(palette.source) + " has the colour " +
           ColourText(palette.colours[other]) + " for both " + std::to_string(kept) + " and " +
           std::to_string(other) + ": an RGB copy of the picture gives back " +
           std::to_string(kept) + " for both";
}

std::string DroppedPixelNote(uint64_t x, uint64_t y, uint64_t keptBytes) {
    return "note: the pixel at x " + std::to_string(x) + ", y " + std::to_string(y) +
           " lies beyond the " + std::to_string(TileCount(keptBytes)) +
           " tiles kept and is not blank; it is left out";
}

std::string PaletteDiffersNote(const std::string& in, const TilePalette& palette, unsigned value,
                               uint32_t colour) {
    return "note: the palette of " + in + " differs from " + PaletteText(palette.source) + " at " +
           std::to_string(value) + " (" + ColourText(colour) + ", not " +
           ColourText(palette.colours[value]) + "); the picture's values are taken as they are";
}

std::string PatchOverImageReason(const std::string& out, const std::string& image) {
    return out + ": is the ROM image " + image +
           " itself; a patch is never written over its images";
}

std::string SameImageReason(const std::string& original, const std::string& modified, uint32_t crc,
                            uint64_t size) {
    return original + " and " + modified + " are the same image (CRC-32 " + CrcText(crc) + ", " +
           std::to_string(size) + " bytes): a patch would change nothing";
}

std::string PatchOverImageText(const std::string& out, const std::string& image) {
    return NothingWrittenLine(PatchOverImageReason(out, image));
}

std::string SameImageText(const std::string& original, const std::string& modified, uint32_t crc,
                          uint64_t size) {
    return NothingWrittenLine(SameImageReason(original, modified, crc, size));
}

std::string NoIpsPatchText(const std::string& out, const std::string& reason) {
    return out + ": no IPS patch: " + reason + "; nothing was written";
}

std::string PatchCreatedText(const std::string& out, bool ips, uint64_t patchSize,
                             const PatchedImage& from, const PatchedImage& to,
                             const std::string& difference) {
    const auto image = [](const PatchedImage& i) {
        return i.name + " (CRC-32 " + CrcText(i.crc) + ", " + std::to_string(i.size) + " bytes)";
    };
    return out + " written: " + (ips ? "IPS" : "BPS") + " patch of " + std::to_string(patchSize) +
           " bytes from " + image(from) + " to " + image(to) + "; it " + difference + ".";
}

std::string IpsUncheckedText(const std::string& patch, const std::string& rom) {
    return patch + ": an IPS patch has no checksums: nothing tells whether " + rom +
           " is the ROM it was made for, or whether the result is right.";
}

std::string PatchAppliedText(const std::string& out, uint64_t size, uint32_t crc) {
    return out + " written: " + std::to_string(size) + " bytes, CRC-32 " + CrcText(crc) + ".";
}

} // namespace drovak
