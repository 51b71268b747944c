#include "demo/DemoCanvas.h"

#include "demo/DemoFont.h"

namespace drovak::demo {

namespace {

constexpr int TILE_SIDE = 8;
constexpr int GLYPH_ADVANCE = GLYPH_WIDTH + 1;

} // namespace

Canvas::Canvas(int width, int height, uint8_t fill)
    : width_(width), height_(height), pixels_(size_t(width) * size_t(height), fill) {}

void Canvas::Set(int x, int y, uint8_t value) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[size_t(y) * size_t(width_) + size_t(x)] = value & 0x0F;
}

void Canvas::FillRect(int x, int y, int width, int height, uint8_t value) {
    for (int row = y; row < y + height; ++row) {
        for (int column = x; column < x + width; ++column) Set(column, row, value);
    }
}

void Canvas::FillDisc(double cx, double cy, double radius, uint8_t value) {
    for (int y = int(cy - radius) - 1; y <= int(cy + radius) + 1; ++y) {
        for (int x = int(cx - radius) - 1; x <= int(cx + radius) + 1; ++x) {
            double dx = x + 0.5 - cx;
            double dy = y + 0.5 - cy;
            if (dx * dx + dy * dy <= radius * radius) Set(x, y, value);
        }
    }
}

void Canvas::Text(int x, int y, std::string_view text, int scale, uint8_t value) {
    for (size_t i = 0; i < text.size(); ++i) {
        int left = x + int(i) * GLYPH_ADVANCE * scale;
        for (int gy = 0; gy < GLYPH_HEIGHT; ++gy) {
            for (int gx = 0; gx < GLYPH_WIDTH; ++gx) {
                if (GlyphPixel(text[i], gx, gy)) {
                    FillRect(left + gx * scale, y + gy * scale, scale, scale, value);
                }
            }
        }
    }
}

void Canvas::ShadowedText(int x, int y, std::string_view text, int scale, uint8_t value,
                          uint8_t shadow) {
    Text(x + scale, y + scale, text, scale, shadow);
    Text(x, y, text, scale, value);
}

void Canvas::Paste(const Canvas& other, int x, int y, int transparent) {
    for (int row = 0; row < other.Height(); ++row) {
        for (int column = 0; column < other.Width(); ++column) {
            uint8_t value = other.At(column, row);
            if (int(value) != transparent) Set(x + column, y + row, value);
        }
    }
}

int TextWidth(std::string_view text, int scale) {
    return text.empty() ? 0 : (int(text.size()) * GLYPH_ADVANCE - 1) * scale;
}

void AppendTile(const Canvas& canvas, int x, int y, std::vector<uint8_t>& tiles) {
    for (int row = 0; row < TILE_SIDE; ++row) {
        for (int column = 0; column < TILE_SIDE; column += 2) {
            auto pixel = [&](int dx) {
                int px = x + column + dx;
                int py = y + row;
                bool inside = px < canvas.Width() && py < canvas.Height();
                return inside ? canvas.At(px, py) : uint8_t(0);
            };
            tiles.push_back(uint8_t(pixel(0) << 4 | pixel(1)));
        }
    }
}

std::vector<uint8_t> TilesRowByRow(const Canvas& canvas) {
    std::vector<uint8_t> tiles;
    for (int y = 0; y < canvas.Height(); y += TILE_SIDE) {
        for (int x = 0; x < canvas.Width(); x += TILE_SIDE) AppendTile(canvas, x, y, tiles);
    }
    return tiles;
}

std::vector<uint8_t> TilesInColumns(const Canvas& canvas, int cellTiles) {
    std::vector<uint8_t> tiles;
    const int cellHeight = TILE_SIDE * cellTiles;
    for (int y = 0; y < canvas.Height(); y += cellHeight) {
        for (int x = 0; x < canvas.Width(); x += TILE_SIDE) {
            for (int t = 0; t < cellTiles; ++t) AppendTile(canvas, x, y + TILE_SIDE * t, tiles);
        }
    }
    return tiles;
}

} // namespace drovak::demo
