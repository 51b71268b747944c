#include "words/PackCommandWords.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "graphics/TileSheet.h"
#include "mod/PackDifferences.h"
#include "words/EmulatorWords.h"
#include "words/ModProblemWords.h"
#include "words/PackWords.h"

namespace drovak {

std::string UnpackedFileLine(const ModFile& file) {
    std::string line = file.name + ": ";
    if (file.kind == ModKind::LzhEntry) {
        line += "entry " + HexText(file.index) + ", " + std::to_string(file.size) +
                " bytes (DecodedSize " + std::to_string(file.decodedSize) + ", PackedSize " +
                std::to_string(file.packedSize) + ")";
    } else {
        line += "RLE block at " + HexText(file.offset) + ", " + std::to_string(file.size) +
                " bytes (" + std::to_string(file.packedSize) + " in the ROM)";
    }
    if (file.sheet) {
        line += "; " + file.sheet->name + ": " + std::to_string(TileCount(file.size)) +
                " tiles, palette line " + std::to_string(file.sheet->layout.paletteLine) +
                " of the palette at " + HexText(file.sheet->layout.paletteOffset);
    }
    return line;
}

std::string SkippedNote(const SkippedFile& skipped) {
    return "note: " + skipped.name + " is not written: " + SkippedText(skipped);
}

std::string UnpackSummary(const Manifest& manifest, const std::string& dir,
                          const UnpackCounts& counts, bool replacedPrevious) {
    return manifest.romName + " (" + std::to_string(manifest.romSize) + " bytes, CRC-32 " +
           CrcText(manifest.romCrc) + ") unpacked into " + dir + ": " +
           std::to_string(counts.entries) + " entries of the table at " + HexText(manifest.table) +
           ", " + std::to_string(counts.blocks) + " RLE blocks, " + std::to_string(counts.sheets) +
           " sheets, " + std::to_string(counts.maps) + " maps, " + std::to_string(counts.palettes) +
           " palettes, " + MANIFEST_NAME +
           (replacedPrevious ? " (the previous unpack written again)" : "");
}

std::string PackAsksText(const std::string& dir, const std::string& questionLines) {
    return dir + ": the pack asks:\n" + questionLines +
           "Give --yes to go ahead. Nothing was written.";
}

std::string PatchIsImageText(const std::string& patch, const std::string& image) {
    return patch + ": is the ROM image " + image + " itself; nothing was written";
}

std::string NothingPackedText(const std::string& dir) {
    return dir + ": no file changed since the unpack";
}

std::string PackPatchLine(const std::string& patch, uint64_t size, const std::string& from,
                          uint32_t fromCrc, const std::string& to, uint32_t toCrc) {
    return patch + " written: a patch of " + std::to_string(size) + " bytes from " + from +
           " (CRC-32 " + CrcText(fromCrc) + ") to " + to + " (CRC-32 " + CrcText(toCrc) + ").";
}

std::string PatchWithoutImageText(const std::string& reason, const std::string& patch,
                                  const std::string& out) {
    return reason + " (" + patch + " was written, a patch to the image " + out +
           " would have held)";
}

std::string ChangedSinceUnpackText(size_t changed) {
    return std::to_string(changed) + (changed == 1 ? " file" : " files") +
           " changed since the unpack; ";
}

std::string NoEmulatorRefusalText(const std::string& rom) {
    return NoEmulatorText(rom) + "; nothing was written";
}

std::string RomWrittenText(const std::string& reason, const std::string& rom) {
    return reason + "; " + rom + " was written";
}

std::string SavedText(const std::string& names) {
    return names.empty() ? "" : names + " saved: ";
}

std::string NotPackedText(const std::string& reason) {
    return "not packed: " + reason;
}

std::string WatchOverBaseText(const std::string& out) {
    return out + ": is the base ROM; pack --watch writes OUT at each save and needs the base as it "
                 "was: give another OUT; nothing was written";
}

std::string WatchingText(const std::string& dir) {
    return "watching " + dir + " (Ctrl+C ends)";
}

std::string StoppedWatchingText(const std::string& dir) {
    return "stopped watching " + dir;
}

std::string PackWouldRefuseText(const std::string& dir, const std::string& reason) {
    return dir + ": pack would refuse: " + reason;
}

namespace {

std::string UnpackOf(const Manifest& manifest) {
    return "the unpack of " + manifest.romName + " (CRC-32 " + CrcText(manifest.romCrc) + ")";
}

} // namespace

std::string NothingChangedText(const std::string& dir, const Manifest& manifest) {
    return dir + ": nothing changed since " + UnpackOf(manifest);
}

std::string FilesChangedText(const std::string& dir, size_t count, const Manifest& manifest) {
    return dir + ": " + std::to_string(count) + (count == 1 ? " file" : " files") +
           " changed since " + UnpackOf(manifest) + ":";
}

std::string StatusChangeText(const PackedChange& change, uint32_t table) {
    return FileNamePart(change.source) + ", " + ContentText(ContentOf(change.file, table)) + ": " +
           PackChangeText(change);
}

std::string StatusQuestionLine(const std::string& question) {
    return "    pack asks: " + question;
}

std::string NoteLine(const std::string& note) {
    return "note: " + note;
}

std::string StatusNoteLine(const std::string& note) {
    return "    " + NoteLine(note);
}

std::string StatusEndText(bool asks) {
    return asks ? "pack would ask the questions above (pack --yes answers them)"
                : "pack would write these changes";
}

} // namespace drovak
