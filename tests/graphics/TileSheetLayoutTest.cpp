// A tile sheet laid as the preview lays it, and read back in the same order; a palette picture
// whose palette an editor reordered.
#include "GraphicsTestSupport.h"

#include "base/Errors.h"
#include "graphics/PngToTiles.h"
#include "graphics/TileSheet.h"
#include "graphics/TilesToPng.h"
#include "support/HandMadeRom.h"
#include "support/WordsOf.h"

namespace drovak {
namespace {

using namespace test;
using GraphicsTileSheetLayout = GraphicsTest;

TilePalette MarkerLine() {
    return PaletteLineOf(MarkerPalette(), {0, 0, "marker"});
}

// The two pages' previews: 1792 tiles, 64 cells of 1 x 1 or of 1 x 4 tiles to a row. The saved
// sheet shows every pixel in the colour the preview draws, and reads back to the same bytes
// with its record, and without it given the cell.
TEST_F(GraphicsTileSheetLayout, TheSavedSheetIsThePreview) {
    const Bytes data = handmade::Noise(1792 * 32, 6);
    for (const TileCell cell : {TileCell{1, 1}, TileCell{1, 4}, TileCell{2, 2}}) {
        SCOPED_TRACE(TileCellText(cell));
        const PreviewImage preview = RenderTiles(data, uint8_t(cell.width), uint8_t(cell.height),
                                                 uint16_t(64 * cell.width), 28, MarkerPalette());
        MemoryStream file;
        WriteTilesPng(data, MarkerLine(), 64, file, cell);
        DecodedPng sheet = ReadPng(file.Data(), "sheet.png");
        ASSERT_EQ(sheet.width, preview.Width);
        ASSERT_EQ(sheet.height, cell.width == 1 ? 224u : 112u); // 7 rows of cells
        unsigned wrong = 0;
        for (uint32_t y = 0; y < sheet.height; ++y)
            for (uint32_t x = 0; x < preview.Width; ++x)
                wrong += sheet.palette.at(sheet.Sample(x, y, 0)) != PixelAt(preview, x, y);
        EXPECT_EQ(wrong, 0u);
        EXPECT_EQ(sheet.Text(TILE_CELL_KEYWORD),
                  cell == TileCell{} ? std::nullopt : std::optional(TileCellText(cell)));

        const TilesFromPng back = PngToTiles(sheet, "sheet.png", MarkerLine(), std::nullopt);
        EXPECT_EQ(std::tie(back.data, back.cell), std::tie(data, cell));
        sheet.texts.clear(); // an editor's copy without the records
        EXPECT_EQ(PngToTiles(sheet, "sheet.png", MarkerLine(), std::nullopt, cell).data, data);
        EXPECT_EQ(PngToTiles(sheet, "sheet.png", MarkerLine(), std::nullopt).data == data,
                  cell == TileCell{});
    }
}

TEST_F(GraphicsTileSheetLayout, CellsOfOtherSizes) {
    // 33 bytes in cells of 1 x 4: one cell, 8 x 32 pixels; two cells of 1 x 2 across.
    const Bytes data = Pattern(33, 9);
    for (const auto& [cell, columns, width, height] :
         {std::tuple{TileCell{1, 4}, 1u, 8u, 32u}, std::tuple{TileCell{1, 2}, 4u, 32u, 16u},
          std::tuple{TileCell{3, 1}, 2u, 48u, 8u}}) {
        MemoryStream file;
        WriteTilesPng(data, MarkerLine(), columns, file, cell);
        const DecodedPng sheet = ReadPng(file.Data(), "sheet.png");
        EXPECT_EQ(std::tie(sheet.width, sheet.height), std::tie(width, height));
        EXPECT_EQ(PngToTiles(sheet, "sheet.png", MarkerLine(), std::nullopt).data, data);
    }
    const std::pair<const char*, std::optional<TileCell>> texts[] = {
        {"1x4", TileCell{1, 4}}, {"16x16", TileCell{16, 16}}, {"0x4", std::nullopt},
        {"1x17", std::nullopt},  {"1 x 4", std::nullopt},     {"1x4 ", std::nullopt},
        {"x4", std::nullopt},    {"1x", std::nullopt}};
    for (const auto& [text, cell] : texts) EXPECT_EQ(ParseTileCellText(text), cell) << text;

    DecodedPng recorded{8, 16, PngPixels::Indices, 8, 3, 4, 0, {}, Bytes(128, 0), {}};
    recorded.texts = {{TILE_CELL_KEYWORD, "1 by 4"}};
    const auto refusal = [&](TileCell cell) {
        return WordsOf<RefusedError>(
            [&] { PngToTiles(recorded, "in.png", MarkerLine(), {}, cell); });
    };
    EXPECT_TRUE(Holds(refusal({}), "in.png: the recorded tile cell \"1 by 4\""));
    recorded.texts.clear();
    EXPECT_TRUE(Holds(refusal({1, 4}),
                      "in.png: the picture is 8 x 16 pixels; a picture of cells of 1x4 tiles"));
    EXPECT_THROW(SheetSizeFor(32, 16, TileCell{0, 4}), RefusedError);
    EXPECT_THROW(SheetSizeFor(32, 1, TileCell{16, 17}), RefusedError);
    EXPECT_NO_THROW(SheetSizeFor(32, 1, TileCell{16, 16}));                 // the largest cell
    EXPECT_THROW(SheetSizeFor(32, 2048, TileCell{2, 1}), RefusedError);     // 32768 pixels wide
    EXPECT_THROW(SheetSizeFor(1025 * 64, 1, TileCell{1, 2}), RefusedError); // 16400 high
}

// An 8 x 8 palette picture whose first two rows hold indices 0 to 15, one of them (x 3, y 1)
// set to `odd` when given.
DecodedPng IndexedPicture(std::vector<uint32_t> plte, std::optional<uint8_t> odd = {}) {
    DecodedPng image{8, 8, PngPixels::Indices, 8, 3, 4, 0, std::move(plte), Bytes(64, 0), {}};
    for (uint8_t v = 0; v < 16; ++v) image.data[v] = v;
    if (odd) image.data[8 + 3] = *odd;
    return image;
}

// The tile whose first 16 pixels have the values given, and the others the first one's (they
// are index 0).
Bytes RowsOf(const std::array<uint8_t, 16>& values) {
    Bytes data(32, uint8_t(values[0] * 0x11));
    std::fill_n(data.begin(), 8, 0);
    for (unsigned p = 0; p < 16; ++p) data[p / 2] |= uint8_t(values[p] << (p % 2 ? 0 : 4));
    return data;
}

// With a known palette, colours decide unless the PLTE is the line; with the grey ramp, values
// stay.
TEST_F(GraphicsTileSheetLayout, AReorderedPaletteIsReadByColour) {
    const TilePalette line = MarkerLine();
    std::array<uint8_t, 16> same{}, reversed{};
    for (uint8_t v = 0; v < 16; ++v) same[v] = v, reversed[v] = uint8_t(15 - v);
    std::vector<uint32_t> reversedPlte(line.colours.rbegin(), line.colours.rend());
    std::vector<uint32_t> withForeign = reversedPlte;
    withForeign.push_back(0x133557); // index 16: in no line
    TilePalette doubled = line;      // 5 has the colour of 0
    doubled.colours[5] = doubled.colours[0];
    std::array<uint8_t, 16> doubledByColour = reversed;
    doubledByColour[10] = 0; // PLTE index 10 is line value 5, whose colour 0 has too

    struct Case {
        const char* name;
        DecodedPng image;
        TilePalette palette;
        std::optional<std::array<uint8_t, 16>> values; // nothing: refused
        bool byColour = false;
    };
    const Case cases[] = {
        {"reversed", IndexedPicture(reversedPlte), line, reversed, true},
        {"reversed, with a foreign colour unused", IndexedPicture(withForeign), line, reversed,
         true},
        {"reversed, a foreign colour used", IndexedPicture(withForeign, 16), line, std::nullopt},
        {"the line itself", IndexedPicture({line.colours.begin(), line.colours.end()}), line, same},
        {"the line with a repeated colour",
         IndexedPicture({doubled.colours.begin(), doubled.colours.end()}), doubled, same},
        {"a repeated colour, reordered",
         IndexedPicture({doubled.colours.rbegin(), doubled.colours.rend()}), doubled,
         doubledByColour, true},
        {"the line's first four colours",
         IndexedPicture({line.colours.begin(), line.colours.begin() + 4}, 3), line,
         std::array<uint8_t, 16>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 3, 12, 13, 14, 15}},
        {"reversed, palette not known", IndexedPicture(reversedPlte), GreyRampPalette(), same},
    };
    for (const Case& c : cases) {
        if (!c.values) {
            const std::string error =
                WordsOf<RefusedError>([&] { PngToTiles(c.image, "in.png", c.palette, 32); });
            EXPECT_TRUE(Holds(error, "in.png: the colour #573513 at x 3, y 1 is not in palette "
                                     "line 0 of the palette at 0x0 in marker"))
                << c.name << ": " << error;
            continue;
        }
        const TilesFromPng tiles = PngToTiles(c.image, "in.png", c.palette, 32);
        EXPECT_EQ(tiles.data, RowsOf(*c.values)) << c.name;
        EXPECT_EQ(tiles.valuesByColour, c.byColour) << c.name;
    }
}

} // namespace
} // namespace drovak
