#pragma once

// What drovak-cli's unpack, pack, pack --watch and status say, from their results.

#include "mod/Manifest.h"
#include "mod/Pack.h"
#include "mod/Unpack.h"

#include <cstdint>
#include <string>

namespace drovak {

// "20000_3.bin: entry 0x3, 57344 bytes (DecodedSize 57344, PackedSize 2716)", with its sheet.
std::string UnpackedFileLine(const ModFile& file);
// "note: NAME is not written: WHY".
std::string SkippedNote(const SkippedFile& skipped);
// How many files of each kind an unpack wrote.
struct UnpackCounts {
    size_t entries = 0, blocks = 0, sheets = 0, maps = 0, palettes = 0;
};
// "demo.bin (524288 bytes, CRC-32 3F883F79) unpacked into mod: 32 entries of ...".
std::string UnpackSummary(const Manifest& manifest, const std::string& dir,
                          const UnpackCounts& counts, bool replacedPrevious);

// "DIR: the pack asks:\n" then the question lines, and how to answer.
std::string PackAsksText(const std::string& dir, const std::string& questionLines);
// "PATCH: is the ROM image IMAGE itself; nothing was written".
std::string PatchIsImageText(const std::string& patch, const std::string& image);
// "DIR: no file changed since the unpack".
std::string NothingPackedText(const std::string& dir);
// "PATCH written: a patch of N bytes from ROM (CRC-32 X) to OUT (CRC-32 Y).".
std::string PackPatchLine(const std::string& patch, uint64_t size, const std::string& from,
                          uint32_t fromCrc, const std::string& to, uint32_t toCrc);
// A failure to write OUT after the patch was written: the reason, and that the patch is there.
std::string PatchWithoutImageText(const std::string& reason, const std::string& patch,
                                  const std::string& out);
// "3 files changed since the unpack; " before a watch's pack line.
std::string ChangedSinceUnpackText(size_t changed);
// No emulator to start: refused before anything is written.
std::string NoEmulatorRefusalText(const std::string& rom);
// The emulator did not start: the reason, and that ROM was written.
std::string RomWrittenText(const std::string& reason, const std::string& rom);

// "a.png, b.png saved: " (empty without names), "not packed: WHY".
std::string SavedText(const std::string& names);
std::string NotPackedText(const std::string& reason);
// "OUT: is the base ROM; pack --watch ...; nothing was written".
std::string WatchOverBaseText(const std::string& out);
std::string WatchingText(const std::string& dir);
std::string StoppedWatchingText(const std::string& dir);

// status: "DIR: pack would refuse: WHY".
std::string PackWouldRefuseText(const std::string& dir, const std::string& reason);
// "DIR: nothing changed since the unpack of ROM (CRC-32 X)", "DIR: 2 files changed since ...:".
std::string NothingChangedText(const std::string& dir, const Manifest& manifest);
std::string FilesChangedText(const std::string& dir, size_t count, const Manifest& manifest);
// "20000_A.png, tile art of level 3: entry 0xA packed 1079 -> 1647 bytes; ...".
std::string StatusChangeText(const PackedChange& change, uint32_t table);
// "note: NOTE".
std::string NoteLine(const std::string& note);
// "    pack asks: QUESTION", "    note: NOTE".
std::string StatusQuestionLine(const std::string& question);
std::string StatusNoteLine(const std::string& note);
// The last line: whether pack would ask or write.
std::string StatusEndText(bool asks);

} // namespace drovak
