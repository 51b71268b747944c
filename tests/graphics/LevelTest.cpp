#include "GraphicsTestSupport.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "graphics/Level.h"
#include "rom/PointerTable.h"
#include "rom/RomLayout.h"
#include "support/WordsOf.h"

namespace drovak {
namespace {

using namespace test;
using GraphicsLevelPictures = GraphicsTest;

// A definition word names its block and its place among the block's 16 words in bits that the
// 0x39FF mask keeps (block in bits 0-7, place in bits 8 and 11-13); bits 9, 10, 14 and 15 are
// set everywhere and must be masked off. Plane B's definitions are those of block n ^ 0x55, so
// that reading the other plane's definitions shows.
uint16_t DefinitionWord(unsigned block, unsigned place) {
    return uint16_t(block | (place & 1) << 8 | (place >> 1) << 11 | 0xC600);
}
uint8_t Layout(bool planeB, unsigned column, unsigned row) {
    return uint8_t(planeB ? column * 3 + row * 29 + 1 : column * 5 + row * 17);
}

LevelData SyntheticLevel() {
    LevelData level;
    level.blockData.assign(0x7000, 0);
    for (unsigned n = 0; n < 256; ++n)
        for (unsigned place = 0; place < 16; ++place)
            for (bool planeB : {false, true})
                StoreBigEndian16(&level.blockData[0x2000 * planeB + 32 * n + 2 * place],
                                 DefinitionWord(n ^ (planeB ? 0x55 : 0), place));
    for (unsigned column = 0; column < 512; ++column)
        for (unsigned row = 0; row < 16; ++row) {
            level.blockData[0x4000 + 16 * column + row] = Layout(false, column, row);
            if (row < 8) level.blockData[0x6000 + 8 * column + row] = Layout(true, column, row);
        }
    return level;
}

// All 64 x 64 words of a plane's name table from layout column `first` on; layout bytes at or
// past `dataSize` are missing, and so are the blocks below Plane B's eight rows: such cells are 0.
void ExpectNameTable(const LevelData& level, bool planeB, unsigned first,
                     size_t dataSize = 0x7000) {
    const Bytes table = BuildLevelNameTable(level, planeB, first);
    ASSERT_EQ(table.size(), 8192u);
    const unsigned rows = planeB ? 8 : 16;
    for (unsigned row = 0; row < 64; ++row)
        for (unsigned column = 0; column < 64; ++column) {
            const unsigned blockColumn = first + column / 4, blockRow = row / 4;
            const size_t layoutAt = (planeB ? 0x6000 : 0x4000) + rows * blockColumn + blockRow;
            uint16_t expected = 0;
            if (blockRow < rows && layoutAt < dataSize) {
                const unsigned block = Layout(planeB, blockColumn, blockRow);
                expected = DefinitionWord(block ^ (planeB ? 0x55 : 0), 4 * (row % 4) + column % 4);
            }
            ASSERT_EQ(LoadBigEndian16(&table[2 * (64 * row + column)]), expected & 0x39FF)
                << (planeB ? "B" : "A") << " from " << first << " at " << column << "," << row;
        }
}

TEST(GraphicsLevelNameTable, BlocksComeColumnByColumnFromTheLayout) {
    LevelData level = SyntheticLevel();
    for (unsigned first : {0u, 37u, 496u})
        for (const bool planeB : {false, true}) ExpectNameTable(level, planeB, first);
    // Decoded data that ends early: Plane A's layout stops inside column 2, Plane B's is gone.
    const size_t cut = 0x4000 + 16 * 2 + 5;
    level.blockData.resize(cut);
    for (const bool planeB : {false, true}) ExpectNameTable(level, planeB, 0, cut);
    level.blockData.resize(3);
    EXPECT_EQ(BuildLevelNameTable(level, false, 0), Bytes(8192, 0));
    // The list and the file names count the levels from 1.
    EXPECT_EQ(LevelListItem(0) + " " + LevelListItem(7) + " " + DefaultLevelPngName(7, true),
              "LEVEL 01 LEVEL 08 Level_08_PlaneB.png");
}

TEST_F(GraphicsLevelPictures, PlaneBLowerHalfIsTileZeroOnLineZero) {
    LevelData level = SyntheticLevel();
    level.tileArt = SolidTile(5);
    level.palette = MarkerPalette();
    const PreviewImage image = AssembleLevel(level, true, 100);
    ASSERT_EQ(image.Pixels.size(), 512u * 512);
    EXPECT_TRUE(std::all_of(image.Pixels.begin() + 512 * 256, image.Pixels.end(),
                            [](uint32_t pixel) { return pixel == MarkerPalette()[5]; }));
}

TEST_F(GraphicsLevelPictures, ExportScreenIsTheViewerAtSixteenTimesTheScreen) {
    const std::string rom = Write("demo.bin", DemoRomBytes());
    const LevelData level7 = DecodeLevel(rom, 7);
    for (bool planeB : {false, true}) {
        const PreviewImage viewer = AssembleLevel(level7, planeB, 496);
        EXPECT_EQ(AssembleLevelScreen(level7, planeB, 31).Pixels, viewer.Pixels);
        EXPECT_NE(AssembleLevel(level7, planeB, 0).Pixels, viewer.Pixels);
    }
    const LevelData level3 = DecodeLevel(rom, 3);
    EXPECT_EQ(level3.palette, ConvertPalette(std::span(DemoRomBytes()).subspan(0x5FD80, 128)));
    EXPECT_NE(level3.palette, DecodeLevel(rom, 2).palette);
}

TEST_F(GraphicsLevelPictures, UnreadableLevelsAreErrors) {
    Bytes bytes = DemoRomBytes();
    EXPECT_THROW(DecodeLevel(File("missing.bin"), 0), FileError);
    EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] { DecodeLevel(Write("demo.bin", bytes), 8); }),
                      "There is no level 9: the game has 8"));
    bytes.resize(0x20000 + 2 + 12 * 16 + 6); // the table ends inside entry 16
    EXPECT_THROW(DecodeLevel(Write("cut-table.bin", bytes), 0), FileError);
    bytes = DemoRomBytes();
    bytes.resize(0x20200); // the table is whole, the data it points at is not there
    EXPECT_THROW(DecodeLevel(Write("cut-data.bin", bytes), 0), FileError);
    // An entry that holds nothing may point anywhere.
    MemoryStream empty(DemoRomBytes());
    WriteTableEntry(empty, POINTER_TABLE_OFFSET, TileArtEntry(0), {.DataOffset = 0xFFFFFF});
    EXPECT_TRUE(DecodeLevel(Write("empty.bin", empty.Data()), 0).tileArt.empty());
}

} // namespace
} // namespace drovak
