#include "demo/DemoPalettes.h"

namespace drovak::demo {

namespace {

Rgb Blend(Rgb from, Rgb to, int step, int steps) {
    auto mix = [&](int a, int b) { return a + ((b - a) * step + steps / 2) / steps; };
    return {mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b)};
}

// What makes one level look unlike another.
struct LevelTheme {
    Rgb skyTop, horizon, mountain, mountainEdge;
    Rgb letterLight, letterMid, letterDark;
    Rgb brickDark, brickLight, dirt, grassDark, grassLight;
};

// clang-format off
constexpr LevelTheme THEMES[8] = {
    // blue day sky, gold letters
    {{0, 1, 5}, {5, 6, 7}, {2, 3, 4}, {4, 5, 6}, {7, 7, 3}, {6, 5, 0}, {4, 2, 0},
     {4, 1, 0}, {6, 2, 1}, {4, 2, 1}, {0, 4, 0}, {2, 7, 1}},
    // sunset
    {{2, 0, 3}, {7, 5, 2}, {3, 1, 2}, {5, 2, 3}, {7, 7, 7}, {4, 5, 7}, {1, 2, 5},
     {3, 1, 1}, {5, 2, 2}, {3, 2, 1}, {2, 3, 0}, {5, 6, 1}},
    // night
    {{0, 0, 1}, {1, 2, 4}, {1, 1, 2}, {3, 3, 5}, {3, 7, 7}, {0, 5, 6}, {0, 2, 3},
     {2, 2, 3}, {4, 4, 5}, {2, 2, 2}, {0, 2, 2}, {1, 5, 4}},
    // green haze
    {{0, 3, 1}, {5, 7, 4}, {1, 4, 2}, {3, 6, 3}, {7, 3, 7}, {5, 1, 5}, {3, 0, 3},
     {3, 3, 1}, {5, 5, 2}, {3, 2, 0}, {1, 3, 0}, {4, 6, 0}},
    // red planet
    {{3, 0, 0}, {7, 4, 2}, {4, 1, 0}, {6, 3, 1}, {7, 7, 5}, {7, 6, 1}, {5, 3, 0},
     {2, 0, 0}, {5, 1, 0}, {5, 2, 1}, {4, 1, 0}, {7, 3, 0}},
    // ice
    {{2, 4, 6}, {7, 7, 7}, {4, 5, 6}, {6, 7, 7}, {1, 3, 7}, {0, 1, 5}, {0, 0, 2},
     {2, 3, 5}, {4, 5, 7}, {4, 5, 6}, {3, 5, 6}, {6, 7, 7}},
    // violet
    {{1, 0, 3}, {5, 3, 7}, {2, 1, 4}, {4, 3, 6}, {7, 4, 7}, {6, 1, 5}, {3, 0, 2},
     {3, 1, 3}, {5, 2, 5}, {2, 1, 2}, {3, 1, 4}, {6, 3, 7}},
    // grey dusk
    {{1, 1, 1}, {5, 5, 4}, {2, 2, 2}, {4, 4, 4}, {7, 6, 0}, {5, 4, 0}, {3, 2, 0},
     {3, 3, 3}, {5, 5, 5}, {3, 3, 2}, {2, 2, 1}, {4, 5, 2}},
};
// clang-format on

} // namespace

std::vector<uint8_t> PaletteBytes(const PaletteWords& palette) {
    std::vector<uint8_t> bytes;
    for (uint16_t word : palette) {
        bytes.push_back(uint8_t(word >> 8));
        bytes.push_back(uint8_t(word));
    }
    return bytes;
}

PaletteWords PreviewPalette() {
    // clang-format off
    constexpr Rgb line0[16] = {
        {0, 0, 0}, {0, 0, 3}, {1, 2, 6}, {3, 5, 7}, {0, 6, 6}, {7, 7, 7}, {5, 5, 5}, {2, 2, 2},
        {3, 0, 0}, {7, 1, 1}, {7, 4, 0}, {7, 7, 1}, {0, 3, 0}, {1, 6, 1}, {4, 7, 3}, {5, 1, 6},
    };
    // clang-format on
    PaletteWords palette{};
    for (int i = 0; i < 16; ++i) {
        palette[size_t(i)] = ColourWord(line0[i]);
        palette[size_t(16 + i)] = ColourWord(Blend({0, 0, 0}, {7, 7, 7}, i, 15));
        palette[size_t(32 + i)] = ColourWord(Blend({1, 0, 0}, {7, 6, 2}, i, 15));
        palette[size_t(48 + i)] = ColourWord(Blend({0, 0, 1}, {2, 6, 7}, i, 15));
    }
    return palette;
}

PaletteWords LevelPalette(unsigned level) {
    using namespace level_colour;
    const LevelTheme& theme = THEMES[level % 8];
    PaletteWords palette{};
    auto set = [&](int line, uint8_t index, Rgb colour) {
        palette[size_t(16 * line + index)] = ColourWord(colour);
    };

    set(0, 0, {0, 0, 0});
    set(0, MORTAR, {3, 3, 3});
    set(0, BRICK_DARK, theme.brickDark);
    set(0, BRICK_LIGHT, theme.brickLight);
    set(0, DIRT, theme.dirt);
    set(0, DIRT_SPECK, Blend(theme.dirt, {0, 0, 0}, 1, 2));
    set(0, GRASS_DARK, theme.grassDark);
    set(0, GRASS_LIGHT, theme.grassLight);
    set(0, DISC_RING, {6, 3, 0});
    set(0, DISC_FILL, {7, 7, 2});
    set(0, ARROW, {7, 5, 0});
    set(0, ARROW_EDGE, {4, 0, 0});
    set(0, WARNING_RED, {7, 0, 0});
    set(0, WARNING_YELLOW, {7, 7, 0});

    for (int band = 0; band < SKY_BANDS; ++band) {
        set(1, uint8_t(SKY_FIRST + band), Blend(theme.skyTop, theme.horizon, band, SKY_BANDS - 1));
    }
    set(1, HORIZON_AGAIN, theme.horizon);
    set(1, MOUNTAIN, theme.mountain);
    set(1, MOUNTAIN_EDGE, theme.mountainEdge);
    set(1, 8, {7, 7, 7});
    set(1, CLOUD, {7, 7, 7});
    set(1, CLOUD_SHADE, Blend(theme.horizon, {3, 3, 4}, 1, 2));
    set(1, LETTER_LIGHT, theme.letterLight);
    set(1, LETTER_MID, theme.letterMid);
    set(1, LETTER_DARK, theme.letterDark);

    for (int line = 0; line < 2; ++line) {
        set(line, SHADOW, {1, 1, 1});
        set(line, INK, {7, 7, 7});
    }
    // Lines 2 and 3: magenta and green stripes, never part of a correct level picture.
    for (int i = 0; i < 32; ++i) {
        palette[size_t(32 + i)] = ColourWord(i % 2 ? Rgb{0, 7, 0} : Rgb{7, 0, 7});
    }
    return palette;
}

PaletteWords TitlePalette() {
    // clang-format off
    constexpr Rgb colours[TITLE_PALETTE_COLOURS] = {
        {0, 0, 0}, {0, 0, 2}, {0, 1, 3}, {1, 2, 5}, {3, 4, 7}, {0, 6, 7}, {7, 7, 7}, {3, 1, 0},
        {6, 1, 0}, {7, 3, 0}, {7, 5, 0}, {7, 6, 1}, {7, 7, 5}, {2, 0, 3}, {4, 1, 5}, {6, 4, 7},
        {0, 0, 0},
    };
    // clang-format on
    PaletteWords palette{};
    for (size_t i = 0; i < TITLE_PALETTE_COLOURS; ++i) palette[i] = ColourWord(colours[i]);
    return palette;
}

} // namespace drovak::demo
