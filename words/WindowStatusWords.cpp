#include "words/WindowStatusWords.h"

#include "base/Errors.h"
#include "graphics/TileSheet.h"
#include "words/CommandWords.h"

#include <charconv>

namespace drovak {

std::string LzhEntryText(uint64_t index, uint64_t table) {
    return "entry " + HexText(index) + " of the table at " + HexText(table);
}

std::string RleBlockText(uint64_t offset) {
    return "the block at " + HexText(offset);
}

std::string TilesAndBytesText(uint64_t bytes) {
    return std::to_string(TileCount(bytes)) + " tiles (" + std::to_string(bytes) + " bytes)";
}

std::string DecompressedText(const std::string& what, uint64_t bytes, const std::string& file,
                             bool saved, const std::string& note) {
    return "Decompressed " + what + ": " + std::to_string(bytes) +
           (saved ? " bytes written to " + file + " (" + note + ")."
                  : " bytes shown; " + file + " kept as it was.");
}

std::string PackedBytesNote(uint64_t packed) {
    return std::to_string(packed) + " bytes packed";
}

std::string BytesInRomNote(uint64_t consumed) {
    return std::to_string(consumed) + " bytes in the ROM";
}

std::string PictureTilesNote(const std::string& name, uint64_t pictureTiles, uint64_t keptBytes,
                             bool lengthRecorded) {
    return " " + name + ": " + std::to_string(pictureTiles) + " tiles in the picture, " +
           TilesAndBytesText(keptBytes) + " compressed" +
           (lengthRecorded ? "" : ", as many as the data it replaces") + ".";
}

std::string LzhCompressedText(const std::string& entry, uint64_t oldSize, uint64_t newSize,
                              uint64_t moved, uint64_t decodedSize, uint64_t inputSize) {
    std::string text = " Compressed into " + entry + ": packed size " + std::to_string(oldSize) +
                       " to " + std::to_string(newSize) + " bytes, " + std::to_string(moved) +
                       (moved == 1 ? " entry" : " entries") + " moved.";
    if (decodedSize != inputSize) {
        text += " ";
        text += DecodedSizeStaysText(decodedSize, inputSize, "Its");
    }
    return text;
}

std::string RleCompressedText(const std::string& block, uint64_t packed,
                              std::optional<uint64_t> oldSize) {
    return " Compressed into " + block + ": " + std::to_string(packed) + " bytes, " +
           (oldSize ? "was " + std::to_string(*oldSize) : std::string("no valid block was there")) +
           ".";
}

std::string NothingToShowText(const std::string& file, const std::string& problem) {
    return file + ": nothing to show on this page: " + problem;
}

std::string PreviewNotDrawnNote(const std::string& problem) {
    return " The preview could not be drawn: " + problem;
}

std::string PictureCopiedText(uint64_t width, uint64_t height) {
    return "Picture copied: " + PixelsText(width, height) + ".";
}

std::string PictureSavedText(const std::string& file, uint64_t width, uint64_t height) {
    return "Picture saved as " + file + ": " + PixelsText(width, height) + ".";
}

std::string TitleDrawnText(const std::string& rom, uint64_t width, uint64_t height) {
    return "Title screen background of " + rom + " drawn: " + PixelsText(width, height) + ".";
}

std::string LevelSavedText(const std::string& file, uint64_t width, uint64_t height, uint64_t bytes,
                           double seconds) {
    // One decimal, with a point whatever the user's locale.
    char time[32];
    const auto end = std::to_chars(time, time + sizeof time, seconds, std::chars_format::fixed, 1);
    return file + " saved: " + PixelsText(width, height) + ", " + std::to_string(bytes) +
           " bytes, in " + std::string(time, end.ptr) + " s.";
}

std::string TilesSavedText(uint64_t bytes, const std::string& file, uint64_t paletteOffset,
                           uint64_t columns, const std::string& cell,
                           std::optional<RepeatedValues> repeated) {
    std::string text = TilesAndBytesText(bytes) + " saved as " + file +
                       " with palette line 0 of the palette at " + HexText(paletteOffset) + ", " +
                       std::to_string(columns) +
                       (cell.empty() ? " tiles" : " cells of " + cell + " tiles") +
                       " a row as the preview shows them.";
    if (repeated) {
        text += " Values " + std::to_string(repeated->kept) + " and " +
                std::to_string(repeated->other) + " have one colour: an RGB copy gives back " +
                std::to_string(repeated->kept) + " for both.";
    }
    return text;
}

std::string ChecksumFixedText(const std::string& summary) {
    return "Header checksum fixed: " + summary;
}

std::string PatchAppliedStatus(const std::string& patch, const std::string& summary, bool ips) {
    return patch + " applied: " + summary +
           (ips ? " An IPS patch has no checksums: nothing told whether it was made for this ROM."
                : "");
}

std::string PatchMadeText(const std::string& out, uint64_t size, const std::string& before,
                          const std::string& after) {
    return out + " written: " + std::to_string(size) + " bytes, the patch from " + before + " to " +
           after + ".";
}

std::string ApplyingPatchText(const std::string& patch) {
    return "Applying " + patch;
}

std::string MakingPatchText(const std::string& out) {
    return "Making the patch " + out;
}

std::string ExportingText(const std::string& file) {
    return "Exporting " + file;
}

std::string TaskLineEnd() {
    return "(Esc or Cancel stops it)";
}

std::string TaskRunningText(const std::string& what) {
    return what + "... " + TaskLineEnd();
}

std::string TaskStepText(const std::string& what, uint64_t percent) {
    return what + ": " + std::to_string(percent) + " %... " + TaskLineEnd();
}

std::string TableEntriesTitle(uint64_t table, const std::string& rom) {
    return "Entries of the table at " + HexText(table) + " in " + rom;
}

} // namespace drovak
