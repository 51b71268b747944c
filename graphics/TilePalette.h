#pragma once

#include "graphics/PaletteOrigin.h"
#include "graphics/Renderer.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace drovak {

constexpr unsigned PALETTE_LINE_COUNT = 4;
constexpr unsigned PALETTE_LINE_COLOURS = 16;

// The 16 colours a tile's pixel values 0 to 15 stand for, in PaletteTable form, and where they
// were read (for messages).
struct TilePalette {
    std::array<uint32_t, PALETTE_LINE_COLOURS> colours{};
    PaletteSource source;
    // The colours the game shows (read from a ROM). The grey ramp stands in when no palette is
    // known: a palette picture's values are then taken as they are.
    bool known = true;
};

// Line origin.line (0 to 3) of a converted 64-colour palette, read at origin.offset of origin.rom.
// The line number of `origin` is the line taken.
TilePalette PaletteLineOf(const PaletteTable& palette, PaletteOrigin origin);

// Line `line` of the palette at paletteOffset of a ROM image, converted as the renderer
// converts it. FileError when the ROM can't be read or ends before the line's 32 bytes.
TilePalette ReadTilePalette(const std::string& romPath, uint32_t paletteOffset, unsigned line);

// Without a ROM: value v is the grey v x 17 (0, 17, ... 255).
TilePalette GreyRampPalette();

// The first value whose colour a lower value has too, with that lower value: an RGB copy of a
// picture can't tell them apart and gives back the lower one.
std::optional<std::pair<unsigned, unsigned>> RepeatedColour(const TilePalette& palette);

// "#RRGGBB" of a PaletteTable colour.
std::string ColourText(uint32_t colour);

} // namespace drovak
