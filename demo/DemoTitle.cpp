#include "demo/DemoTitle.h"

#include "base/ByteOrder.h"
#include "demo/DemoCanvas.h"
#include "demo/DemoFont.h"
#include "demo/DemoPalettes.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace drovak::demo {

namespace {

using namespace title_colour;

constexpr int COLUMNS = 40;
constexpr int ROWS = 28;
constexpr uint16_t FLIP_X = 0x0800;
constexpr uint16_t FLIP_Y = 0x1000;

constexpr std::string_view SUBTITLE = "TITLE SCREEN";
constexpr std::string_view SUBTITLE_CHARACTERS = "TILESCRN";

namespace tile {
constexpr uint16_t BACKGROUND = 0, CORNER = 1, TOP_EDGE = 2, LEFT_EDGE = 3, LETTER = 4,
                   TEXT_BOX = 11, CHARACTERS = 12;
} // namespace tile

uint8_t Stripe(int x, int y) {
    return (x + y) % 8 < 4 ? STRIPE_DARK : STRIPE_LIGHT;
}

// The frame's bands from the outside in: dark, light, mid, then a black gap.
uint8_t FrameBand(int depth) {
    static constexpr uint8_t BANDS[4] = {FRAME_DARK, FRAME_LIGHT, FRAME_MID, 0};
    return BANDS[std::clamp(depth / 2, 0, 3)];
}

Canvas BackgroundTile() {
    Canvas tile(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) tile.Set(x, y, Stripe(x, y));
    }
    return tile;
}

// The top-left corner; the other three are drawn with flips.
Canvas CornerTile() {
    Canvas tile(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) tile.Set(x, y, FrameBand(std::min(x, y)));
    }
    return tile;
}

// The top edge (flipped vertically it is the bottom edge), or the left edge when `vertical`.
Canvas EdgeTile(bool vertical) {
    Canvas tile(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) tile.Set(x, y, FrameBand(vertical ? x : y));
    }
    return tile;
}

// Glyph row `row` of the big letters: a colour from light at the top to dark at the bottom,
// with a dark edge at the bottom and right of every tile.
Canvas LetterTile(int row) {
    static constexpr uint8_t ROW_COLOURS[GLYPH_HEIGHT] = {12, 11, 11, 10, 9, 9, 8};
    Canvas tile(8, 8, ROW_COLOURS[row]);
    tile.FillRect(0, 7, 8, 1, LETTER_EDGE);
    tile.FillRect(7, 0, 1, 8, LETTER_EDGE);
    return tile;
}

Canvas CharacterTile(char c) {
    Canvas tile(8, 8, TEXT_BACK);
    tile.Text(1, 0, std::string(1, c), 1, INK);
    return tile;
}

std::vector<uint8_t> MakeArt() {
    std::vector<uint8_t> art;
    auto add = [&](const Canvas& tile) { AppendTile(tile, 0, 0, art); };
    add(BackgroundTile());
    add(CornerTile());
    add(EdgeTile(false));
    add(EdgeTile(true));
    for (int row = 0; row < GLYPH_HEIGHT; ++row) add(LetterTile(row));
    add(Canvas(8, 8, TEXT_BACK));
    for (char c : SUBTITLE_CHARACTERS) add(CharacterTile(c));
    return art;
}

std::vector<uint16_t> MakeNameTable() {
    std::vector<uint16_t> words(COLUMNS * ROWS, tile::BACKGROUND);
    auto at = [&](int column, int row) -> uint16_t& {
        return words[size_t(row * COLUMNS + column)];
    };

    for (int column = 1; column < COLUMNS - 1; ++column) {
        at(column, 0) = tile::TOP_EDGE;
        at(column, ROWS - 1) = tile::TOP_EDGE | FLIP_Y;
    }
    for (int row = 1; row < ROWS - 1; ++row) {
        at(0, row) = tile::LEFT_EDGE;
        at(COLUMNS - 1, row) = tile::LEFT_EDGE | FLIP_X;
    }
    at(0, 0) = tile::CORNER;
    at(COLUMNS - 1, 0) = tile::CORNER | FLIP_X;
    at(0, ROWS - 1) = tile::CORNER | FLIP_Y;
    at(COLUMNS - 1, ROWS - 1) = tile::CORNER | FLIP_X | FLIP_Y;

    const std::string_view letters = "DEMO";
    const int lettersLeft = 8;
    const int lettersTop = 6;
    for (size_t i = 0; i < letters.size(); ++i) {
        for (int y = 0; y < GLYPH_HEIGHT; ++y) {
            for (int x = 0; x < GLYPH_WIDTH; ++x) {
                if (GlyphPixel(letters[i], x, y)) {
                    at(lettersLeft + int(i) * (GLYPH_WIDTH + 1) + x, lettersTop + y) =
                        uint16_t(tile::LETTER + y);
                }
            }
        }
    }

    const int textLeft = (COLUMNS - int(SUBTITLE.size())) / 2;
    const int textRow = 17;
    for (int row = textRow - 1; row <= textRow + 1; ++row) {
        for (int column = textLeft - 1; column <= textLeft + int(SUBTITLE.size()); ++column) {
            at(column, row) = tile::TEXT_BOX;
        }
    }
    for (size_t i = 0; i < SUBTITLE.size(); ++i) {
        size_t found = SUBTITLE_CHARACTERS.find(SUBTITLE[i]);
        if (found != std::string_view::npos) {
            at(textLeft + int(i), textRow) = uint16_t(tile::CHARACTERS + found);
        }
    }
    return words;
}

} // namespace

DemoTitle MakeDemoTitle() {
    DemoTitle title;
    title.art = MakeArt();
    for (uint16_t word : MakeNameTable()) {
        title.nameTable.push_back(uint8_t(word >> 8));
        title.nameTable.push_back(uint8_t(word));
    }
    return title;
}

} // namespace drovak::demo
