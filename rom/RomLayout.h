#pragma once

#include <cstdint>

namespace drovak {

// Where the game's data lies in its ROM image: the one home of every address and entry number
// the program reads, and of the defaults the window and the command line start from.

// The ROM image the window opens at start-up when it lies beside the program.
constexpr const char* DEFAULT_ROM_NAME = "tf3.bin";

// The cartridge header's checksum: the 16-bit sum of the big-endian words from 0x200 to the end
// of the image (an odd last byte counts as a high byte), stored big-endian at 0x18E.
constexpr uint32_t HEADER_CHECKSUM_OFFSET = 0x18E;
constexpr uint32_t CHECKSUM_START = 0x200;

// The pointer table of the game's LZHUF-compressed data (the LZH page's default table).
constexpr uint32_t POINTER_TABLE_OFFSET = 0x20000;
// The entry the LZH page starts on.
constexpr uint32_t DEFAULT_TABLE_INDEX = 0;

// The game's levels, 0 to 7 (shown as 1 to 8). Level n's tile art is entry 8 + n of the pointer
// table, its block data entry 16 + n, its palette the 128 bytes at 0x5FC00 + 128 x n.
constexpr unsigned LEVEL_COUNT = 8;
constexpr uint32_t TILE_ART_ENTRY = 8;
constexpr uint32_t BLOCK_DATA_ENTRY = 16;
constexpr uint32_t LEVEL_PALETTE_OFFSET = 0x5FC00;
constexpr uint32_t PALETTE_SIZE = 128; // 64 big-endian colour words
constexpr uint32_t TileArtEntry(unsigned level) {
    return TILE_ART_ENTRY + level;
}
constexpr uint32_t BlockDataEntry(unsigned level) {
    return BLOCK_DATA_ENTRY + level;
}
constexpr uint32_t LevelPaletteOffset(unsigned level) {
    return LEVEL_PALETTE_OFFSET + PALETTE_SIZE * level;
}

// The RLE block the RLE page starts on (a sprite sheet).
constexpr uint32_t DEFAULT_RLE_OFFSET = 0x48120;
// The palette the two compression pages draw their tile sheets with.
constexpr uint32_t PREVIEW_PALETTE_OFFSET = 0x5A000;

// The title-screen background: its palette, its name table (masked tiles) and its art (RLE).
constexpr uint32_t TITLE_PALETTE_OFFSET = 0x6DA56;
constexpr uint32_t TITLE_NAME_TABLE_OFFSET = 0x6DA78;
// The title palette's colours (17): the name table follows them.
constexpr unsigned TITLE_PALETTE_COLOURS = (TITLE_NAME_TABLE_OFFSET - TITLE_PALETTE_OFFSET) / 2;
constexpr uint32_t TITLE_ART_OFFSET = 0x6DDB4;

} // namespace drovak
