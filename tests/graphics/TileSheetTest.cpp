#include "GraphicsTestSupport.h"

#include "base/Errors.h"
#include "graphics/CompressInput.h"
#include "graphics/PngToTiles.h"
#include "graphics/TileSheet.h"
#include "graphics/TilesToPng.h"
#include "support/HandMadeRom.h"
#include "support/LibpngCodec.h"
#include "support/PngReading.h"
#include "support/WordsOf.h"

namespace drovak {
namespace {

using namespace test;
using GraphicsTileSheet = GraphicsTest;

Bytes SheetPng(const Bytes& tiles, const TilePalette& palette, unsigned columns) {
    MemoryStream out;
    WriteTilesPng(tiles, palette, columns, out);
    return out.Take();
}

// A ROM whose palette at 0x100 has 64 different colours.
Bytes PaletteRom() {
    return Cat(Bytes(0x100, 0xAA), SixtyFourColours());
}

TEST_F(GraphicsTileSheet, TilesToPngAndBackGiveTheSameBytes) {
    const TilePalette line1 = ReadTilePalette(Write("rom.bin", PaletteRom()), 0x100, 1);
    for (size_t size : {0, 1, 31, 32, 33, 32 * 40 + 5}) {
        const Bytes data = handmade::Noise(size, uint32_t(size));
        for (unsigned columns : {1u, 3u, 16u}) {
            const DecodedPng image = ReadPng(SheetPng(data, GreyRampPalette(), columns), "a.png");
            const uint32_t rows =
                std::max<uint32_t>(1, uint32_t(TileCount(size) + columns - 1) / columns);
            EXPECT_EQ(std::tie(image.width, image.height), std::tuple(8 * columns, 8 * rows));
            const TilesFromPng back = PngToTiles(image, "a.png", GreyRampPalette(), {});
            EXPECT_EQ(back.data, data) << size << " bytes, " << columns << " a row";
            EXPECT_TRUE(back.lengthRecorded && !back.droppedPixel && !back.paletteDifference);
        }
        // An editor's copy drops the recorded length: the whole tiles asked for come back.
        const Bytes whole = Cat(data, Bytes(TileCount(size) * TILE_DATA_BYTES - size, 0));
        const std::tuple<int, int, unsigned, int> copies[] = {{2, 8, 0, 0},    {6, 8, 0, 1},
                                                              {2, 16, 257, 0}, {6, 16, 256, 0},
                                                              {0, 16, 257, 1}, {4, 8, 0, 0}};
        for (auto [type, depth, wide, interlace] : copies) {
            const TilePalette& palette = type & PNG_COLOR_MASK_COLOR ? line1 : GreyRampPalette();
            const Bytes copy = EditorCopy(SheetPng(data, palette, 3), type, depth, wide, interlace);
            const TilesFromPng back =
                PngToTiles(ReadPng(copy, "b.png"), "b.png", palette, whole.size());
            EXPECT_EQ(back.data, whole) << size << " bytes, " << type << "/" << depth;
            EXPECT_FALSE(back.lengthRecorded || back.droppedPixel);
        }
    }
}

// The first value whose colour a lower one has: none in the grey ramp, the pair where one is.
TEST(GraphicsTilePalette, RepeatedColourNamesTheFirstPair) {
    TilePalette palette = GreyRampPalette();
    EXPECT_EQ(RepeatedColour(palette), std::nullopt);
    palette.colours[9] = palette.colours[4];
    palette.colours[12] = palette.colours[2];
    EXPECT_EQ(RepeatedColour(palette), std::pair(9u, 4u));
}

TEST_F(GraphicsTileSheet, IndexedPngWithThePaletteLineAsTheRendererConvertsIt) {
    const std::string rom = Write("rom.bin", PaletteRom());
    Bytes tiles(33, 0);
    for (uint8_t v = 0; v < 8; ++v) tiles[v] = uint8_t(2 * v << 4 | (2 * v + 1)); // values 0..15
    for (unsigned line = 0; line < PALETTE_LINE_COUNT; ++line) {
        const Bytes file = SheetPng(tiles, ReadTilePalette(rom, 0x100, line), 1);
        std::vector<std::string> names;
        for (const auto& chunk : ReadChunks(file)) names.push_back(chunk.name);
        EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "tEXt", "IEND"}));
        const LibpngPicture read = DecodeWithLibpng(file);
        EXPECT_EQ(std::tie(read.colourType, read.bitDepth, read.interlace), std::tuple(3, 4, 0));
        EXPECT_EQ(read.texts.at(0).first + ": " + read.texts.at(0).second,
                  std::string(TILE_DATA_KEYWORD) + ": 2 tiles, 33 bytes");
        ASSERT_EQ(read.palette.size(), 16u);
        const PaletteTable rendered = PaletteAt(PaletteRom(), 0x100);
        for (unsigned v = 0; v < 16; ++v) {
            const png_color& c = read.palette[v];
            EXPECT_EQ(uint32_t(c.red | c.green << 8 | c.blue << 16), rendered[16 * line + v]);
            EXPECT_EQ(read.samples[v], v); // the tile's first two rows
        }
        // Read back with the same coloured palette: the same bytes, and no difference noted.
        const TilesFromPng back =
            PngToTiles(ReadPng(file, "a.png"), "a.png", ReadTilePalette(rom, 0x100, line), {});
        EXPECT_EQ(back.data, tiles);
        EXPECT_FALSE(back.paletteDifference) << back.paletteDifference->value;
        // A compress takes the length it records, not the size of the entry it replaces.
        const CompressInput input = ReadCompressInput(
            Write("a.png", file), [&] { return ReadTilePalette(rom, 0x100, line); },
            [] { return std::optional<uint64_t>(64); });
        EXPECT_EQ(input.data, tiles);
    }
    // A line that ends with the file is read; one the file ends inside is refused (0x180 bytes).
    const std::tuple<uint32_t, unsigned, bool> lines[] = {
        {0x120, 2, true}, {0x121, 2, false}, {0x160, 0, true}, {0x101, 3, false}};
    for (const auto& [offset, line, read] : lines)
        EXPECT_EQ(WordsOf<FileError>([&, o = offset, l = line] { ReadTilePalette(rom, o, l); }),
                  read ? ""
                       : rom + ": too short: palette line " + std::to_string(line) +
                             " of the palette at " + HexText(offset) + " ends at " +
                             HexText(offset + 32 * (line + 1)) + ", the file ends at 0x180");
    EXPECT_THROW(ReadTilePalette(rom, 0x100, 4), RefusedError);
}

DecodedPng Picture(uint32_t width, uint32_t height, PngPixels pixels, uint8_t bits,
                   std::vector<std::pair<PixelPosition, std::vector<uint32_t>>> set = {}) {
    DecodedPng image{width, height, pixels, bits, 0, 0, 0, {}, {}, {}};
    image.data.assign(width * height * image.BytesPerPixel(), 0);
    for (const auto& [at, samples] : set) {
        uint8_t* to = image.data.data() + (at.y * width + at.x) * image.BytesPerPixel();
        for (uint32_t sample : samples) {
            if (bits == 16) *to++ = uint8_t(sample >> 8);
            *to++ = uint8_t(sample);
        }
    }
    return image;
}

TEST_F(GraphicsTileSheet, RefusesWhatIsNotTilesNamingThePixel) {
    const auto recorded = [](const char* text) {
        DecodedPng image = Picture(8, 8, PngPixels::Indices, 8);
        image.texts = {{TILE_DATA_KEYWORD, text}};
        return image;
    };
    // A picture whose palette is two of the ramp's colours: not the line, so its colours decide,
    // and index 9 has none.
    const auto shortPlte = [] {
        DecodedPng image = Picture(8, 16, PngPixels::Indices, 8, {{{3, 9}, {9}}});
        image.palette = {0x000000, 0x222222};
        return image;
    };
    struct Case {
        DecodedPng image;
        std::string message;
        std::optional<uint64_t> keep = {};
        bool known = false; // the palette is known, not the ramp standing in
    };
    const Case cases[] = {
        {Picture(16, 8, PngPixels::Rgb, 8, {{{5, 3}, {1, 2, 3}}}),
         "the colour #010203 at x 5, y 3 is not in the grey ramp"},
        {Picture(8, 8, PngPixels::RgbAlpha, 16, {{{7, 7}, {0x1101, 0x1100, 0x1100, 0xFFFF}}}),
         "the colour #110111001100 at x 7, y 7"},
        {Picture(8, 16, PngPixels::Indices, 8, {{{2, 9}, {16}}}),
         "the palette index 16 at x 2, y 9 is above 15"},
        {shortPlte(), "the colour of palette index 9 at x 3, y 9 is not in", {}, true},
        {Picture(13, 8, PngPixels::Rgb, 8), "the picture is 13 x 8 pixels"},
        {Picture(16, 16, PngPixels::Rgb, 8),
         "the picture holds 4 tiles, fewer than the 5 tiles (129 bytes) to keep", 4 * 32 + 1},
        {recorded("2 tiles, 99 bytes"),
         "the recorded tile data \"2 tiles, 99 bytes\" is not of the form"},
        {recorded("2 tiles, 64"), "the recorded tile data \"2 tiles, 64\" is not of the form"},
        {recorded("0 tiles, 18446744073709551616 bytes"),
         "the recorded tile data \"0 tiles, 18446744073709551616 bytes\" is not of the form"},
    };
    for (const Case& c : cases) {
        TilePalette palette = GreyRampPalette();
        palette.known = c.known;
        auto convert = [&] { PngToTiles(c.image, "in.png", palette, c.keep); };
        EXPECT_TRUE(Holds(WordsOf<RefusedError>(convert), "in.png: " + c.message)) << c.message;
    }
    EXPECT_EQ(SheetSizeFor(MAX_SHEET_DATA, 256).rows, 2048u);
    EXPECT_THROW(SheetSizeFor(MAX_SHEET_DATA, 2047), RefusedError); // 2056 rows of 16376 pixels
    // Refused before the file is touched: the folder that isn't there is never reached.
    EXPECT_THROW(SaveTilesPng(Bytes(32), GreyRampPalette(), 0, "/no such folder/a.png"),
                 RefusedError);
    for (const auto& [bytes, tiles, height] :
         {std::tuple(2048 * 32 + 1, "2049", "16392"), {4096 * 32, "4096", "32768"}}) {
        EXPECT_EQ(WordsOf<RefusedError>([b = bytes] { SheetSizeFor(b, 1); }),
                  std::string(tiles) + " tiles at 1 a row make a picture of 8 x " + height +
                      " pixels, more than a picture may have (16384 pixels a side, 33554432 in "
                      "all); take at least 2 tiles a row");
    }
}

TEST_F(GraphicsTileSheet, TransparentIsZeroAndWhatIsLeftOutIsReported) {
    // The first pixel of the first byte not kept (byte 32: x 8 and 9 of row 0) is not blank.
    const DecodedPng image = Picture(16, 8, PngPixels::RgbAlpha, 8, // all black, alpha 0
                                     {{{3, 2}, {1, 2, 3, 0}},       // transparent: 0
                                      {{4, 2}, {68, 68, 68, 128}},  // grey 4, alpha ignored
                                      {{9, 0}, {17, 17, 17, 255}},  // grey 1, in byte 32
                                      {{12, 5}, {9, 9, 9, 255}}});  // foreign, in tile 1
    // The bytes to keep, the length recorded, the bytes kept, the first pixel left out.
    const std::tuple<std::optional<uint64_t>, const char*, size_t, PixelPosition> cases[] = {
        {32, nullptr, 32, {9, 0}},
        {{}, "1 tiles, 32 bytes", 32, {9, 0}},
        {{}, "2 tiles, 33 bytes", 33, {12, 5}}};
    for (const auto& [keep, record, kept, dropped] : cases) {
        DecodedPng recorded = image;
        if (record) recorded.texts = {{TILE_DATA_KEYWORD, record}};
        const TilesFromPng tiles = PngToTiles(recorded, "in.png", GreyRampPalette(), keep);
        Bytes expected(kept, 0);
        expected[2 * 4 + 2] = 0x40; // (4, 2): row 2, left of byte 2
        if (expected.size() == 33) expected[32] = 0x01;
        EXPECT_EQ(std::tie(tiles.data, tiles.lengthRecorded), std::tuple(expected, !!record));
        ASSERT_TRUE(tiles.droppedPixel);
        EXPECT_EQ(std::tie(tiles.droppedPixel->x, tiles.droppedPixel->y),
                  std::tie(dropped.x, dropped.y));
    }

    // The first value whose colour differs is noted, with the picture's colour.
    DecodedPng indexed = Picture(8, 8, PngPixels::Indices, 8);
    indexed.palette = {0, 0x111111, 0x123456, 0x654321};
    const auto difference = PngToTiles(indexed, "in.png", GreyRampPalette(), {}).paletteDifference;
    ASSERT_TRUE(difference);
    EXPECT_EQ(std::tie(difference->value, difference->pictureColour), std::tuple(2u, 0x123456u));
    indexed.palette[0] = 0x000001; // colour 0 is compared too
    EXPECT_EQ(PngToTiles(indexed, "in.png", GreyRampPalette(), {}).paletteDifference->value, 0u);
    // A palette shorter or longer than a line, agreeing where both have colours: no difference.
    const TilePalette grey = GreyRampPalette();
    for (const size_t size : {size_t(2), size_t(17)}) {
        indexed.palette.assign(grey.colours.begin(), grey.colours.begin() + std::min(size, 16ul));
        indexed.palette.resize(size, 0xABCDEF);
        EXPECT_FALSE(PngToTiles(indexed, "in.png", grey, {}).paletteDifference) << size;
    }
}

} // namespace
} // namespace drovak
