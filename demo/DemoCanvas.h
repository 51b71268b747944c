#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace drovak::demo {

// A picture of 4-bit pixel values (0..15, indices into one palette line) that the demo ROM
// generator paints and then cuts into 8 x 8 Mega Drive tiles. Drawing outside it is clipped.
class Canvas {
public:
    Canvas(int width, int height, uint8_t fill = 0);

    int Width() const { return width_; }
    int Height() const { return height_; }
    uint8_t At(int x, int y) const { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
    void Set(int x, int y, uint8_t value);

    void FillRect(int x, int y, int width, int height, uint8_t value);
    // A disc of the given radius around the point (cx, cy), which may lie between pixels: the
    // pixels whose centres are within the radius.
    void FillDisc(double cx, double cy, double radius, uint8_t value);
    // Text in the 5 x 7 font, each font pixel a scale x scale square, 6 x scale per character.
    void Text(int x, int y, std::string_view text, int scale, uint8_t value);
    // The same text drawn first in `shadow` one scale step down and right.
    void ShadowedText(int x, int y, std::string_view text, int scale, uint8_t value,
                      uint8_t shadow);
    // Pastes another canvas with its top-left corner at (x, y); pixels of value `transparent`
    // are skipped.
    void Paste(const Canvas& other, int x, int y, int transparent = -1);

private:
    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
};

// The width in pixels of text drawn at the given scale.
int TextWidth(std::string_view text, int scale);

// Appends the 32-byte tile of the 8 x 8 area whose top-left corner is (x, y): rows top first,
// two pixels per byte, the left pixel in the high nibble.
void AppendTile(const Canvas& canvas, int x, int y, std::vector<uint8_t>& tiles);

// Cuts the canvas into tiles row by row, left to right (the order in which a tile sheet is
// drawn without a name table).
std::vector<uint8_t> TilesRowByRow(const Canvas& canvas);

// Cuts the canvas into cells of 1 x cellTiles tiles, cells row by row, the tiles of a cell
// top to bottom (the column order of sprite tiles).
std::vector<uint8_t> TilesInColumns(const Canvas& canvas, int cellTiles);

} // namespace drovak::demo
