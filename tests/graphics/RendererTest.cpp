#include "GraphicsTestSupport.h"

#include "compression/Errors.h"
#include "graphics/Renderer.h"

#include <gtest/gtest.h>

#include <memory>

namespace drovak {
namespace {

using namespace graphics_test;

constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | g << 8 | b << 16;
}

// Tile 1 of the art below: pixel value 1 at the top-left corner, 2 right of it (the first byte
// is 0x12), 3 elsewhere.
std::vector<uint8_t> MarkedArt() {
    uint8_t pixels[64];
    std::fill(std::begin(pixels), std::end(pixels), 3);
    pixels[0] = 1;
    pixels[1] = 2;
    std::vector<uint8_t> art;
    PutTile(art, 1, TileOf(pixels));
    return art;
}

TEST(ColourConversion, IntensitiesBecomeMultiplesOf32) {
    struct Case {
        uint16_t word;
        uint32_t colour;
    };
    const Case cases[] = {
        {0x0EEE, Rgb(224, 224, 224)}, {0x0002, Rgb(32, 0, 0)},
        {0x0F00, Rgb(0, 0, 224)},   // bit 8 ignored
        {0xF111, Rgb(0, 0, 0)},     // bits 0, 4, 8, 12-15 ignored
        {0x0468, Rgb(128, 96, 64)}, // red 4, green 3, blue 2
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertColourWord(c.word), c.colour) << std::hex << c.word;
        const uint8_t bytes[2] = {uint8_t(c.word >> 8), uint8_t(c.word)};
        EXPECT_EQ(ConvertPalette(bytes, 2)[0], c.colour);
    }
}

TEST(ColourConversion, PaletteFromFile) {
    TempFolder folder;
    std::vector<uint8_t> rom(0x110, 0);
    rom[0x100] = 0x00, rom[0x101] = 0x0E; // red 224
    rom[0x10E] = 0x0E, rom[0x10F] = 0x00; // colour 7: blue 224; the file ends after it
    std::string path = folder.Write("short.bin", rom);
    PaletteTable palette = ReadPalette(path, 0x100);
    EXPECT_EQ(palette[0], Rgb(224, 0, 0));
    EXPECT_EQ(palette[7], Rgb(0, 0, 224));
    for (size_t i = 8; i < 64; ++i) EXPECT_EQ(palette[i], 0u) << i;
    // Half a colour word: its high byte counts, the low one is zero.
    EXPECT_EQ(ConvertPalette(&rom[0x10E], 1)[0], Rgb(0, 0, 224));
    EXPECT_EQ(ReadPalette(folder.File("missing.bin"), 0), PaletteTable{});
    EXPECT_EQ(ReadPalette(path, 0x1000), PaletteTable{});
}

TEST(RenderTiles, NameTableWordsPlaceFlipAndColourTiles) {
    struct Case {
        uint16_t word;
        unsigned markerX, markerY; // where pixel value 1 lands
        unsigned nextX;            // where value 2 lands (same row)
        unsigned line;
    };
    const Case cases[] = {
        {0x0001, 0, 0, 1, 0}, {0x0801, 7, 0, 6, 0}, {0x1001, 0, 7, 1, 0},
        {0x1801, 7, 7, 6, 0}, {0x6001, 0, 0, 1, 3}, {0x2801, 7, 0, 6, 1},
    };
    auto frame = std::make_unique<FrameBuffer>();
    for (const Case& c : cases) {
        std::vector<uint8_t> names = Words({c.word});
        PreviewImage image = Render(MarkedArt(), 1, 1, &names, *frame);
        const PaletteTable palette = MarkerPalette();
        for (unsigned y = 0; y < 8; ++y) {
            for (unsigned x = 0; x < 8; ++x) {
                unsigned value = x == c.markerX && y == c.markerY ? 1
                                 : x == c.nextX && y == c.markerY ? 2
                                                                  : 3;
                EXPECT_EQ(PixelAt(image, x, y), palette[16 * c.line + value])
                    << std::hex << c.word << " at " << std::dec << x << "," << y;
            }
        }
    }
}

TEST(RenderTiles, IndicesFrom496To511TakeTheTile16FurtherOn) {
    std::vector<uint8_t> art;
    PutTile(art, 0x1EF, SolidTile(1));
    PutTile(art, 0x1F0, SolidTile(2)); // never drawn: index 0x1F0 means tile 512
    PutTile(art, 0x1FF, SolidTile(5)); // never drawn either
    PutTile(art, 512, SolidTile(3));
    PutTile(art, 527, SolidTile(4));
    std::vector<uint8_t> names = Words({0x1EF, 0x1F0, 0x1FF, 0x200, 0x20F});
    auto frame = std::make_unique<FrameBuffer>();
    PreviewImage image = Render(art, 5, 1, &names, *frame);
    const uint8_t expected[5] = {1, 3, 4, 3, 4};
    for (unsigned cell = 0; cell < 5; ++cell) {
        EXPECT_EQ(PixelAt(image, 8 * cell + 3, 4), MarkerPalette()[expected[cell]]) << cell;
    }
}

TEST(RenderTiles, PixelValueZeroIsAColourLikeAnyOther) {
    std::vector<uint8_t> art(32, 0);
    PaletteTable palette{};
    palette[32] = Rgb(32, 64, 96);
    std::vector<uint8_t> names = Words({0x4000}); // tile 0, line 2
    auto frame = std::make_unique<FrameBuffer>();
    PreviewImage image = Render(art, 1, 1, &names, *frame, 1, palette);
    for (uint32_t pixel : image.Pixels) EXPECT_EQ(pixel, Rgb(32, 64, 96));
}

TEST(RenderTiles, WithoutNameTableTilesRunRowByRowOrInColumnsOfCells) {
    std::vector<uint8_t> art;
    for (uint8_t t = 0; t < 8; ++t) PutTile(art, t, SolidTile(uint8_t(t + 1)));
    auto frame = std::make_unique<FrameBuffer>();
    const PaletteTable palette = MarkerPalette();

    PreviewImage rows = Render(art, 4, 2, nullptr, *frame);
    PreviewImage columns = Render(art, 2, 8, nullptr, *frame, 4);
    ASSERT_EQ(columns.Width, 16);
    ASSERT_EQ(columns.Height, 64);
    for (unsigned t = 0; t < 8; ++t) {
        EXPECT_EQ(PixelAt(rows, 8 * (t % 4) + 4, 8 * (t / 4) + 4), palette[t + 1]) << t;
        // 1 x 4 cells: tiles 0-3 stacked in the first column, 4-7 in the second.
        EXPECT_EQ(PixelAt(columns, 8 * (t / 4) + 4, 8 * (t % 4) + 4), palette[t + 1]) << t;
    }
    // Rows 32..63 of the cell picture have no data left: black.
    EXPECT_EQ(PixelAt(columns, 4, 40), 0u);
}

TEST(RenderTiles, ShortDataLeavesBlack) {
    auto frame = std::make_unique<FrameBuffer>();
    const PaletteTable palette = MarkerPalette();

    // No name table at all words: the whole picture is black, at its full size.
    std::vector<uint8_t> none;
    PreviewImage empty = Render(SolidTile(1), 3, 2, &none, *frame);
    EXPECT_EQ(empty.Width, 24);
    EXPECT_EQ(empty.Height, 16);
    EXPECT_EQ(empty.Pixels, std::vector<uint32_t>(24 * 16, 0));

    // Two words and a stray byte for a 3 x 2 picture: two cells drawn, the rest black.
    std::vector<uint8_t> names = Words({0, 0});
    names.push_back(0);
    PreviewImage cut = Render(SolidTile(1), 3, 2, &names, *frame);
    EXPECT_EQ(PixelAt(cut, 4, 4), palette[1]);
    EXPECT_EQ(PixelAt(cut, 12, 4), palette[1]);
    EXPECT_EQ(PixelAt(cut, 20, 4), 0u);
    EXPECT_EQ(PixelAt(cut, 4, 12), 0u);

    // Tile data ending after one and a half tiles: the second tile's top half only.
    std::vector<uint8_t> art = SolidTile(1);
    art.resize(48, 0x22);
    PreviewImage half = Render(art, 3, 1, nullptr, *frame);
    EXPECT_EQ(PixelAt(half, 4, 4), palette[1]);
    EXPECT_EQ(PixelAt(half, 12, 3), palette[2]);
    EXPECT_EQ(PixelAt(half, 12, 4), 0u);
    EXPECT_EQ(PixelAt(half, 20, 0), 0u);

    // An index whose data lies past the end of the art: that cell black, the next drawn.
    std::vector<uint8_t> beyond = Words({7, 0});
    PreviewImage missing = Render(SolidTile(1), 2, 1, &beyond, *frame);
    EXPECT_EQ(PixelAt(missing, 4, 4), 0u);
    EXPECT_EQ(PixelAt(missing, 12, 4), palette[1]);
}

TEST(RenderTiles, FrameBufferGetsThePictureWithItsOwnRowLength) {
    std::vector<uint8_t> art;
    for (uint8_t t = 0; t < 6; ++t) PutTile(art, t, SolidTile(uint8_t(t + 1)));
    auto frame = std::make_unique<FrameBuffer>();
    frame->fill(0xABCDEF);
    PreviewImage image = Render(art, 3, 2, nullptr, *frame);
    for (size_t i = 0; i < image.Pixels.size(); ++i) ASSERT_EQ((*frame)[i], image.Pixels[i]) << i;
    // Row 1 of the picture starts at entry 24, not 512.
    EXPECT_EQ((*frame)[24], MarkerPalette()[1]);
    EXPECT_EQ((*frame)[24 * 8], MarkerPalette()[4]);
    EXPECT_EQ((*frame)[24 * 16], 0xABCDEFu);
    EXPECT_EQ(frame->back(), 0xABCDEFu);
}

TEST(RenderTiles, FileStreamsDrawLikeMemoryStreams) {
    TempFolder folder;
    std::vector<uint8_t> art = MarkedArt();
    art.resize(40, 0x5A);
    std::vector<uint8_t> names = Words({0x1801, 0x0002, 0x2001, 0x0801, 0x0000});
    FileStream artFile(folder.Write("art.bin", art), FileMode::Read);
    FileStream namesFile(folder.Write("names.bin", names), FileMode::Read);
    auto frame = std::make_unique<FrameBuffer>();
    PreviewImage fromFiles = RenderTiles(artFile, 1, 1, 3, 2, MarkerPalette(), &namesFile, *frame);
    PreviewImage fromMemory = Render(art, 3, 2, &names, *frame);
    EXPECT_EQ(fromFiles.Pixels, fromMemory.Pixels);
}

TEST(RenderTiles, RefusesCellsOfNothingAndPicturesLargerThanTheFrameBuffer) {
    auto frame = std::make_unique<FrameBuffer>();
    frame->fill(7);
    MemoryStream art(SolidTile(1));
    EXPECT_THROW(RenderTiles(art, 0, 1, 1, 1, MarkerPalette(), nullptr, *frame), RefusedError);
    EXPECT_THROW(RenderTiles(art, 1, 1, 65, 64, MarkerPalette(), nullptr, *frame), RefusedError);
    EXPECT_THROW(RenderTiles(art, 1, 1, 8192, 1, MarkerPalette(), nullptr, *frame), RefusedError);
    EXPECT_EQ((*frame)[0], 7u);
    EXPECT_NO_THROW(RenderTiles(art, 1, 1, 64, 64, MarkerPalette(), nullptr, *frame));
}

} // namespace
} // namespace drovak
