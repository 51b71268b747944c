#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::demo {

// A colour as three 3-bit intensities (0..7).
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

// The Mega Drive colour word of a colour: blue in bits 9-11, green 5-7, red 1-3.
constexpr uint16_t ColourWord(Rgb c) {
    return uint16_t(((c.b & 7) << 9) | ((c.g & 7) << 5) | ((c.r & 7) << 1));
}

// 64 colour words: four palette lines of 16.
using PaletteWords = std::array<uint16_t, 64>;

// The 128 big-endian bytes of a palette.
std::vector<uint8_t> PaletteBytes(const PaletteWords& palette);

// The palette of the compression pages' previews: line 0 a general set of 16 colours (black,
// blues, white and greys, reds to yellow, greens, purple); lines 1-3 ramps.
PaletteWords PreviewPalette();

// Colour roles of the level palettes. Line 0 is the foreground, line 1 the sky, the mountains
// and the big letters; lines 2 and 3 are loud warning colours that a correct picture never
// shows (level name-table words are masked to lines 0 and 1).
namespace level_colour {
// line 0
constexpr uint8_t MORTAR = 1, BRICK_DARK = 2, BRICK_LIGHT = 3, DIRT = 4, DIRT_SPECK = 5,
                  GRASS_DARK = 6, GRASS_LIGHT = 7, DISC_RING = 8, DISC_FILL = 9, ARROW = 10,
                  ARROW_EDGE = 11, WARNING_RED = 12, WARNING_YELLOW = 13;
// line 1 (colour 0 is the horizon colour again, so that empty tiles on line 1 show it)
constexpr uint8_t HORIZON_AGAIN = 0, SKY_FIRST = 1, HORIZON = 5, MOUNTAIN = 6, MOUNTAIN_EDGE = 7,
                  CLOUD = 9, CLOUD_SHADE = 10, LETTER_LIGHT = 11, LETTER_MID = 12, LETTER_DARK = 13;
// both lines
constexpr uint8_t SHADOW = 14, INK = 15;
constexpr int SKY_BANDS = 5; // sky colours SKY_FIRST .. HORIZON
} // namespace level_colour

// The palette of level 0..7; every level has its own colours.
PaletteWords LevelPalette(unsigned level);

// The title palette; only its first 17 colours are stored (the rest of the 128 bytes the
// renderer reads belong to the title name table).
constexpr size_t TITLE_PALETTE_COLOURS = 17;
PaletteWords TitlePalette();

namespace title_colour {
constexpr uint8_t STRIPE_DARK = 1, STRIPE_LIGHT = 2, FRAME_DARK = 13, FRAME_MID = 14,
                  FRAME_LIGHT = 15, LETTER_TOP = 12, LETTER_BOTTOM = 8, LETTER_EDGE = 7, INK = 6,
                  TEXT_BACK = 3;
} // namespace title_colour

} // namespace drovak::demo
