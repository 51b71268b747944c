#include "demo/DemoLevelTiles.h"

#include "demo/DemoCanvas.h"
#include "demo/DemoPalettes.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

namespace drovak::demo {

namespace {

using namespace level_colour;

constexpr size_t TILE_BYTES = 32;
constexpr std::string_view PLAIN_CHARACTERS = "SCRNLV0123456789";
constexpr std::string_view SHIFTED_CHARACTER_SET = "DEMO";
constexpr uint16_t SHIFTED_DATA = 512; // where the data of indices 496..511 lies
constexpr uint16_t WARNING_DATA = 496; // the data no index reaches

// Tile art under construction: tiles are written at their data index.
class TileArt {
public:
    TileArt() : bytes_(LEVEL_TILE_COUNT * TILE_BYTES, 0) {}

    // The tiles of a canvas (a multiple of 8 pixels each way), row by row, from `first` on.
    void Put(uint16_t first, const Canvas& canvas) {
        std::vector<uint8_t> tiles = TilesRowByRow(canvas);
        std::copy(tiles.begin(), tiles.end(), bytes_.begin() + first * TILE_BYTES);
    }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
};

// The top-left 16 x 16 quarter of a 32 x 32 canvas.
Canvas Quarter(const Canvas& whole) {
    Canvas quarter(16, 16);
    quarter.Paste(whole, 0, 0);
    return quarter;
}

Canvas BrickTile() {
    Canvas tile(8, 8, BRICK_DARK);
    tile.FillRect(0, 1, 8, 1, BRICK_LIGHT);
    tile.FillRect(0, 5, 8, 1, BRICK_LIGHT);
    tile.FillRect(0, 0, 8, 1, MORTAR);
    tile.FillRect(0, 4, 8, 1, MORTAR);
    tile.FillRect(0, 0, 1, 4, MORTAR);
    tile.FillRect(4, 4, 1, 4, MORTAR);
    return tile;
}

Canvas DirtTile(unsigned level) {
    Canvas tile(8, 8, DIRT);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            if ((x * 5 + y * 3 + int(level)) % 7 == 0) tile.Set(x, y, DIRT_SPECK);
        }
    }
    return tile;
}

Canvas GrassTile(unsigned level) {
    Canvas tile = DirtTile(level);
    for (int x = 0; x < 8; ++x) {
        int blade = 2 + (x * 3 + int(level)) % 3; // 2..4 pixels of grass
        tile.FillRect(x, 0, 1, blade, GRASS_DARK);
        tile.Set(x, 0, (x + int(level)) % 2 ? GRASS_LIGHT : GRASS_DARK);
    }
    return tile;
}

// A slope rising to the right ("/"): empty above the diagonal, `edge` on it, `fill` below.
Canvas SlopeTile(uint8_t empty, uint8_t edge, uint8_t fill) {
    Canvas tile(8, 8, empty);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            int below = x + y - 7;
            if (below >= 0) tile.Set(x, y, below < 2 ? edge : fill);
        }
    }
    return tile;
}

Canvas DiscQuarter() {
    Canvas disc(32, 32);
    disc.FillDisc(16, 16, 15, DISC_RING);
    disc.FillDisc(16, 16, 12, DISC_FILL);
    disc.FillDisc(16, 16, 5, DISC_RING);
    return Quarter(disc);
}

Canvas CloudQuarter() {
    Canvas cloud(32, 32, SKY_FIRST + 1);
    cloud.FillDisc(16, 16, 15, CLOUD_SHADE);
    cloud.FillDisc(16, 16, 13, CLOUD);
    return Quarter(cloud);
}

Canvas LeftArrow() {
    Canvas arrow(16, 16);
    // Head: a triangle with its point at the left edge; shaft to the right.
    for (int y = 0; y < 16; ++y) {
        int reach = std::abs(2 * y - 15) / 2; // 0 in the middle rows, 7 at the top and bottom
        for (int x = reach + 1; x < 9; ++x) arrow.Set(x, y, x == reach + 1 ? ARROW_EDGE : ARROW);
    }
    arrow.FillRect(9, 5, 6, 6, ARROW_EDGE);
    arrow.FillRect(9, 6, 5, 4, ARROW);
    return arrow;
}

// Matches the cloud ends where the disc reaches the top of its block.
Canvas CloudEdge() {
    Canvas edge(8, 8, CLOUD);
    edge.FillRect(0, 0, 8, 1, SKY_FIRST + 1);
    edge.FillRect(0, 1, 8, 2, CLOUD_SHADE);
    return edge;
}

Canvas LetterSquare() {
    Canvas square(16, 16, LETTER_MID);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            int fromTopLeft = std::min(x, y);
            int fromBottomRight = std::min(15 - x, 15 - y);
            if (fromTopLeft < 2 && fromTopLeft <= fromBottomRight)
                square.Set(x, y, LETTER_LIGHT);
            else if (fromBottomRight < 2)
                square.Set(x, y, LETTER_DARK);
        }
    }
    return square;
}

Canvas CharacterCanvas(char c) {
    Canvas canvas(16, 16);
    canvas.ShadowedText(2, 0, std::string(1, c), 2, INK, SHADOW);
    return canvas;
}

Canvas WarningTile() {
    Canvas tile(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) tile.Set(x, y, (x + y) / 2 % 2 ? WARNING_RED : WARNING_YELLOW);
    }
    return tile;
}

} // namespace

uint16_t CharacterTile(char c) {
    if (size_t at = SHIFTED_CHARACTER_SET.find(c); at != std::string_view::npos) {
        return uint16_t(level_tile::SHIFTED_CHARACTERS + 4 * at);
    }
    if (size_t at = PLAIN_CHARACTERS.find(c); at != std::string_view::npos) {
        return uint16_t(level_tile::CHARACTERS + 4 * at);
    }
    return 0;
}

std::vector<uint8_t> MakeLevelTileArt(unsigned level) {
    namespace tile = level_tile;
    TileArt art;
    for (uint8_t value = 1; value < 16; ++value) art.Put(value, Canvas(8, 8, value));
    art.Put(tile::BRICK, BrickTile());
    art.Put(tile::GRASS, GrassTile(level));
    art.Put(tile::DIRT, DirtTile(level));
    art.Put(tile::GROUND_SLOPE, SlopeTile(0, GRASS_LIGHT, level_colour::DIRT));
    art.Put(tile::MOUNTAIN_SLOPE, SlopeTile(HORIZON_AGAIN, MOUNTAIN_EDGE, MOUNTAIN));
    art.Put(tile::DISC, DiscQuarter());
    art.Put(tile::ARROW, LeftArrow());
    art.Put(tile::CLOUD, CloudQuarter());
    art.Put(tile::CLOUD_EDGE, CloudEdge());
    art.Put(tile::LETTER, LetterSquare());
    for (size_t i = 0; i < PLAIN_CHARACTERS.size(); ++i) {
        art.Put(uint16_t(tile::CHARACTERS + 4 * i), CharacterCanvas(PLAIN_CHARACTERS[i]));
    }
    for (uint16_t i = 0; i < 16; ++i) art.Put(uint16_t(WARNING_DATA + i), WarningTile());
    for (size_t i = 0; i < SHIFTED_CHARACTER_SET.size(); ++i) {
        art.Put(uint16_t(SHIFTED_DATA + 4 * i), CharacterCanvas(SHIFTED_CHARACTER_SET[i]));
    }
    return art.Take();
}

} // namespace drovak::demo
