#include "demo/DemoSheets.h"

#include "demo/DemoCanvas.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace drovak::demo {

namespace {

constexpr int SHEET_WIDTH = 512;
constexpr int SHEET_HEIGHT = 224;
constexpr int SPRITE_CELL_TILES = 4;

// Preview palette line 0.
constexpr uint8_t BLACK = 0, NAVY = 1, BLUE = 2, SKY = 3, CYAN = 4, WHITE = 5, LIGHT_GREY = 6,
                  DARK_GREY = 7, DARK_RED = 8, RED = 9, ORANGE = 10, YELLOW = 11, DARK_GREEN = 12,
                  GREEN = 13, LIGHT_GREEN = 14, PURPLE = 15;

// Top to bottom from navy through blue and sky blue to cyan, the steps between two colours
// dithered with a 4 x 4 ordered pattern.
uint8_t GradientColour(int x, int y, int height) {
    static constexpr uint8_t RAMP[4] = {NAVY, BLUE, SKY, CYAN};
    static constexpr int BAYER[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    int position = y * 3 * 16 / height; // a step (0..2) and sixteenths within it
    int step = position / 16;
    bool next = position % 16 > BAYER[y % 4][x % 4];
    return RAMP[std::min(step + (next ? 1 : 0), 3)];
}

// One of four backgrounds: a dithered gradient, diagonal stripes, a checkerboard, dots.
uint8_t BackgroundColour(unsigned pattern, int x, int y, int height) {
    switch (pattern % 4) {
    case 0:
        return GradientColour(x, y, height);
    case 1:
        return ((x + y) / 8) % 2 ? DARK_GREEN : GREEN;
    case 2:
        return ((x / 16) + (y / 16)) % 2 ? DARK_GREY : LIGHT_GREY;
    default: {
        int dx = x % 32 - 16;
        int dy = y % 32 - 16;
        return dx * dx + dy * dy < 36 ? BLUE : NAVY;
    }
    }
}

void PaintBackground(Canvas& canvas, unsigned pattern) {
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            canvas.Set(x, y, BackgroundColour(pattern, x, y, canvas.Height()));
        }
    }
}

void PaintColourBar(Canvas& canvas, int x, int y) {
    canvas.FillRect(x - 2, y - 2, 16 * 24 + 4, 20, WHITE);
    for (int i = 0; i < 16; ++i) canvas.FillRect(x + 24 * i, y, 24, 16, uint8_t(i));
}

// A right triangle with its right angle at the bottom left: any mirroring or shearing of the
// picture is easy to see.
void PaintWedge(Canvas& canvas, int x, int y, int size, uint8_t value, uint8_t edge) {
    for (int row = 0; row < size; ++row) {
        canvas.FillRect(x, y + row, row + 1, 1, value);
        canvas.Set(x + row, y + row, edge);
    }
    canvas.FillRect(x, y + size - 2, size, 2, edge);
    canvas.FillRect(x, y, 2, size, edge);
}

void PaintBall(Canvas& canvas, int x, int y, int radius, uint8_t dark, uint8_t light) {
    canvas.FillDisc(x, y, radius, dark);
    canvas.FillDisc(x - radius / 4.0, y - radius / 4.0, radius * 0.6, light);
    canvas.FillDisc(x - radius / 2.5, y - radius / 2.5, radius * 0.2, WHITE);
}

// A ship pointing right, 32 x 24.
void PaintShip(Canvas& canvas, int x, int y, uint8_t body) {
    for (int row = 0; row < 24; ++row) {
        int half = row < 12 ? row : 23 - row;
        canvas.FillRect(x, y + row, 8 + 2 * half, 1, body);
    }
    canvas.FillRect(x + 12, y + 10, 8, 4, CYAN);
    canvas.FillRect(x, y + 9, 4, 6, ORANGE);
}

} // namespace

std::vector<uint8_t> MakeTileSheet(unsigned entry) {
    static constexpr uint8_t INKS[4] = {YELLOW, ORANGE, LIGHT_GREEN, CYAN};
    Canvas canvas(SHEET_WIDTH, SHEET_HEIGHT);
    PaintBackground(canvas, entry);
    canvas.ShadowedText(24, 16, "DEMO", 8, INKS[(entry / 4) % 4], BLACK);

    char label[16];
    std::snprintf(label, sizeof label, "ENTRY %02X", entry);
    canvas.FillRect(18, 96, TextWidth(label, 3) + 16, 21 + 12, BLACK);
    canvas.Text(26, 102, label, 3, WHITE);

    PaintWedge(canvas, 256, 100, 72, RED, DARK_RED);
    PaintBall(canvas, 410, 70, 48 - int(entry % 4) * 6, PURPLE, RED);
    PaintColourBar(canvas, 24, 186);
    return TilesRowByRow(canvas);
}

std::vector<uint8_t> MakeSpriteSheet() {
    Canvas canvas(SHEET_WIDTH, SHEET_HEIGHT);
    canvas.ShadowedText(16, 8, "DEMO", 8, YELLOW, DARK_RED);
    canvas.ShadowedText(16, 80, "SPRITES", 3, WHITE, DARK_GREY);
    static constexpr uint8_t BODIES[4] = {LIGHT_GREY, RED, GREEN, PURPLE};
    for (int i = 0; i < 8; ++i) PaintShip(canvas, 16 + 56 * i, 128, BODIES[i % 4]);
    for (int i = 0; i < 5; ++i) {
        PaintBall(canvas, 260 + 50 * i, 48, 8 + 3 * i, i % 2 ? BLUE : DARK_GREEN,
                  i % 2 ? SKY : LIGHT_GREEN);
    }
    PaintWedge(canvas, 16, 164, 48, ORANGE, DARK_RED);
    for (int x = 80; x < 496; x += 16) PaintBall(canvas, x, 196, 6, NAVY, BLUE);
    return TilesInColumns(canvas, SPRITE_CELL_TILES);
}

} // namespace drovak::demo
