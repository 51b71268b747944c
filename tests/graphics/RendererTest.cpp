#include "GraphicsTestSupport.h"

#include "base/Errors.h"

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
    for (const auto& [word, colour] : cases) {
        const uint8_t bytes[2] = {uint8_t(word >> 8), uint8_t(word)};
        EXPECT_EQ(ConvertPalette(bytes, 2)[0], colour) << std::hex << word;
    }
    Bytes rom(0x110, 0);
    rom[0x101] = 0x0E; // colour 0: red 224
    rom[0x10E] = 0x0E; // colour 7: blue 224, the last whole word of the file
    PaletteTable expected{};
    expected[0] = Rgb(224, 0, 0);
    expected[7] = Rgb(0, 0, 224);
    EXPECT_EQ(ReadPalette(Write("short.bin", rom), 0x100), expected);
    EXPECT_EQ(ConvertPalette(&rom[0x10E], 1)[0], Rgb(0, 0, 224)); // half a word: low byte 0
    EXPECT_EQ(ReadPalette(File("missing.bin"), 0), PaletteTable{});
}

TEST_F(GraphicsRenderTiles, NameTableWordsPlaceFlipAndColourTiles) {
    // Tile 0 is all value 0; tile 1 starts with the byte 0x12 (values 1 and 2), then all 3.
    Bytes art(64, 0x33);
    std::fill_n(art.begin(), 32, 0);
    art[32] = 0x12;
    struct Case {
        uint16_t word;
        unsigned oneX, oneY, twoX, line; // where values 1 and 2 land (same row), palette line
    };
    const Case cases[] = {
        {0x0001, 0, 0, 1, 0}, {0x0801, 7, 0, 6, 0}, {0x1001, 0, 7, 1, 0},
        {0x1801, 7, 7, 6, 0}, {0x6001, 0, 0, 1, 3}, {0x2801, 7, 0, 6, 1},
    };
    const PaletteTable palette = MarkerPalette();
    for (const Case& c : cases) {
        const Bytes names = Words({c.word});
        const PreviewImage image = Render(art, 1, 1, &names, *frame);
        for (unsigned y = 0; y < 8; ++y) {
            for (unsigned x = 0; x < 8; ++x) {
                unsigned value = y != c.oneY ? 3 : x == c.oneX ? 1 : x == c.twoX ? 2 : 3;
                EXPECT_EQ(PixelAt(image, x, y), palette[16 * c.line + value])
                    << std::hex << c.word << " at " << std::dec << x << "," << y;
            }
        }
    }
    // Value 0 is a colour like any other: line 2 gives colour 32, which is not black here.
    const Bytes line2 = Words({0x4000});
    EXPECT_EQ(Render(art, 1, 1, &line2, *frame).Pixels, std::vector<uint32_t>(64, palette[32]));
}

TEST_F(GraphicsRenderTiles, IndicesFrom496To511TakeTheTile16FurtherOn) {
    Bytes art;
    PutTile(art, 0x1EF, SolidTile(1));
    PutTile(art, 0x1F0, SolidTile(2)); // never drawn: index 0x1F0 means tile 512
    PutTile(art, 0x1FF, SolidTile(5)); // never drawn either
    PutTile(art, 512, SolidTile(3));
    PutTile(art, 527, SolidTile(4));
    const Bytes names = Words({0x1EF, 0x1F0, 0x1FF, 0x200, 0x20F});
    const PreviewImage image = Render(art, 5, 1, &names, *frame);
    const uint8_t expected[5] = {1, 3, 4, 3, 4};
    for (unsigned cell = 0; cell < 5; ++cell)
        EXPECT_EQ(PixelAt(image, 8 * cell + 3, 4), MarkerPalette()[expected[cell]]) << cell;
}

TEST_F(GraphicsRenderTiles, WithoutNameTableTilesRunRowByRowOrInColumnsOfCells) {
    Bytes art;
    for (uint8_t t = 0; t < 8; ++t) PutTile(art, t, SolidTile(uint8_t(t + 1)));
    const PaletteTable palette = MarkerPalette();
    const PreviewImage rows = Render(art, 4, 2, nullptr, *frame);
    const PreviewImage columns = Render(art, 2, 8, nullptr, *frame, 4);
    ASSERT_EQ(columns.Width, 16);
    ASSERT_EQ(columns.Height, 64);
    for (unsigned t = 0; t < 8; ++t) {
        EXPECT_EQ(PixelAt(rows, 8 * (t % 4) + 4, 8 * (t / 4) + 4), palette[t + 1]) << t;
        // 1 x 4 cells: tiles 0-3 stacked in the first column, 4-7 in the second.
        EXPECT_EQ(PixelAt(columns, 8 * (t / 4) + 4, 8 * (t % 4) + 4), palette[t + 1]) << t;
    }
    EXPECT_EQ(PixelAt(columns, 4, 40), 0u); // no data left for rows 32..63
}

TEST_F(GraphicsRenderTiles, ShortDataLeavesBlack) {
    const Bytes none;
    const PreviewImage empty = Render(SolidTile(1), 3, 2, &none, *frame);
    EXPECT_EQ(empty.Width, 24);
    EXPECT_EQ(empty.Pixels, std::vector<uint32_t>(24 * 16, 0));

    // An index whose data lies past the end of the art: that cell black, the next drawn.
    const Bytes beyond = Words({7, 0});
    const PreviewImage missing = Render(SolidTile(1), 2, 1, &beyond, *frame);
    EXPECT_EQ(PixelAt(missing, 4, 4), 0u);
    EXPECT_EQ(PixelAt(missing, 12, 4), MarkerPalette()[1]);
}

TEST_F(GraphicsRenderTiles, RefusesCellsOfNothingAndPicturesLargerThanTheFrameBuffer) {
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
