#pragma once

#include <cstdint>
#include <vector>

namespace drovak::demo {

// The tiles of one page-sized sheet (64 x 28 tiles, a 512 x 224 picture drawn with the preview
// palette): a background pattern that differs from entry to entry, "DEMO", "ENTRY nn" with the
// entry number in hexadecimal, a colour bar and shapes. Tiles run row by row, as a sheet is
// drawn without a name table.
std::vector<uint8_t> MakeTileSheet(unsigned entry);

// A sprite sheet of the same size whose tiles run in columns of four (cells of 1 x 4 tiles, the
// order of sprite tiles): "DEMO", "SPRITES", ships and balls.
std::vector<uint8_t> MakeSpriteSheet();

} // namespace drovak::demo
