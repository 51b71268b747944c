#include "GraphicsTestSupport.h"

#include "base/Errors.h"
#include "compression/MaskedTileEncoder.h"
#include "compression/Rle.h"
#include "graphics/PlaneRenderer.h"
#include "graphics/PreviewPng.h"
#include "graphics/TitleScreen.h"
#include "support/LibpngCodec.h"

#include <tuple>

namespace drovak {
namespace {

using namespace test;
using GraphicsRenderTiles = GraphicsTest;

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

TEST_F(GraphicsRenderTiles, ColourWordsAndPalettesFromFiles) {
    const std::pair<uint16_t, uint32_t> cases[] = {
        {0x0EEE, Rgb(224, 224, 224)}, {0x0002, Rgb(32, 0, 0)},
        {0x0F00, Rgb(0, 0, 224)},   // bit 8 ignored
        {0xF111, Rgb(0, 0, 0)},     // bits 0, 4, 8, 12-15 ignored
        {0x0468, Rgb(128, 96, 64)}, // red 4, green 3, blue 2
    };
    for (const auto& [word, colour] : cases)
        EXPECT_EQ(ConvertPalette(Words({word}))[0], colour) << std::hex << word;
    Bytes rom(0x110, 0);
    rom[0x101] = 0x0E; // colour 0: red 224
    rom[0x10E] = 0x0E; // colour 7: blue 224, the last whole word of the file
    const PaletteTable expected{Rgb(224, 0, 0), 0, 0, 0, 0, 0, 0, Rgb(0, 0, 224)};
    MemoryStream stream(rom);
    EXPECT_EQ(std::tuple(ReadPalette(stream, 0x100), PaletteAt(rom, 0x100)),
              std::tie(expected, expected));
    EXPECT_EQ(PaletteAt(rom, 0x110), PaletteTable{}); // at the end: all black
    EXPECT_EQ(ConvertPalette(std::span(rom).subspan(0x10E, 1))[0],
              Rgb(0, 0, 224)); // half a word: low byte 0
}

TEST_F(GraphicsRenderTiles, NameTableWordsPlaceFlipAndColourTiles) {
    // Tile 0 is all value 0; tile 1 is all 3 but for its second row, which starts with the byte
    // 0x12 (values 1 and 2).
    Bytes art(64, 0x33);
    std::fill_n(art.begin(), 32, 0);
    art[36] = 0x12;
    // The word; where values 1 and 2 land (x and y of 1, x of 2 on the same row); the line.
    const std::tuple<uint16_t, unsigned, unsigned, unsigned, unsigned> cases[] = {
        {0x0001, 0, 1, 1, 0}, {0x0801, 7, 1, 6, 0}, {0x1001, 0, 6, 1, 0},
        {0x1801, 7, 6, 6, 0}, {0x6001, 0, 1, 1, 3}, {0x2801, 7, 1, 6, 1},
    };
    const PaletteTable palette = MarkerPalette();
    for (const auto& [word, oneX, oneY, twoX, line] : cases) {
        const Bytes names = Words({word});
        const PreviewImage image = Render(art, 1, 1, &names);
        for (unsigned y = 0; y < 8; ++y)
            for (unsigned x = 0; x < 8; ++x) {
                unsigned value = y != oneY ? 3 : x == oneX ? 1 : x == twoX ? 2 : 3;
                EXPECT_EQ(PixelAt(image, x, y), palette[16 * line + value])
                    << std::hex << word << " at " << std::dec << x << "," << y;
            }
    }
    // Value 0 is a colour like any other: line 2 gives colour 32, which is not black here.
    const Bytes line2 = Words({0x4000});
    EXPECT_EQ(Render(art, 1, 1, &line2).Pixels, std::vector<uint32_t>(64, palette[32]));
    // A tile whose every row holds the values 0 to 7: as a sheet, placed, and placed flipped.
    Bytes ramp(32);
    for (size_t k = 0; k < 32; ++k) ramp[k] = uint8_t(k % 4 * 2 << 4 | (k % 4 * 2 + 1));
    const Bytes placed = Words({0x0000}), flipped = Words({0x0800});
    for (const Bytes* names : {static_cast<const Bytes*>(nullptr), &placed, &flipped}) {
        const PreviewImage image = Render(ramp, 1, 1, names);
        for (unsigned y = 0; y < 8; ++y)
            for (unsigned x = 0; x < 8; ++x)
                ASSERT_EQ(PixelAt(image, x, y), palette[names == &flipped ? 7 - x : x])
                    << (names ? (*names)[0] : -1) << " at " << x << "," << y;
    }
    // Cells of two tiles, one above the other and side by side: a cell's rows run across it.
    const Bytes two = Cat(ramp, Bytes(32, 0x77));
    const PreviewImage tall = Render(two, 1, 2, &placed, 2);
    const PreviewImage wide = RenderTiles(two, 2, 1, 2, 1, palette, placed);
    for (unsigned k = 0; k < 16; ++k) {
        EXPECT_EQ(PixelAt(tall, 3, k), palette[k < 8 ? 3 : 7]) << k;
        EXPECT_EQ(std::pair(PixelAt(wide, k, 3), PixelAt(wide, k, 4)),
                  std::pair(palette[k % 8], palette[7]))
            << k;
    }
}

// Every pixel of each 8 x 8 cell of solid tiles: the palette value of its tile, or 0 for black.
TEST_F(GraphicsRenderTiles, CellsTakeTheirTilesOrStayBlack) {
    Bytes eight, far;
    for (uint8_t t = 0; t < 8; ++t) PutTile(eight, t, SolidTile(uint8_t(t + 1)));
    // Indices 0x1F0 to 0x1FF take the tile 16 further on: tiles 0x1F0 and 0x1FF are never drawn.
    for (auto [index, value] : {std::pair{0x1EF, 1}, {0x1F0, 2}, {0x1FF, 5}, {512, 3}, {527, 4}})
        PutTile(far, size_t(index), SolidTile(uint8_t(value)));
    const Bytes one = SolidTile(1), none, farNames = Words({0x1EF, 0x1F0, 0x1FF, 0x200, 0x20F});
    const Bytes pastTheArt = Words({7, 0});
    const std::tuple<const Bytes&, const Bytes*, uint16_t, uint16_t, uint8_t, std::vector<int>>
        cases[] = {
            {far, &farNames, 5, 1, 1, {1, 3, 4, 3, 4}},
            {eight, nullptr, 4, 2, 1, {1, 2, 3, 4, 5, 6, 7, 8}}, // without names: row by row
            {eight, nullptr, 2, 8, 4, {1, 5, 2, 6, 3, 7, 4, 8, 0, 0, 0, 0, 0, 0, 0, 0}}, // 1 x 4
            {one, &none, 3, 2, 1, {0, 0, 0, 0, 0, 0}},
            {one, &pastTheArt, 2, 1, 1, {0, 1}},
        };
    for (const auto& [art, names, width, height, cellHeight, values] : cases) {
        const PreviewImage image = Render(art, width, height, names, cellHeight);
        ASSERT_EQ(std::tie(image.Width, image.Height), std::tuple(8 * width, 8 * height));
        for (unsigned y = 0; y < image.Height; ++y)
            for (unsigned x = 0; x < image.Width; ++x) {
                const int value = values[y / 8 * width + x / 8];
                ASSERT_EQ(PixelAt(image, x, y), value ? MarkerPalette()[value] : 0)
                    << width << " x " << height << " at " << x << "," << y;
            }
    }
    // Cells two tiles wide on a picture three tiles wide: the second is cut at the right edge.
    // A cell row of 16 pixels is 8 bytes, so each solid tile gives four rows.
    const PreviewImage cut = RenderTiles(eight, 2, 1, 3, 1, MarkerPalette());
    for (unsigned y = 0; y < 8; ++y)
        for (unsigned x = 0; x < 24; ++x)
            ASSERT_EQ(PixelAt(cut, x, y), MarkerPalette()[(x < 16 ? 1 : 3) + (y >= 4)])
                << x << "," << y;
}

// Any rectangle of a plane is that part of the whole picture: within a cell, across cells, and
// black beyond the plane's cells.
TEST_F(GraphicsRenderTiles, AnyRectangleOfAPlaneIsThatPartOfTheWhole) {
    // Art for every tile a name can give; 19 of the 5 x 4 cells, flips too.
    const Bytes art = Pattern(2048 * 32), names = Pattern(38, 5);
    const TilePlane plane = PlaneOfNameTable(names, 5, 4);
    const PaletteTable palette = MarkerPalette();
    const PlaneRenderer renderer(plane, art, palette);
    const PreviewImage whole = renderer.Picture({0, 0, 40, 32});
    EXPECT_EQ(whole.Pixels, Render(art, 5, 4, &names).Pixels);
    for (const PixelRect& area :
         {PixelRect{3, 5, 1, 1}, PixelRect{7, 1, 10, 9}, PixelRect{0, 31, 40, 1},
          PixelRect{37, 29, 6, 6}, PixelRect{33, 0, 12, 8}}) {
        const PreviewImage part = renderer.Picture(area);
        for (uint32_t y = 0; y < area.height; ++y)
            for (uint32_t x = 0; x < area.width; ++x) {
                const uint32_t wx = area.x + x, wy = area.y + y;
                ASSERT_EQ(PixelAt(part, x, y), wx < 40 && wy < 32 ? PixelAt(whole, wx, wy) : 0)
                    << area.x << "," << area.y << " at " << x << "," << y;
            }
    }
}

TEST_F(GraphicsRenderTiles, RefusesCellsOfNothingAndPicturesLargerThanTheFrameBuffer) {
    const Bytes art = SolidTile(1);
    EXPECT_THROW(RenderTiles(art, 0, 1, 1, 1, MarkerPalette()), RefusedError);
    EXPECT_THROW(RenderTiles(art, 1, 1, 65, 64, MarkerPalette()), RefusedError);
    EXPECT_THROW(RenderTiles(art, 1, 1, 8192, 1, MarkerPalette()), RefusedError);
    // The largest picture fills the frame buffer exactly; a smaller one leaves the rest of it.
    frame->fill(7);
    CopyToFrameBuffer(RenderTiles(art, 1, 1, 64, 64, MarkerPalette()), *frame);
    EXPECT_EQ(std::count(frame->begin(), frame->end(), 7u), 0);
    frame->fill(7);
    CopyToFrameBuffer(RenderTiles(art, 1, 1, 1, 1, MarkerPalette()), *frame);
    EXPECT_EQ(std::tuple((*frame)[63], (*frame)[64]), std::tuple(MarkerPalette()[1], 7u));
}

TEST_F(GraphicsRenderTiles, TitleScreenRowsAre320PixelsLong) {
    frame->fill(0x123456);
    const PreviewImage image = RenderTitleScreen(Write("demo.bin", DemoRomBytes()));
    ASSERT_EQ(std::tie(image.Width, image.Height), std::tuple(320, 224));
    EXPECT_EQ(RenderTitleScreen(DemoRomBytes()).Pixels, image.Pixels);
    CopyToFrameBuffer(image, *frame);
    for (size_t i = 0; i < 320 * 224; ++i) ASSERT_EQ((*frame)[i], image.Pixels[i]) << i;
    EXPECT_EQ((*frame)[320 * 224], 0x123456u);
    // The border's corners are one tile drawn with the four flips: they mirror each other.
    for (unsigned i = 0; i < 64; ++i) {
        const unsigned x = i % 8, y = i / 8;
        const uint32_t topLeft = PixelAt(image, x, y);
        EXPECT_EQ(PixelAt(image, 319 - x, y), topLeft) << x << "," << y;
        EXPECT_EQ(PixelAt(image, x, 223 - y), topLeft) << x << "," << y;
        EXPECT_EQ(PixelAt(image, 319 - x, 223 - y), topLeft) << x << "," << y;
    }
    EXPECT_NE(PixelAt(image, 0, 0), PixelAt(image, 7, 7));
}

TEST_F(GraphicsRenderTiles, TitleScreenShortDataLeavesBlackCellsAndAMissingRomIsAFileError) {
    // Colour 1 red; the art one tile of value 1; the name table one masked tile: 16 words.
    Bytes rom(TITLE_ART_OFFSET, 0);
    rom[TITLE_PALETTE_OFFSET + 3] = 0x0E;
    const Bytes masked = MaskedTileEncode(Bytes(32, 0));
    std::copy(masked.begin(), masked.end(), rom.begin() + TITLE_NAME_TABLE_OFFSET);
    const Bytes packed = RleEncode(SolidTile(1)).bytes;
    rom.insert(rom.end(), packed.begin(), packed.end());
    PreviewImage image = RenderTitleScreen(Write("small.bin", rom));
    ASSERT_EQ(std::tie(image.Width, image.Height), std::tuple(320, 224));
    EXPECT_EQ(std::tuple(PixelAt(image, 0, 0), PixelAt(image, 16 * 8 - 1, 7),
                         PixelAt(image, 16 * 8, 0), PixelAt(image, 0, 8)),
              std::tuple(224u, 224u, 0u, 0u));

    // The art's header and half of its one run item; then nothing of the title data at all.
    for (const size_t size : {size_t(TITLE_ART_OFFSET + 5), size_t(0x1000)}) {
        rom.resize(size);
        EXPECT_EQ(RenderTitleScreen(Write("cut.bin", rom)).Pixels,
                  std::vector<uint32_t>(320 * 224, 0));
    }

    EXPECT_THROW(RenderTitleScreen(File("missing.bin")), FileError);
}

TEST_F(GraphicsRenderTiles, APreviewPngReplacesAnOldFileOrFailsLeavingEverythingAsItWas) {
    const PreviewImage image{3, 2, {0x010203, 0xFF000000u | 0x40, 0, 0, 0xFFFFFF, 0x800000}};
    const std::string path = File("out.png");
    std::ofstream(path) << std::string(100000, 'x');
    SavePreviewPng(image, path);
    const Bytes saved = ReadBytes(path);
    const LibpngPicture read = DecodeWithLibpng(saved);
    EXPECT_EQ(std::tie(read.width, read.height, read.colourType, read.bitDepth),
              std::tuple(3u, 2u, 2, 8));
    // Red, green, blue of each pixel; the top byte is not a colour.
    EXPECT_EQ(read.samples, (std::vector<uint16_t>{3, 2, 1, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255,
                                                   255, 0, 0, 0x80}));

    const std::string missingFolder = File("no such folder/out.png");
    EXPECT_TRUE(
        Holds(MessageOf<FileError>([&] { SavePreviewPng(image, missingFolder); }), missingFolder));
    // Nothing to save: the old file stays.
    EXPECT_THROW(SavePreviewPng(PreviewImage{}, path), RefusedError);
    EXPECT_THROW(SavePreviewPng(PreviewImage{3, 2, {1, 2, 3, 4, 5}}, path), RefusedError);
    EXPECT_EQ(ReadBytes(path), saved);
    // No temporary file is left beside it.
    EXPECT_EQ(EntriesIn(dir.path), 1);
}

} // namespace
} // namespace drovak
