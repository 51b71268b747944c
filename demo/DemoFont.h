#pragma once

namespace drovak::demo {

constexpr int GLYPH_WIDTH = 5;
constexpr int GLYPH_HEIGHT = 7;

// Whether pixel (x, y) of the 5 x 7 glyph of c is set; x from the left, y from the top. Covers
// A-Z, 0-9 and space; any other character is blank.
bool GlyphPixel(char c, int x, int y);

} // namespace drovak::demo
