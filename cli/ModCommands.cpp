// unpack and pack: a ROM image as a folder of files that any editor can change, and back.
#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/Command.h"
#include "cli/PackCommand.h"
#include "cli/Progress.h"
#include "graphics/TileSheet.h"
#include "mod/Unpack.h"
#include "rom/HexField.h"
#include "rom/RomLayout.h"
#include "words/ModProblemWords.h"
#include "words/PackCommandWords.h"

namespace drovak::cli {

namespace {

int Unpack(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string &rom = arguments.Positional(0), &dir = arguments.Positional(1);
    const uint32_t table = arguments.Hex("--table", POINTER_TABLE_OFFSET);
    const UnpackResult result = [&] {
        Progress progress(output);
        return drovak::Unpack(rom, dir, table, [&progress](const ModFile& file) {
            progress.Step(UnpackedFileLine(file));
        });
    }();
    UnpackCounts counts;
    for (const ModFile& file : result.manifest.files) {
        (file.kind == ModKind::LzhEntry ? counts.entries : counts.blocks) += 1;
        if (file.sheet) ++counts.sheets;
    }
    for (const ViewRecord& view : result.manifest.views) {
        if (view.kind == ViewKind::LevelMap || view.kind == ViewKind::BlockMap) ++counts.maps;
        if (view.kind == ViewKind::Palette) ++counts.palettes;
    }
    for (const SkippedFile& skipped : result.skipped) {
        output.err << SkippedNote(skipped) << "\n";
    }
    output.out << UnpackSummary(result.manifest, dir, counts, result.replacedPrevious) << "\n";
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
             "(other files are left alone); a name that is a link, a FIFO or a folder counts as\n"
             "changed: nothing is ever written through a link. drovak.toml is written first,\n"
             "marked unfinished: an unpack that stopped part-way (killed, a full disk) is\n"
             "finished by the same command run again, and pack refuses it until then. What can't "
             "be read (an entry that does not decode\n"
             "within ROM, a block that is not there) is left out, with a note. Prints a line\n"
             "per file on stderr and a summary on stdout.",
         {{"ROM", "DIR"}, {"--table"}, {}},
         Unpack},
        {"pack",
         "DIR OUT [--base ROM] [--bps PATCH] [--watch] [--run] [--yes]",
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
         "(as patch-create writes it), before OUT. An OUT other than the base, or a PATCH,\n"
         "that exists and holds other data is only replaced with --yes. OUT and PATCH may not\n"
         "lie inside DIR, not even with --yes (exit code 3). Data files and sheets must be\n"
         "regular files inside DIR (a link that stays inside is followed): a link leading out\n"
         "of DIR, a FIFO or a device is refused (exit code 3), naming it.\n"
         "With --watch it packs, then packs again each time a file of DIR (or of a folder in\n"
         "it) is saved: written, or renamed into place as many editors save; saves within half\n"
         "a second of each other pack once. Each pack prints one line: the time, the files\n"
         "saved, what was written; a pack that is refused says why and the watch goes on.\n"
         "What the pack writes (OUT, PATCH) is no save, and OUT may not be the base. Ctrl+C\n"
         "ends it (exit code 0) once the pack under way is written: OUT is only ever replaced\n"
         "whole, so an emulator that reloads it never reads half an image. With --run an\n"
         "emulator is started on OUT after the first pack that writes it: the command line in\n"
         "DROVAK_EMULATOR, %f standing for OUT (OUT is added last when there is no %f), else\n"
         "the first of blastem and mednafen that is installed; none is refused before anything\n"
         "is written. The command is split into words as a shell would, but run without one:\n"
         "OUT's name is one word, whatever it holds.",
         {{"DIR", "OUT"}, {"--base", "--bps"}, {"--watch", "--run", "--yes"}},
         Pack},
        {"status",
         "DIR [--base ROM] [--diff]",
         "show what changed in an unpacked folder and what pack would do",
         "Reads DIR and its base ROM as pack does, and writes nothing: says \"nothing changed\"\n"
         "when no file changed since the unpack; else each changed file (the .bin or the sheet\n"
         "that holds the change) with what it holds (tile art of level 3, the sprite sheet)\n"
         "and what pack would do with it: its old and new packed size, the entries that would\n"
         "move, the questions pack would ask and the notes it would give. With --diff each\n"
         "file also lists the tiles, blocks and layout cells (by column and row) that differ\n"
         "from the base ROM's. A folder that pack would refuse is said to be, with the reason,\n"
         "and the exit code is 3.",
         {{"DIR"}, {"--base"}, {"--diff"}},
         Status},
    };
}

} // namespace drovak::cli
