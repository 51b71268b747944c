#pragma once

// What the window's status line says of work done: a decompress, an insert, a picture or tiles
// saved, a patch, a task that runs. Sentences that follow another start with a space.

#include <cstdint>
#include <optional>
#include <string>

namespace drovak {

// What a compression page works on: "entry 0x3 of the table at 0x1A000", "the block at 0x9000".
std::string LzhEntryText(uint64_t index, uint64_t table);
std::string RleBlockText(uint64_t offset);
// "32 tiles (1024 bytes)".
std::string TilesAndBytesText(uint64_t bytes);

// "Decompressed WHAT: N bytes written to FILE (NOTE)." or "... bytes shown; FILE kept as it was."
std::string DecompressedText(const std::string& what, uint64_t bytes, const std::string& file,
                             bool saved, const std::string& note);
std::string PackedBytesNote(uint64_t packed);
std::string BytesInRomNote(uint64_t consumed);
// " NAME: 40 tiles in the picture, 32 tiles (1024 bytes) compressed[, as many as ...]."
std::string PictureTilesNote(const std::string& name, uint64_t pictureTiles, uint64_t keptBytes,
                             bool lengthRecorded);
// " Compressed into ENTRY: packed size A to B bytes, N entries moved." and what follows.
std::string LzhCompressedText(const std::string& entry, uint64_t oldSize, uint64_t newSize,
                              uint64_t moved, uint64_t decodedSize, uint64_t inputSize);
// " Compressed into BLOCK: N bytes, was M." (or "no valid block was there").
std::string RleCompressedText(const std::string& block, uint64_t packed,
                              std::optional<uint64_t> oldSize);
// "FILE: nothing to show on this page: PROBLEM".
std::string NothingToShowText(const std::string& file, const std::string& problem);
// " The preview could not be drawn: PROBLEM".
std::string PreviewNotDrawnNote(const std::string& problem);

// The preview's pictures.
std::string PictureCopiedText(uint64_t width, uint64_t height);
std::string PictureSavedText(const std::string& file, uint64_t width, uint64_t height);
std::string TitleDrawnText(const std::string& rom, uint64_t width, uint64_t height);
std::string LevelSavedText(const std::string& file, uint64_t width, uint64_t height, uint64_t bytes,
                           double seconds);
// Tiles saved with line 0 of the palette at PALETTEOFFSET, COLUMNS cells a row (CELL empty for
// single tiles), and the values whose colours are one (REPEATED, KEPT) when there are.
struct RepeatedValues {
    unsigned kept = 0, other = 0;
};
std::string TilesSavedText(uint64_t bytes, const std::string& file, uint64_t paletteOffset,
                           uint64_t columns, const std::string& cell,
                           std::optional<RepeatedValues> repeated);

// The ROM's changes: a fixed checksum, a patch applied or made.
std::string ChecksumFixedText(const std::string& summary);
std::string PatchAppliedStatus(const std::string& patch, const std::string& summary, bool ips);
std::string PatchMadeText(const std::string& out, uint64_t size, const std::string& before,
                          const std::string& after);

// Tasks: what they do, and the status line while one runs.
std::string ApplyingPatchText(const std::string& patch);
std::string MakingPatchText(const std::string& out);
std::string ExportingText(const std::string& file);
std::string TaskRunningText(const std::string& what);
std::string TaskStepText(const std::string& what, uint64_t percent);
// How every line of a running task ends.
std::string TaskLineEnd();

// The title of the list of a table's entries.
std::string TableEntriesTitle(uint64_t table, const std::string& rom);

} // namespace drovak
