// What status --diff counts: the units of each kind that differ where both sides have them, and
// how many each side holds, a unit cut short counted as one.
#include "mod/PackDifferences.h"
#include "rom/LevelLayout.h"
#include "support/TestSupport.h"

namespace drovak {
namespace {

using test::Bytes;
using test::Pattern;

TEST(PackDifferences, UnitsDifferWhereBothSidesHoldThem) {
    const auto changed = [](Bytes data, std::initializer_list<size_t> at, size_t size) {
        for (const size_t k : at) data[k] ^= 1;
        data.resize(size, 0);
        return data;
    };
    const Bytes tiles = Pattern(65), blocks(0x7002, 0);
    const ModContent art{ModContentKind::TileArt, 0}, level{ModContentKind::LevelBlocks, 0};
    using U = DataUnit;
    const std::tuple<ModContent, Bytes, Bytes, std::vector<UnitDifferences>> cases[] = {
        {art, tiles, changed(tiles, {3, 64}, 65), {{U::Tile, {0, 2}, 3, 3}}},
        {art, Pattern(64), changed(Pattern(64), {}, 96), {{U::Tile, {}, 2, 3}}},
        {art, tiles, tiles, {}},
        {level,
         blocks,
         changed(blocks, {PLANE_B_DEFINITIONS + 32 * 3 + 31, PLANE_A_LAYOUT + 5, 0x7000}, 0x7003),
         {{U::PlaneBBlock, {3}, 256, 256}, {U::PlaneACell, {5}, 8192, 8192}, {U::Byte, {0}, 2, 3}}},
        {level,
         Bytes(0x1010, 0),
         changed(blocks, {5}, 0x7003),
         {{U::PlaneABlock, {0, 128}, 129, 256}, // the last block cut short
          {U::PlaneBBlock, {}, 0, 256},
          {U::PlaneACell, {}, 0, 8192},
          {U::PlaneBCell, {}, 0, 4096},
          {U::Byte, {}, 0, 3}}},
    };
    for (const auto& [content, before, after, expected] : cases)
        EXPECT_EQ(DataDifferences(content, before, after), expected) << after.size();
}

} // namespace
} // namespace drovak
