// level-png and render: the pictures of the window as PNG files.
#include "base/Folders.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "cli/Progress.h"
#include "graphics/AllPlanesExport.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "graphics/PreviewPng.h"
#include "graphics/TitleScreen.h"
#include "rom/HexField.h"
#include "rom/LzhPage.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"
#include "words/CliWords.h"
#include "words/CommandWords.h"

#include <string>

namespace drovak::cli {

namespace {

// The level as the window's list shows it (1 to 8), as the level number (0 to 7).
unsigned LevelArgument(const ParsedArguments& arguments) {
    return arguments.Decimal("--level", 1, LEVEL_COUNT) - 1;
}

bool PlaneBArgument(const ParsedArguments& arguments) {
    auto plane = arguments.Text("--plane");
    if (!plane) throw UsageError(PlaneRequiredText());
    if (*plane == "A" || *plane == "a") return false;
    if (*plane == "B" || *plane == "b") return true;
    throw UsageError(PlaneWantedText(*plane));
}

// With --all, OUT is a folder (made when missing) that receives all 16 planes.
int LevelPng(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string& rom = arguments.Positional(0);
    const std::string& out = arguments.Positional(1);
    const auto started = std::chrono::steady_clock::now();
    if (arguments.Has("--all")) {
        if (arguments.Has("--level") || arguments.Has("--plane"))
            throw UsageError(AllPlanesAloneText());
        OpenRomRead(rom); // a ROM that can't be read makes no folder
        MakeFolder(out);
        {
            Progress progress(output, [](uint64_t written, uint64_t planes, std::string_view path) {
                return PlaneWrittenText(std::string(path), written, planes);
            });
            ExportAllLevelPngs(rom, out, 0, progress, OutputOptions(arguments));
        }
        output.out << WrittenLine(out, PicturesText(LEVEL_PLANE_COUNT), started) << "\n";
        return EXIT_OK;
    }
    unsigned level = LevelArgument(arguments);
    bool planeB = PlaneBArgument(arguments);
    {
        Progress progress(output);
        ExportLevelPng(rom, level, planeB, out, progress, 0, OutputOptions(arguments));
    }
    output.out << WrittenLine(out, PixelsText(LEVEL_PNG_WIDTH, LEVEL_PNG_HEIGHT), started) << "\n";
    return EXIT_OK;
}

// Options that belong to one picture only.
void RejectOptionsOutside(const ParsedArguments& arguments, const std::string& mode,
                          std::initializer_list<const char*> options) {
    for (const char* option : options) {
        if (arguments.Has(option)) throw UsageError(GoesWithText(option, mode));
    }
}

PreviewImage RenderPicture(const ParsedArguments& arguments) {
    const std::string& romPath = arguments.Positional(0);
    int modes = arguments.Has("--level") + arguments.Has("--title") + arguments.Has("--lzh-sheet") +
                arguments.Has("--rle-sheet");
    if (modes != 1) {
        throw UsageError(OneRenderModeText());
    }
    if (!arguments.Has("--level"))
        RejectOptionsOutside(arguments, "--level", {"--plane", "--column"});
    if (!arguments.Has("--lzh-sheet"))
        RejectOptionsOutside(arguments, "--lzh-sheet", {"--table", "--index"});
    if (!arguments.Has("--rle-sheet")) RejectOptionsOutside(arguments, "--rle-sheet", {"--at"});

    if (arguments.Has("--level")) {
        unsigned level = LevelArgument(arguments);
        bool planeB = PlaneBArgument(arguments);
        uint32_t column =
            arguments.OptionalDecimal("--column", 0, LEVEL_LAST_SCROLL_COLUMN).value_or(0);
        return AssembleLevel(DecodeLevel(romPath, level), planeB, column);
    }
    // The numbers are read before the ROM is.
    const uint32_t table = arguments.Hex("--table", POINTER_TABLE_OFFSET);
    const uint32_t index = arguments.Hex("--index", DEFAULT_TABLE_INDEX);
    const uint32_t at = arguments.Hex("--at", DEFAULT_RLE_OFFSET);
    const auto rom = OpenRomRead(romPath);
    if (arguments.Has("--title")) return RenderTitleScreen(ReadRest(*rom, 0));

    const PaletteTable palette = ReadPalette(*rom, PREVIEW_PALETTE_OFFSET);
    if (arguments.Has("--lzh-sheet")) {
        return RenderTiles(LzhExtractEntry(*rom, table, index).data, 1, 1, 64, 28, palette);
    }
    return RenderTiles(RleExtractAt(*rom, at).data, 1, 4, 64, 28, palette);
}

int Render(const ParsedArguments& arguments, CommandOutput&) {
    SavePreviewPng(RenderPicture(arguments), arguments.Positional(1), OutputOptions(arguments));
    return EXIT_OK;
}

} // namespace

std::vector<Command> PictureCommands() {
    return {
        {"level-png",
         "ROM OUT.png --level N --plane A|B [--yes] | ROM DIR --all [--yes]",
         "export the whole width of a level plane as a PNG",
         "Writes the whole width of Plane A or Plane B of level N (1 to 8, as the window's list\n"
         "shows it) as one 16384 x 512 PNG (RGB with alpha, 16 bits per sample; pure black is\n"
         "transparent). Shows its progress on stderr: one line updated in place on a terminal,\n"
         "a line per 16 rows written (32 lines) otherwise; then what it wrote (file, size,\n"
         "time) on stdout.\n"
         "  --all  writes all 16 planes (levels 1 to 8, Plane A and B) into the folder DIR\n"
         "      (made when missing) under the window's names, Level_01_PlaneA.png to\n"
         "      Level_08_PlaneB.png, several at once; its progress is a plane at a time.\n"
         "A file that exists and holds another picture is only replaced with --yes.",
         {{"ROM", "OUT"}, {"--level", "--plane"}, {"--all", "--yes"}},
         LevelPng},
        {"render",
         "ROM OUT.png (--level N --plane A|B [--column C] | --title | --lzh-sheet [--table "
         "TABLE] [--index INDEX] | --rle-sheet [--at OFFSET]) [--yes]",
         "write the picture the window would show as a PNG",
         "Writes one picture as an 8-bit RGB PNG:\n"
         "  --level N --plane A|B [--column C]  16 block columns of a level plane from block\n"
         "      column C (decimal, 0 to 496, default 0), 512 x 512; N is 1 to 8.\n"
         "  --title  the title-screen background, 320 x 224.\n"
         "  --lzh-sheet [--table TABLE] [--index INDEX]  the tiles of a pointer-table entry\n"
         "      (hexadecimal, defaults " +
             HexFieldText(POINTER_TABLE_OFFSET) + " and " + HexFieldText(DEFAULT_TABLE_INDEX) +
             "), 64 x 28 tiles with the palette at " + HexFieldText(PREVIEW_PALETTE_OFFSET) +
             ",\n"
             "      512 x 224.\n"
             "  --rle-sheet [--at OFFSET]  the tiles of the RLE block at OFFSET (hexadecimal,\n"
             "      default " +
             HexFieldText(DEFAULT_RLE_OFFSET) +
             ") in columns of 4 tiles, 512 x 224.\n"
             "An OUT.png that exists and holds another picture is only replaced with --yes.",
         {{"ROM", "OUT.png"},
          {"--level", "--plane", "--column", "--table", "--index", "--at"},
          {"--title", "--lzh-sheet", "--rle-sheet", "--yes"}},
         Render},
    };
}

} // namespace drovak::cli
