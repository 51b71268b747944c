#include "words/RomProblemWords.h"

#include "base/FileHandle.h"
#include "compression/Rle.h"
#include "words/CodecProblemWords.h"
#include "words/FileProblemWords.h"
#include "words/GraphicsProblemWords.h"
#include "words/ModProblemWords.h"
#include "words/PatchRefusalWords.h"
#include "words/PngProblemWords.h"

namespace drovak {

namespace {

const char* const FIELD_NAMES[] = {"DataOffset", "DecodedSize", "PackedSize"};
const char* const NOTHING_WRITTEN = "; nothing was written";

std::string EntryName(uint32_t table, uint32_t index) {
    return "entry " + HexText(index) + " of the table at " + HexText(table);
}

std::string PieceName(uint32_t table, const DataPiece& piece) {
    const std::string entry = EntryName(table, piece.index);
    switch (piece.kind) {
    case PieceKind::NewData:
        return "the new data of " + entry;
    case PieceKind::NewFields:
        return "the new fields of " + entry + " and the entries after it";
    case PieceKind::TableFields:
        return "the table's fields";
    case PieceKind::MovedData:
        return "the moved data of " + entry;
    case PieceKind::StayingData:
        return "the data of " + entry + ", which stays where it is";
    }
    return entry;
}

// "but the file ends at 0x80000 (524288 bytes)"
std::string FileEnd(const RomProblem& p) {
    return ", but the file ends at " + HexText(p.fileSize) + " (" + std::to_string(p.fileSize) +
           " bytes)";
}

std::string Reason(const RomProblem& p) {
    using K = RomProblemKind;
    switch (p.kind) {
    case K::FieldPastEnd:
        return "too short for the table at " + HexText(p.table) + ": the " +
               FIELD_NAMES[p.field % 3] + " of entry " + HexText(p.index) + " lies at " +
               HexText(p.at) + FileEnd(p);
    case K::TableRunsPastEnd:
        return "too short for the table at " + HexText(p.table) + ": its " +
               std::to_string(p.count) + " entries run to " + HexText(p.at) + FileEnd(p);
    case K::EntryDataPastEnd:
        return "too short: the data of " + EntryName(p.table, p.index) + " (" +
               std::to_string(p.size) + " bytes at " + HexText(p.at) +
               ") runs past the end of the file at " + HexText(p.fileSize) + NOTHING_WRITTEN;
    case K::EntryBeyondTable:
        return "entry " + HexText(p.index) + " is beyond the table at " + HexText(p.table) +
               ", which has " + std::to_string(p.count) + " entries; nothing was read or written";
    case K::NotATable:
        return "the table at " + HexText(p.table) + " is not a table: its first data offset " +
               HexText(p.value) + " lies inside its leading word" + NOTHING_WRITTEN;
    case K::NoTableToList:
        return "no table at " + HexText(p.table) +
               ": its first data offset lies inside its leading word";
    case K::TooManyEntries:
        return "the table at " + HexText(p.table) + " has " + std::to_string(p.count) +
               " entries (first data offset " + HexText(p.value) +
               "); a compress can recalculate at most 32" + NOTHING_WRITTEN;
    case K::LzhNotDecodedBack:
        return std::string("the LZH stream made from the new data does not decode back to it") +
               NOTHING_WRITTEN;
    case K::RleNotDecodedBack:
        return std::string("the RLE block made from the new data does not decode back to it") +
               NOTHING_WRITTEN;
    case K::Overwrite:
        return PieceName(p.table, p.writer) + " (" + std::to_string(p.writer.size) + " bytes at " +
               HexText(p.writer.at) + ") would overwrite " + PieceName(p.table, p.overwritten) +
               NOTHING_WRITTEN;
    case K::ImageSizeChanged:
        return "changed since it was read (now " + std::to_string(p.fileSize) + " bytes, then " +
               std::to_string(p.value) + ")" + NOTHING_WRITTEN;
    case K::EntryChanged:
        return EntryName(p.table, p.index) + " changed since it was read" + NOTHING_WRITTEN;
    case K::RleOffsetPastEnd:
        return "offset " + HexText(p.at) + " is at or past the end of the file (" +
               std::to_string(p.fileSize) + " bytes)" + NOTHING_WRITTEN;
    case K::DataOverLimit:
        return "the new data's " + std::to_string(p.size) + " bytes are more than the " +
               std::to_string(p.value) + " a compressed block may hold" + NOTHING_WRITTEN;
    case K::RomOverLimit:
        return std::to_string(p.size) + " bytes are more than a ROM image may hold (" +
               std::to_string(p.value) + ")" + NOTHING_WRITTEN;
    case K::OutputIsRom:
        return "is the ROM image " + p.other + " itself; a decompress never writes over its ROM" +
               NOTHING_WRITTEN;
    case K::NoBackup:
        return "there is no backup " + p.other + " to go back to; nothing was changed";
    case K::BackupNotRegular:
        return "its backup " + p.other + " is " + FileKind(uint32_t(p.value)) +
               ", not a regular file; undo swaps only a regular file; nothing was changed";
    case K::BackupIsRom:
        return "its backup " + p.other +
               " is the same file, with the same image; nothing was "
               "changed";
    case K::BackupHasOtherNames:
        return "its backup " + p.other + " is one of " + std::to_string(p.value) +
               " names of one file (a hard link): an undo would make the ROM image another name "
               "of that file, and what changes one would change the other; nothing was changed";
    case K::RleBlockChanged:
        return "the RLE data at " + HexText(p.at) + " changed since it was read" + NOTHING_WRITTEN;
    }
    return "refused" + std::string(NOTHING_WRITTEN);
}

} // namespace

std::string RomProblemText(const RomProblem& problem) {
    return problem.file + ": " + Reason(problem);
}

std::string UnsupportedRepeatMessage(uint32_t count) {
    return "Unsupported repeat count: " + std::to_string(count);
}

std::string ErrorText(const std::exception& error) {
    if (const FileProblem* problem = FileProblemOf(error)) return FileProblemText(*problem);
    if (const PatchProblem* problem = PatchProblemOf(error)) return PatchProblemText(*problem);
    if (const RomProblem* problem = ProblemOf(error)) return RomProblemText(*problem);
    if (const CodecProblem* problem = CodecProblemOf(error)) return CodecProblemText(*problem);
    if (const GraphicsProblem* problem = GraphicsProblemOf(error)) {
        return GraphicsProblemText(*problem);
    }
    if (const PngProblem* problem = PngProblemOf(error)) return PngProblemText(*problem);
    if (const auto* cancelled = dynamic_cast<const CancelledError*>(&error)) {
        const std::string text = "cancelled; nothing was written";
        return cancelled->File().empty() ? text : cancelled->File() + ": " + text;
    }
    if (const auto* repeat = dynamic_cast<const UnsupportedRepeatError*>(&error)) {
        return UnsupportedRepeatMessage(repeat->count());
    }
    if (const ModProblem* problem = ModProblemOf(error)) return ModProblemText(*problem);
    return error.what();
}

} // namespace drovak
