#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::demo {

constexpr size_t LEVEL_BLOCK_DATA_SIZE = 0x7000;

// The uncompressed data of one demo level: its tile art (528 tiles, so that name-table indices
// 496..511 reach tiles 512..527) and its block data (block definitions and layouts of both
// planes over all 512 block columns).
struct DemoLevel {
    std::vector<uint8_t> tileArt;
    std::vector<uint8_t> blockData;
};

// Level 0..7. Plane A: "SCREEN nn" at the start of every 16 block columns, big "DEMO" and
// "LEVEL n" lettering every 128 columns, coins, brick pillars, arrows pointing right and hilly
// ground. Plane B: banded sky, clouds, mountains and "DEMO LEVEL n".
DemoLevel MakeDemoLevel(unsigned level);

} // namespace drovak::demo
