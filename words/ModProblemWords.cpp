#include "words/ModProblemWords.h"

#include "base/Crc32.h"
#include "base/FileHandle.h"
#include "words/CommandWords.h"
#include "words/FileProblemWords.h"
#include "words/LzhListWords.h"
#include "words/ModReasonWords.h"
#include "words/RomProblemWords.h"

#include <string_view>

namespace drovak {

namespace {

using K = ModProblemKind;

std::string Number(uint64_t value) {
    return std::to_string(value);
}

std::string Joined(const std::vector<std::string>& names, bool quoted) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : " and ") + (quoted ? Quoted(name) : name);
    return text;
}

const char* const NOTHING_WRITTEN = "; nothing was written";
const char* const NO_UNPACK = "; an unpack never writes over what may be an edit, and nothing "
                              "was written";

std::string MapSize(uint64_t width, uint64_t height, uint64_t cellWidth, uint64_t cellHeight) {
    return Number(width) + " x " + Number(height) + " cells of " + Number(cellWidth) + " x " +
           Number(cellHeight) + " pixels";
}

// The words of the kinds of a folder's files, its pack and its unpack.
std::string FolderText(const ModProblem& p) {
    const std::string file = p.file + ": ";
    const std::string line = file + "line " + Number(p.line) + ": ";
    const std::string record = p.record ? ModFileDescription(*p.record) : p.file;
    switch (p.kind) {
    case K::ManifestSyntax:
        return file + "line " + Number(p.line) + ", column " + Number(p.column) + ": " + p.text +
               "; not a manifest drovak-cli unpack wrote";
    case K::ManifestFormat:
        return file + "format " + std::to_string(p.number) +
               "; this drovak-cli reads formats 1 to " + Number(p.limit);
    case K::ManifestUnfinished:
        return file +
               "marked unfinished: the unpack into the folder did not finish; run the same "
               "unpack again to finish it" +
               NOTHING_WRITTEN;
    case K::MapShape:
        return file + "a map of " + MapSize(p.width, p.height, p.cellWidth, p.cellHeight) +
               "; the map the unpack wrote has " +
               MapSize(p.otherWidth, p.otherHeight, p.otherCellWidth, p.otherCellHeight) +
               NOTHING_WRITTEN;
    case K::MapTilesets:
        return file + Number(p.count) + " tilesets; the map the unpack wrote has " +
               Number(p.limit) + ", in that order" + NOTHING_WRITTEN;
    case K::MapLayers:
        return file + "its tile layers are not the unpack's, " + Joined(p.names, true) +
               " (each once)" + NOTHING_WRITTEN;
    case K::MapWithoutBlockData:
        return file + "changed, but " + MANIFEST_NAME +
               " records no block data of its level to put it into" + NOTHING_WRITTEN;
    case K::MapsDisagree:
        return record + ": both " + p.text + " and " + Joined(p.names, false) +
               " changed since the unpack, and they give different block data; keep the edit in "
               "one of them and put the other back as it was" +
               NOTHING_WRITTEN;
    case K::PaletteNotGimp:
        return line + "not \"GIMP Palette\"; not a GIMP palette file" + NOTHING_WRITTEN;
    case K::PaletteNotColour:
        return line + Quoted(p.text) +
               " is not a colour (three numbers 0 to 255, then a name if any)" + NOTHING_WRITTEN;
    case K::PaletteValue:
        return line + std::to_string(p.number) + " is not 0 to 255" + NOTHING_WRITTEN;
    case K::PaletteEmpty:
        return file + "empty; not a GIMP palette file";
    case K::PaletteColourCount:
        return file + "holds " + Number(p.count) + " colours; the palette has " + Number(p.limit) +
               NOTHING_WRITTEN;
    case K::SheetNotPng:
        return file + "not a PNG picture (the sheet of " + record + ")" + NOTHING_WRITTEN;
    case K::BinAndSheetDisagree:
        return record + ": both " + p.record->name + " and " +
               (p.record->sheet ? p.record->sheet->name : "its sheet") +
               " changed since the unpack, and they hold different data; keep the edit in one of "
               "them and put the other back as it was" +
               NOTHING_WRITTEN;
    case K::SheetPalettePastEnd:
        return file + "too short: palette line " + Number(p.line) + " of the palette at " +
               HexText(p.offset) + " ends at " + HexText(p.limit) + ", the file ends at " +
               HexText(p.size);
    case K::PaletteBeyondRom:
        return file + "the palette at " + HexText(p.offset) + " (" + Number(p.count) +
               " colours) ends past the end of the file";
    case K::BaseNotUnpacked:
        return file + "CRC-32 " + CrcText(p.crc) + " (" + Number(p.size) + " bytes), but " +
               p.other + " was unpacked from " + p.text + ", CRC-32 " + CrcText(p.otherCrc) + " (" +
               Number(p.otherSize) + " bytes); give the ROM it was unpacked from" + NOTHING_WRITTEN;
    case K::NoLongerDecodes:
        return p.other + ": after the changes, " + record + " no longer decodes to its file (" +
               (p.cause ? ErrorText(p.cause) : "it decodes to other data") +
               "): a change overwrote it" + NOTHING_WRITTEN;
    case K::PalettePastNewEnd:
        return p.other + ": the palette at " + HexText(p.offset) +
               " ends past the new image's end" + NOTHING_WRITTEN;
    case K::OutputInsideFolder:
        return file + "lies inside " + p.other +
               ", the folder being packed; a pack never writes over the files it reads: give a "
               "path outside it" +
               NOTHING_WRITTEN;
    case K::OutputChanged:
        return file + "changed since it was read" + NOTHING_WRITTEN;
    case K::OutputHoldsOther:
        return file + HoldsOtherData() + NOTHING_WRITTEN;
    case K::TableTooLong:
        return file + "the table at " + HexText(p.offset) + " has " + Number(p.count) +
               " entries; a pack can recalculate at most " + Number(p.limit) + NOTHING_WRITTEN;
    case K::NotUnpackedFile:
        return file + "is " + FileKind(uint32_t(p.number)) + ", not a file of a previous unpack" +
               NO_UNPACK;
    case K::UnpackedFileChanged:
        return file + "changed since the unpack" + NO_UNPACK;
    case K::FolderNotEmpty:
        return file + "not empty, and it holds no " + MANIFEST_NAME + " of a previous unpack" +
               NO_UNPACK;
    case K::ManifestNotFile:
        return file + "is " + FileKind(uint32_t(p.number)) +
               ", not the manifest of a previous unpack" + NO_UNPACK;
    case K::OtherRomUnpacked:
        return file + "holds an unpack of " + p.text + " (CRC-32 " + CrcText(p.crc) + "), not of " +
               p.other + " (CRC-32 " + CrcText(p.otherCrc) + ")" + NO_UNPACK;
    case K::NotOfPreviousUnpack:
        return file + "not a file of the previous unpack" + NO_UNPACK;
    case K::ViewFolderNotFolder:
        return file + "is " + FileKind(uint32_t(p.number)) + ", not a folder" + NO_UNPACK;
    case K::UnpackStopped: {
        // The folder now holds what was written: its cause's "nothing was written" is not true.
        constexpr std::string_view nothing = "nothing was written";
        std::string cause = ErrorText(p.cause);
        for (size_t at; (at = cause.find(nothing)) != std::string::npos;)
            cause.replace(at, nothing.size(), "not written");
        return file + "the unpack stopped before its end (" + cause + "); " + p.file +
               " holds the files written so far and a " + MANIFEST_NAME +
               " marked unfinished: the same command run again finishes it";
    }
    default:
        return file + "refused" + NOTHING_WRITTEN;
    }
}

} // namespace

std::string ModProblemText(const ModProblem& problem) {
    if (std::string reason = ManifestReason(problem); !reason.empty()) {
        return problem.file + ": " + Place(problem) + ": " + reason +
               "; not a manifest drovak-cli unpack wrote";
    }
    if (std::string reason = TmxReason(problem); !reason.empty()) {
        return problem.file + (problem.layer ? ": layer " + Quoted(*problem.layer) : "") + ": " +
               reason;
    }
    if (std::string reason = CellReason(problem); !reason.empty()) {
        return problem.file + ": layer " + Quoted(problem.layer.value_or("")) + ", column " +
               Number(problem.column) + ", row " + Number(problem.row) + ": " + reason +
               NOTHING_WRITTEN;
    }
    return FolderText(problem);
}

std::string SkippedText(const SkippedFile& skipped) {
    return skipped.entryProblem ? EntryProblemText(*skipped.entryProblem)
                                : ErrorText(skipped.error);
}

std::string ModFileDescription(const ModFile& file) {
    return (file.kind == ModKind::LzhEntry ? "entry " + HexText(file.index)
                                           : "the RLE block at " + HexText(file.offset)) +
           " (" + file.name + ")";
}

std::string ErrorText(const std::exception_ptr& error) {
    try {
        if (error) std::rethrow_exception(error);
    } catch (const std::exception& caught) {
        return ErrorText(caught);
    } catch (...) {
    }
    return "unexpected failure";
}

} // namespace drovak
