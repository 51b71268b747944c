// unpack and pack: a ROM image as a folder of files that any editor can change, and back.
#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/Command.h"
#include "cli/InsertRefusals.h"
#include "cli/Progress.h"
#include "graphics/TileSheet.h"
#include "mod/Pack.h"
#include "mod/Unpack.h"
#include "patch/Bps.h"
#include "patch/Crc32.h"
#include "rom/HexField.h"
#include "rom/RomLayout.h"
#include "words/RomChangeWords.h"

namespace drovak::cli {

namespace {

const char* const ANSWER_WITH_YES = " Give --yes to go ahead. Nothing was written.";

std::string DataLine(const ModFile& file) {
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

int Unpack(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string &rom = arguments.Positional(0), &dir = arguments.Positional(1);
    const uint32_t table = arguments.Hex("--table", POINTER_TABLE_OFFSET);
    const UnpackResult result = [&] {
        Progress progress(output);
        return drovak::Unpack(rom, dir, table,
                              [&progress](const ModFile& file) { progress.Step(DataLine(file)); });
    }();
    size_t entries = 0, blocks = 0, sheets = 0, maps = 0, palettes = 0;
    for (const ModFile& file : result.manifest.files) {
        (file.kind == ModKind::LzhEntry ? entries : blocks) += 1;
        if (file.sheet) ++sheets;
    }
    for (const ViewRecord& view : result.manifest.views) {
        if (view.kind == ViewKind::LevelMap || view.kind == ViewKind::BlockMap) ++maps;
        if (view.kind == ViewKind::Palette) ++palettes;
    }
    for (const SkippedFile& skipped : result.skipped) {
        output.err << "note: " << skipped.name << " is not written: " << skipped.problem << "\n";
    }
    const Manifest& manifest = result.manifest;
    output.out << manifest.romName << " (" << manifest.romSize << " bytes, CRC-32 "
               << CrcText(manifest.romCrc) << ") unpacked into " << dir << ": " << entries
               << " entries of the table at " << HexText(table) << ", " << blocks << " RLE blocks, "
               << sheets << " sheets, " << maps << " maps, " << palettes << " palettes, "
               << MANIFEST_NAME
               << (result.replacedPrevious ? " (the previous unpack written again)" : "") << "\n";
    return EXIT_OK;
}

// The questions a change asks before it is written, as lzh-insert and rle-insert ask them.
std::vector<std::string> Questions(const PackedChange& change) {
    const std::string name = FileNamePart(change.source);
    std::vector<std::string> questions;
    if (!change.question.empty()) questions.push_back(change.question);
    if (change.lzh && change.lzh->emptyInput)
        questions.push_back(LzhEmptyInputText(*change.lzh, name));
    if (change.lzh && change.lzh->needsConfirmation)
        questions.push_back(LzhGrowthText(*change.lzh));
    if (change.rle && change.rle->emptyInput)
        questions.push_back(RleEmptyInputText(*change.rle, name));
    if (change.rle && change.rle->needsConfirmation)
        questions.push_back(RleGrowthText(*change.rle));
    return questions;
}

std::string ChangeLine(const PackedChange& change) {
    std::string line =
        FileNamePart(change.source) + ": " +
        (change.file.kind == ModKind::LzhEntry ? "entry " + HexText(change.file.index)
                                               : "RLE block at " + HexText(change.file.offset)) +
        " packed " + std::to_string(change.OldPackedSize()) + " -> " +
        std::to_string(change.NewPackedSize()) + " bytes";
    const std::vector<DataMove> moves = change.lzh ? change.lzh->moves : std::vector<DataMove>{};
    if (moves.empty())
        return line + (change.file.kind == ModKind::LzhEntry ? "; no entry moved" : "");
    uint32_t first = UINT32_MAX, last = 0;
    for (const DataMove& move : moves) {
        first = std::min(first, move.index);
        last = std::max(last, move.index);
    }
    const int64_t by = int64_t(moves.front().to) - int64_t(moves.front().from);
    return line + "; entries " + HexText(first) + " to " + HexText(last) + " moved by " +
           (by > 0 ? "+" : "") + std::to_string(by) + " bytes";
}

// A map or palette that changed: what it changes, and the colours an editor left off the grid.
std::string ViewLine(const ViewChange& view, CommandOutput& output) {
    const std::string name = view.record.name + ": " + ViewRole(view.record) + ", ";
    if (view.record.kind != ViewKind::Palette) {
        return name + std::to_string(view.cellsChanged) +
               (view.cellsChanged == 1 ? " cell changed" : " cells changed");
    }
    std::string snapped;
    for (const unsigned k : view.snapped) {
        snapped += (snapped.empty() ? "" : ", ") + std::to_string(k) + " (line " +
                   std::to_string(k / 16) + ", " + std::to_string(k % 16) + ")";
    }
    if (!snapped.empty()) {
        const bool one = view.snapped.size() == 1;
        output.err << "note: " << view.path << (one ? ": colour " : ": colours ") << snapped
                   << (one ? " is not a colour" : " are not colours")
                   << " the console shows; the nearest one is taken\n";
    }
    return name + std::to_string(view.coloursChanged.size()) +
           (view.coloursChanged.size() == 1 ? " colour changed" : " colours changed");
}

std::string NewFileLine(const std::string& out, const RomChange& change) {
    switch (change.checksum) {
    case ChecksumState::Right:
        return out + " written; header checksum right (" + ChecksumText(change.computedChecksum) +
               ").";
    case ChecksumState::Wrong:
        return out + " written; header checksum wrong (stored " +
               ChecksumText(change.storedChecksum) + ", computed " +
               ChecksumText(change.computedChecksum) + ").";
    case ChecksumState::NoHeader:
        break;
    }
    return out + " written.";
}

int Pack(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string &dir = arguments.Positional(0), &out = arguments.Positional(1);
    const PackPlan plan = PlanPack(dir, arguments.Text("--base"));
    if (!arguments.Has("--yes")) {
        std::string text;
        for (const PackedChange& change : plan.changes) {
            for (const std::string& question : Questions(change)) {
                text += ' ';
                text += FileNamePart(change.source);
                text += ": ";
                text += question;
            }
        }
        if (!text.empty()) throw RefusedError(dir + ":" + text + ANSWER_WITH_YES);
    }
    for (const PackedChange& change : plan.changes) {
        for (const std::string& note : change.notes) output.err << "note: " << note << "\n";
        output.out << ChangeLine(change) << "\n";
    }
    for (const ViewChange& view : plan.views) output.out << ViewLine(view, output) << "\n";
    if (plan.changes.empty() && plan.views.empty())
        output.out << dir << ": no file changed since the unpack\n";
    // The patch from the base to OUT, made and checked before anything is written.
    const std::optional<std::string> patchPath = arguments.Text("--bps");
    std::vector<uint8_t> patch;
    if (patchPath) {
        for (const std::string* image : {&plan.base.name, &out}) {
            if (*patchPath == *image || SameFile(*patchPath, *image)) {
                throw RefusedError(*patchPath + ": is the ROM image " + *image +
                                   " itself; nothing was written");
            }
        }
        patch = CreateBpsPatch(plan.base.bytes, plan.image);
        if (!arguments.Has("--yes") && FileHoldsOtherBytes(*patchPath, patch)) {
            throw RefusedError(*patchPath + ": already exists and holds other data. Give --yes "
                                            "to replace it. Nothing was written.");
        }
    }
    const bool existed = FileExists(out);
    const RomChange change = WritePack(plan, out);
    output.out << (existed ? RomChangeSummary(out, change) : NewFileLine(out, change)) << "\n";
    if (patchPath) {
        WriteFileReplacing(*patchPath, patch);
        output.out << *patchPath << " written: a patch of " << patch.size() << " bytes from "
                   << plan.manifest.romName << " (CRC-32 " << CrcText(plan.manifest.romCrc)
                   << ") to " << FileNamePart(out) << " (CRC-32 " << CrcText(Crc32(plan.image))
                   << ")\n";
    }
    return EXIT_OK;
}

} // namespace

std::vector<Command> ModCommands() {
    return {
        {"unpack",
         "ROM DIR [--table TABLE]",
         "write a ROM as a folder of files (data, sheets, maps, palettes, drovak.toml)",
         "Writes into DIR (made when missing) every entry of the pointer table at TABLE\n"
         "(hexadecimal, default " +
             HexFieldText(POINTER_TABLE_OFFSET) +
             ") as TABLE_K.bin (20000_0.bin ... 20000_1F.bin), as\n"
             "lzh-extract writes it; the RLE blocks at " +
             HexFieldText(DEFAULT_RLE_OFFSET) + " and " + HexFieldText(TITLE_ART_OFFSET) +
             " (the sprite sheet, the title\n"
             "art) as OFFSET.bin, as rle-extract writes them; beside each level's tile art and\n"
             "each block a tile sheet NAME.png, as tiles-to-png writes it laid out as the\n"
             "page's preview lays it (64 tiles a row; for the blocks 64 cells of 1x4 tiles)\n"
             "and with the palette that draws it (the level's palette; for the blocks the tile\n"
             "sheets' palette at " +
             HexFieldText(PREVIEW_PALETTE_OFFSET) +
             ", for the title art the title palette); each level as a\n"
             "Tiled map levels/levelNN.tmx (layers Plane A and Plane B) and its blocks as\n"
             "levels/levelNN-blocks.tmx (layers Low and High), with the drawings they show;\n"
             "every palette as a GIMP palette palettes/NAME.gpl (levels, sheets, title); and\n"
             "drovak.toml, which records the ROM (name, path from DIR, size, CRC-32), the\n"
             "table and each file (its role, its entry's fields or its block's offset, its\n"
             "CRC-32). A DIR that is not empty is refused (exit code 3)\n"
             "unless it holds a previous unpack of the same ROM whose files are all unchanged\n"
             "(other files are left alone). What can't be read (an entry that does not decode\n"
             "within ROM, a block that is not there) is left out, with a note. Prints a line\n"
             "per file on stderr and a summary on stdout.",
         {{"ROM", "DIR"}, {"--table"}, {}},
         Unpack},
        {"pack",
         "DIR OUT [--base ROM] [--bps PATCH] [--yes]",
         "build a ROM from an unpacked folder",
         "Builds OUT from the base ROM (--base, default the ROM drovak.toml names, seen from\n"
         "DIR) and the files of DIR. A base whose CRC-32 is not the one recorded is refused\n"
         "(exit code 3). Each .bin whose CRC-32 is not the recorded one is compressed back as\n"
         "lzh-insert or rle-insert would (offsets recalculated, data moved, the same\n"
         "questions); a sheet .png that changed is read back as png-to-tiles reads it, with\n"
         "its recorded palette and layout, keeping the recorded length (a sheet saved again\n"
         "with the same pixels changes nothing; one drawn beyond that length asks, and the\n"
         "entry grows). A changed map rebuilds its level's block data (changed cells only),\n"
         "a changed palette file its colours in place (a colour off the console's grid takes\n"
         "the nearest, with a note); a map cell or palette line that can't be packed is\n"
         "refused, naming it. A .bin and a .png or map of one entry that both changed and\n"
         "disagree are refused. All changes go into one image in memory, which\n"
         "must decode back to every file of DIR; it is then written once. A question (data\n"
         "that grows, an empty file) is only answered with --yes; without it the command\n"
         "refuses (exit code 3). OUT may be the base itself: it is then replaced whole, its\n"
         "previous image kept as OUT.bak (drovak-cli undo OUT swaps them back); so is any OUT\n"
         "that exists. A folder unchanged packs to the base byte for byte. Prints a line per\n"
         "changed file (old and new packed size, entries moved), then what was written and\n"
         "the header checksum's state; a right checksum is kept right, unless the new data\n"
         "lies on it. With --bps the BPS patch from the base to OUT is written to PATCH too\n"
         "(as patch-create writes it; a PATCH that holds other data is only replaced with\n"
         "--yes).",
         {{"DIR", "OUT"}, {"--base", "--bps"}, {"--yes"}},
         Pack},
    };
}

} // namespace drovak::cli
