// tiles-to-png and png-to-tiles: tile data as an indexed PNG that any image editor can change,
// and back.
#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "cli/Command.h"
#include "cli/Files.h"
#include "graphics/PngToTiles.h"
#include "graphics/TileSheet.h"
#include "graphics/TilesToPng.h"
#include "rom/HexField.h"
#include "rom/RomLayout.h"
#include "words/CliWords.h"
#include "words/CommandWords.h"
#include "words/GraphicsProblemWords.h"

namespace drovak::cli {

namespace {

// Palette line --line of the palette at --palette-at in --rom; the grey ramp without --rom.
TilePalette PaletteArgument(const ParsedArguments& arguments) {
    auto rom = arguments.Text("--rom");
    if (!rom) {
        for (const char* option : {"--palette-at", "--line"}) {
            if (arguments.Has(option)) throw UsageError(GoesWithText(option, "--rom"));
        }
        return GreyRampPalette();
    }
    return ReadTilePalette(
        *rom, arguments.Hex("--palette-at", PREVIEW_PALETTE_OFFSET),
        arguments.OptionalDecimal("--line", 0, PALETTE_LINE_COUNT - 1).value_or(0));
}

// --cell WxH, in tiles; 1x1 when not given.
TileCell CellArgument(const ParsedArguments& arguments) {
    const std::optional<std::string> text = arguments.Text("--cell");
    if (!text) return {};
    const std::optional<TileCell> cell = ParseTileCellText(*text);
    if (!cell) {
        throw UsageError(CellWantedText(*text));
    }
    return *cell;
}

void PrintCounts(CommandOutput& output, uint64_t bytes) {
    output.out << TileCountText(bytes) << "\n";
}

int TilesToPngFile(const ParsedArguments& arguments, CommandOutput& output) {
    const TilePalette palette = PaletteArgument(arguments);
    const unsigned columns = arguments.OptionalDecimal("--columns", 1, MAX_SHEET_COLUMNS)
                                 .value_or(DEFAULT_SHEET_COLUMNS);
    const std::vector<uint8_t> data =
        ReadWholeFile(arguments.Positional(0), MAX_SHEET_DATA, SizeLimit::TilePicture);
    SaveTilesPng(data, palette, columns, arguments.Positional(1), CellArgument(arguments),
                 OutputOptions(arguments));
    if (auto repeated = RepeatedColour(palette)) {
        output.err << RepeatedColourNote(palette, unsigned(repeated->second),
                                         unsigned(repeated->first))
                   << "\n";
    }
    PrintCounts(output, data.size());
    return EXIT_OK;
}

int PngToTilesFile(const ParsedArguments& arguments, CommandOutput& output) {
    const TilePalette palette = PaletteArgument(arguments);
    std::optional<uint64_t> keepBytes;
    if (auto tiles = arguments.OptionalDecimal("--tiles", 0, MAX_SHEET_DATA / TILE_DATA_BYTES))
        keepBytes = *tiles * TILE_DATA_BYTES;
    const std::string& in = arguments.Positional(0);
    const TilesFromPng tiles = ReadTilesPng(in, palette, keepBytes, CellArgument(arguments));
    WriteFileReplacing(arguments.Positional(1), tiles.data, OutputOptions(arguments));
    if (tiles.droppedPixel) {
        output.err << DroppedPixelNote(tiles.droppedPixel->x, tiles.droppedPixel->y,
                                       tiles.data.size())
                   << "\n";
    }
    if (tiles.paletteDifference && !tiles.valuesByColour) {
        const auto [value, colour] = *tiles.paletteDifference;
        output.err << PaletteDiffersNote(in, palette, unsigned(value), colour) << "\n";
    }
    PrintCounts(output, tiles.data.size());
    if (tiles.valuesByColour) output.out << PaletteDecidedText(in, palette.source) << "\n";
    return EXIT_OK;
}

} // namespace

std::vector<Command> TileCommands() {
    const std::string palette =
        "The palette is palette line N (--line, 0 to 3, default 0) of the 64-colour palette\n"
        "at HEX (--palette-at, hexadecimal, default " +
        HexFieldText(PREVIEW_PALETTE_OFFSET) +
        ", the tile sheets' palette) in ROM,\n"
        "converted as the window draws it; without --rom a grey ramp (value v is grey v x 17).\n";
    const std::string cell =
        "With --cell WxH (in tiles, 1 to 16 a side, default 1x1) the tiles are laid in cells\n"
        "of W x H tiles, N cells a row: a cell takes the next W x H tiles as one picture of\n"
        "8W x 8H pixels, top row first, so cells one tile wide stack their tiles top to bottom\n"
        "(the order of a sprite's tiles; the RLE page's preview is --cell 1x4 --columns 64,\n"
        "the LZH page's --columns 64).\n";
    return {
        {"tiles-to-png",
         "DATA OUT.png [--rom ROM] [--palette-at HEX] [--line N] [--columns N] [--cell WxH] "
         "[--yes]",
         "write tile data as an indexed PNG",
         "Writes the 8 x 8 tiles of DATA (4 bits a pixel, 32 bytes a tile) as an indexed PNG\n"
         "(colour type 3, 4 bits, not interlaced) that any image editor can change: tiles laid\n"
         "left to right and top to bottom, N a row (--columns, 1 to 2048, default 16), each\n"
         "pixel the tile's 4-bit value. The places after the last tile are 0, and a last tile\n"
         "cut short is padded with zeros.\n" +
             cell + palette + "The PNG records the length of DATA in a tEXt chunk \"" +
             TILE_DATA_KEYWORD +
             "\" (text\n"
             "\"2 tiles, 33 bytes\") and a cell other than 1x1 in another, \"" +
             TILE_CELL_KEYWORD +
             "\"\n"
             "(text \"1x4\"), so that png-to-tiles gives back DATA exactly. DATA holds at most\n"
             "16 MiB. An OUT.png that exists and holds something else is only replaced with\n"
             "--yes. Prints the number of tiles and of bytes.",
         {{"DATA", "OUT.png"},
          {"--rom", "--palette-at", "--line", "--columns", "--cell"},
          {"--yes"}},
         TilesToPngFile},
        {"png-to-tiles",
         "IN.png OUT [--rom ROM --palette-at HEX --line N] [--tiles N] [--cell WxH] [--yes]",
         "turn a PNG of tiles back into tile data",
         "Writes the tiles of IN.png, laid out as tiles-to-png lays them, as tile data (32 bytes\n"
         "a tile) to OUT, in the cell the PNG records, or else --cell WxH (default 1x1). Width\n"
         "and height must be multiples of the cell's (8 pixels a tile). An RGB or RGBA PNG (8\n"
         "or 16 bits, grey too) gives each pixel the lowest value of its colour in the palette;\n"
         "a colour that is not there is refused, naming the pixel's x and y and its colour. So\n"
         "does an indexed PNG whose palette is not the palette line (its first 16 colours in\n"
         "the line's order), when the palette is known (--rom): an image editor may have\n"
         "reordered it, and the colours decide (stdout says so on a second line). Otherwise an\n"
         "indexed PNG gives its pixels' values (0 to 15; a higher one is refused). A 16-bit\n"
         "sample counts as the 8-bit v when it is v x 257 or v x 256; a pixel of alpha 0 is\n"
         "value 0, other alpha is ignored.\n" +
             palette +
             "OUT gets the first N tiles (--tiles), or else the data length the PNG records, or\n"
             "else every tile of the picture; a note on stderr tells when what is left out is not\n"
             "blank. A refused picture writes nothing (exit 3), and so does an OUT that exists\n"
             "and holds something else, unless --yes is given. Prints the number of tiles and of\n"
             "bytes written.",
         {{"IN.png", "OUT"}, {"--rom", "--palette-at", "--line", "--tiles", "--cell"}, {"--yes"}},
         PngToTilesFile},
    };
}

} // namespace drovak::cli
