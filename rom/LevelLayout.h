#pragma once

#include <cstddef>

namespace drovak {

// Where the parts of a level's decoded block data lie, and the sizes of its blocks and planes.
constexpr size_t PLANE_A_DEFINITIONS = 0x0000; // 256 blocks of 32 bytes
constexpr size_t PLANE_B_DEFINITIONS = 0x2000;
constexpr size_t PLANE_A_LAYOUT = 0x4000; // 512 columns of 16 block numbers
constexpr size_t PLANE_B_LAYOUT = 0x6000; // 512 columns of 8 block numbers
constexpr unsigned LEVEL_BLOCK_COLUMNS = 512;
constexpr unsigned PLANE_A_BLOCK_ROWS = 16;
constexpr unsigned PLANE_B_BLOCK_ROWS = 8;
constexpr unsigned BLOCK_COLUMNS_SHOWN = 16; // one screen
constexpr size_t BLOCK_DEFINITION_BYTES = 32;
constexpr unsigned BLOCK_TILES = 4; // a block is 4 x 4 tiles
static_assert(PLANE_B_DEFINITIONS + 256 * BLOCK_DEFINITION_BYTES <= PLANE_A_LAYOUT &&
                  PLANE_A_LAYOUT < PLANE_B_LAYOUT,
              "the block definitions lie before the layouts");

} // namespace drovak
