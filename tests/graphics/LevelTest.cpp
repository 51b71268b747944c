#include "GraphicsTestSupport.h"

#include "compression/ByteOrder.h"
#include "compression/Errors.h"
#include "graphics/Level.h"

#include <gtest/gtest.h>

#include <memory>

namespace drovak {
namespace {

using namespace graphics_test;

// Every word of the synthetic block definitions tells which block and which of its 16 places
// it comes from, in bits the 0x39FF mask keeps: the block's identity in bits 0-7, the place in
// bits 8 and 11-13. Plane B's blocks have identities n ^ 0x55, so that reading the wrong
// plane's definitions shows. Bits 9, 10, 14 and 15 are set everywhere and must be masked off.
uint16_t DefinitionWord(uint8_t identity, unsigned place) {
    return uint16_t(identity | (place & 1) << 8 | (place >> 1) << 11 | 0xC600);
}
uint8_t PlaneALayout(unsigned column, unsigned row) {
    return uint8_t(column * 5 + row * 17);
}
uint8_t PlaneBLayout(unsigned column, unsigned row) {
    return uint8_t(column * 3 + row * 29 + 1);
}
constexpr uint8_t PLANE_B_IDENTITY = 0x55;

LevelData SyntheticLevel() {
    LevelData level;
    level.blockData.assign(0x7000, 0);
    uint8_t* data = level.blockData.data();
    for (unsigned n = 0; n < 256; ++n) {
        for (unsigned place = 0; place < 16; ++place) {
            StoreBigEndian16(data + 32 * n + 2 * place, DefinitionWord(uint8_t(n), place));
            StoreBigEndian16(data + 0x2000 + 32 * n + 2 * place,
                             DefinitionWord(uint8_t(n ^ PLANE_B_IDENTITY), place));
        }
    }
    for (unsigned column = 0; column < 512; ++column) {
        for (unsigned row = 0; row < 16; ++row)
            data[0x4000 + 16 * column + row] = PlaneALayout(column, row);
        for (unsigned row = 0; row < 8; ++row)
            data[0x6000 + 8 * column + row] = PlaneBLayout(column, row);
    }
    return level;
}

uint16_t NameAt(const std::vector<uint8_t>& table, unsigned column, unsigned row) {
    return LoadBigEndian16(table.data() + 2 * (64 * row + column));
}

// The word expected at name-table cell (column, row) when block column c of the picture shows
// layout column firstColumn + c; 0 where nothing is drawn.
uint16_t ExpectedName(bool planeB, unsigned firstColumn, unsigned column, unsigned row,
                      size_t dataSize = 0x7000) {
    unsigned blockColumn = column / 4;
    unsigned blockRow = row / 4;
    unsigned rows = planeB ? 8 : 16;
    if (blockRow >= rows) return 0;
    size_t layoutAt = (planeB ? 0x6000 : 0x4000) + rows * (firstColumn + blockColumn) + blockRow;
    if (layoutAt >= dataSize) return 0;
    uint8_t block = planeB ? PlaneBLayout(firstColumn + blockColumn, blockRow)
                           : PlaneALayout(firstColumn + blockColumn, blockRow);
    uint8_t identity = planeB ? uint8_t(block ^ PLANE_B_IDENTITY) : block;
    return DefinitionWord(identity, 4 * (row % 4) + column % 4) & 0x39FF;
}

void ExpectNameTable(const std::vector<uint8_t>& table, bool planeB, unsigned firstColumn,
                     size_t dataSize = 0x7000) {
    ASSERT_EQ(table.size(), 8192u);
    for (unsigned row = 0; row < 64; ++row) {
        for (unsigned column = 0; column < 64; ++column) {
            ASSERT_EQ(NameAt(table, column, row),
                      ExpectedName(planeB, firstColumn, column, row, dataSize))
                << (planeB ? "B" : "A") << " from " << firstColumn << " at " << column << ","
                << row;
        }
    }
}

TEST(LevelNameTable, BlocksComeColumnByColumnFromTheLayout) {
    const LevelData level = SyntheticLevel();
    for (unsigned first : {0u, 37u, 496u}) {
        ExpectNameTable(BuildLevelNameTable(level, false, first), false, first);
        ExpectNameTable(BuildLevelNameTable(level, true, first), true, first);
    }
}

TEST(LevelNameTable, WordsKeepOnlyTheBitsOf0x39FF) {
    struct Case {
        uint16_t stored, kept;
    };
    const Case cases[] = {{0xFFFF, 0x39FF}, {0xC123, 0x0123}, {0x0600, 0x0000}, {0x3801, 0x3801}};
    for (const Case& c : cases) {
        LevelData level;
        level.blockData.assign(0x4010, 0);
        StoreBigEndian16(level.blockData.data(), c.stored); // block 0, first word
        EXPECT_EQ(NameAt(BuildLevelNameTable(level, false, 0), 0, 0), c.kept)
            << std::hex << c.stored;
    }
}

TEST(LevelNameTable, LayoutPastTheDecodedDataLeavesZeroWords) {
    LevelData level = SyntheticLevel();
    // Plane A: columns 0 and 1 whole, column 2 down to its fifth block.
    const size_t cutA = 0x4000 + 16 * 2 + 5;
    level.blockData.resize(cutA);
    ExpectNameTable(BuildLevelNameTable(level, false, 0), false, 0, cutA);
    // Plane B's layout is missing entirely; its definitions are there.
    ExpectNameTable(BuildLevelNameTable(level, true, 0), true, 0, cutA);
    // Nothing but half a definition.
    level.blockData.resize(3);
    std::vector<uint8_t> table = BuildLevelNameTable(level, false, 0);
    EXPECT_EQ(table, std::vector<uint8_t>(8192, 0));
}

TEST(RenderLevel, PlaneBLowerHalfIsTileZeroOnLineZero) {
    LevelData level = SyntheticLevel();
    // Tile 0: pixel value x + y (mod 16), so every row of it differs.
    level.tileArt.assign(32 * 600, 0);
    for (unsigned y = 0; y < 8; ++y) {
        for (unsigned x = 0; x < 8; x += 2) {
            level.tileArt[4 * y + x / 2] = uint8_t((x + y) << 4 | (x + y + 1));
        }
    }
    level.palette = MarkerPalette();
    auto frame = std::make_unique<FrameBuffer>();
    PreviewImage image = RenderLevel(level, true, 100, *frame);
    ASSERT_EQ(image.Width, 512);
    ASSERT_EQ(image.Height, 512);
    for (unsigned y = 256; y < 512; ++y) {
        for (unsigned x = 0; x < 512; ++x) {
            ASSERT_EQ(PixelAt(image, x, y), level.palette[(x % 8 + y % 8) % 16]) << x << "," << y;
        }
    }
}

class DemoRomLevels : public ::testing::Test {
protected:
    TempFolder folder;
    std::string rom = folder.Write("demo.bin", DemoRomBytes());
    std::unique_ptr<FrameBuffer> frame = std::make_unique<FrameBuffer>();
};

TEST_F(DemoRomLevels, ExportScreenIsTheViewerAtSixteenTimesTheScreen) {
    for (bool planeB : {false, true}) {
        PreviewImage viewer = AssembleLevel(rom, 7, planeB, true, 496, *frame);
        PreviewImage screen = AssembleLevel(rom, 7, planeB, false, 31, *frame);
        PreviewImage direct = RenderLevel(DecodeLevel(rom, 7), planeB, 496, *frame);
        EXPECT_EQ(viewer.Pixels, screen.Pixels);
        EXPECT_EQ(viewer.Pixels, direct.Pixels);
        PreviewImage start = AssembleLevel(rom, 7, planeB, true, 0, *frame);
        EXPECT_NE(start.Pixels, viewer.Pixels);
    }
}

TEST_F(DemoRomLevels, DecodesBothEntriesAndTheLevelsOwnPalette) {
    const std::vector<uint8_t>& bytes = DemoRomBytes();
    LevelData level3 = DecodeLevel(rom, 3);
    EXPECT_GE(level3.blockData.size(), 0x7000u);
    EXPECT_GE(level3.tileArt.size(), 528u * 32);
    EXPECT_EQ(level3.palette, ConvertPalette(bytes.data() + 0x5FD80, 128));
    EXPECT_NE(level3.palette, DecodeLevel(rom, 2).palette);
}

TEST_F(DemoRomLevels, UnreadableLevelsAreErrors) {
    std::vector<uint8_t> bytes = DemoRomBytes();
    EXPECT_THROW(DecodeLevel(folder.File("missing.bin"), 0), FileError);
    EXPECT_THROW(DecodeLevel(rom, 8), RefusedError);
    // The table ends inside entry 16.
    bytes.resize(0x20000 + 2 + 12 * 16 + 6);
    EXPECT_THROW(DecodeLevel(folder.Write("cut-table.bin", bytes), 0), FileError);
    // The table is whole but the data it points at lies past the end of the file.
    bytes = DemoRomBytes();
    bytes.resize(0x20200);
    EXPECT_THROW(DecodeLevel(folder.Write("cut-data.bin", bytes), 0), FileError);
    EXPECT_THROW(AssembleLevel(folder.File("cut-data.bin"), 0, false, true, 0, *frame), FileError);
}

TEST(LevelNames, ListItemsAndDefaultPngNames) {
    EXPECT_EQ(LevelListItem(0), "LEVEL 01");
    EXPECT_EQ(LevelListItem(7), "LEVEL 08");
    EXPECT_EQ(DefaultLevelPngName(0, false), "Level_01_PlaneA.png");
    EXPECT_EQ(DefaultLevelPngName(2, true), "Level_03_PlaneB.png");
    EXPECT_EQ(DefaultLevelPngName(7, true), "Level_08_PlaneB.png");
}

} // namespace
} // namespace drovak
