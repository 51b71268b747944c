#include "demo/DemoLevel.h"

#include "base/ByteOrder.h"
#include "demo/DemoFont.h"
#include "demo/DemoLevelTiles.h"
#include "demo/DemoPalettes.h"
#include "rom/LevelLayout.h"

#include <array>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>

namespace drovak::demo {

namespace {

using Block = std::array<uint16_t, 16>; // 4 rows of 4 name-table words

constexpr uint16_t FLIP_X = 0x0800;
constexpr uint16_t FLIP_Y = 0x1000;
constexpr uint16_t LINE_1 = 0x2000;
// Bits that level assembly masks off. Some words carry them so that a picture drawn without
// the mask shows it: warning colours (line 2 or 3), or black holes (indices past the art).
constexpr uint16_t PRIORITY = 0x8000;
constexpr uint16_t LINE_HIGH_BIT = 0x4000;
constexpr uint16_t INDEX_HIGH_BIT = 0x0400;

constexpr int COLUMNS = int(LEVEL_BLOCK_COLUMNS);
constexpr int PLANE_A_ROWS = int(PLANE_A_BLOCK_ROWS);
constexpr int PLANE_B_ROWS = int(PLANE_B_BLOCK_ROWS);
constexpr int SCREEN_COLUMNS = int(BLOCK_COLUMNS_SHOWN);

// The block definitions of one plane, without duplicates; block 0 is the empty block.
class BlockSet {
public:
    BlockSet() { Add(Block{}); }

    uint8_t Add(const Block& block) {
        auto found = numbers_.find(block);
        if (found != numbers_.end()) return found->second;
        if (blocks_.size() == 256) throw std::logic_error("demo level: more than 256 blocks");
        uint8_t number = uint8_t(blocks_.size());
        blocks_.push_back(block);
        numbers_.emplace(block, number);
        return number;
    }

    void Store(std::vector<uint8_t>& blockData, size_t offset) const {
        for (size_t n = 0; n < blocks_.size(); ++n) {
            for (size_t w = 0; w < 16; ++w) {
                StoreBigEndian16(blockData.data() + offset + 32 * n + 2 * w, blocks_[n][w]);
            }
        }
    }

private:
    std::vector<Block> blocks_;
    std::map<Block, uint8_t> numbers_;
};

// One plane's layout: a block number per block column and row.
class Layout {
public:
    explicit Layout(int rows) : rows_(rows), cells_(size_t(COLUMNS * rows), 0) {}

    void Set(int column, int row, uint8_t block) {
        if (column < 0 || column >= COLUMNS || row < 0 || row >= rows_) return;
        cells_[size_t(column * rows_ + row)] = block;
    }
    // Stored column by column, each column top to bottom.
    void Store(std::vector<uint8_t>& blockData, size_t offset) const {
        std::copy(cells_.begin(), cells_.end(), blockData.begin() + long(offset));
    }

private:
    int rows_;
    std::vector<uint8_t> cells_;
};

Block Uniform(uint16_t word) {
    Block block;
    block.fill(word);
    return block;
}

// A 32 x 32 picture symmetric about both axes, from the 2 x 2 tiles of its top-left quarter.
Block Mirrored(uint16_t quarter, uint16_t flags) {
    Block block;
    for (int k = 0; k < 4; ++k) {
        for (int j = 0; j < 4; ++j) {
            bool right = j >= 2;
            bool bottom = k >= 2;
            int qx = right ? 3 - j : j;
            int qy = bottom ? 3 - k : k;
            uint16_t word = uint16_t(quarter + 2 * qy + qx) | flags;
            if (right) word |= FLIP_X;
            if (bottom) word |= FLIP_Y;
            block[size_t(4 * k + j)] = word;
        }
    }
    return block;
}

Block RightArrow() {
    Block block{};
    // The left-pointing arrow mirrored: its right tiles become the left ones.
    block[5] = (level_tile::ARROW + 1) | FLIP_X;
    block[6] = (level_tile::ARROW + 0) | FLIP_X;
    block[9] = (level_tile::ARROW + 3) | FLIP_X;
    block[10] = (level_tile::ARROW + 2) | FLIP_X;
    return block;
}

// A slope across the whole block, rising to the right ("/"), or falling when `falling`: the
// slope tile on the diagonal, `fill` below it, `empty` above.
Block Slope(uint16_t slopeTile, uint16_t fill, uint16_t empty, bool falling) {
    Block block;
    for (int k = 0; k < 4; ++k) {
        for (int j = 0; j < 4; ++j) {
            int across = falling ? 3 - j : j;
            uint16_t word = across + k == 3  ? uint16_t(slopeTile | (falling ? FLIP_X : 0))
                            : across + k > 3 ? fill
                                             : empty;
            block[size_t(4 * k + j)] = word;
        }
    }
    return block;
}

// Two 16 x 16 characters side by side in the middle rows of the block.
Block CharacterPair(char left, char right, uint16_t flags) {
    Block block = Uniform(flags);
    const char pair[2] = {left, right};
    for (size_t i = 0; i < 2; ++i) {
        uint16_t first = CharacterTile(pair[i]);
        if (first == 0) continue;
        for (uint16_t t = 0; t < 4; ++t) {
            size_t k = 1 + t / 2;
            size_t j = 2 * i + t % 2;
            block[4 * k + j] = uint16_t((first + t) | flags);
        }
    }
    return block;
}

void PutText(Layout& layout, BlockSet& blocks, int column, int row, const std::string& text,
             uint16_t flags) {
    for (size_t i = 0; i < text.size(); i += 2) {
        char right = i + 1 < text.size() ? text[i + 1] : ' ';
        layout.Set(column + int(i / 2), row, blocks.Add(CharacterPair(text[i], right, flags)));
    }
}

// Text in the 5 x 7 font with a bevelled 16 x 16 square per font pixel, so that four font
// pixels share a block; (column, row) is the block of the top-left font pixel.
void PutBigText(Layout& layout, BlockSet& blocks, int column, int row, const std::string& text) {
    constexpr uint16_t flags = LINE_1 | PRIORITY;
    const int halfColumns = int(text.size()) * (GLYPH_WIDTH + 1);
    for (int by = 0; 2 * by < GLYPH_HEIGHT; ++by) {
        for (int bx = 0; 2 * bx < halfColumns; ++bx) {
            Block block{};
            bool any = false;
            for (int q = 0; q < 4; ++q) {
                int hx = 2 * bx + q % 2;
                int hy = 2 * by + q / 2;
                size_t character = size_t(hx / (GLYPH_WIDTH + 1));
                if (character >= text.size()) continue;
                if (!GlyphPixel(text[character], hx % (GLYPH_WIDTH + 1), hy)) continue;
                any = true;
                for (uint16_t t = 0; t < 4; ++t) {
                    size_t k = size_t(2 * (q / 2) + t / 2);
                    size_t j = size_t(2 * (q % 2) + t % 2);
                    block[4 * k + j] = uint16_t((level_tile::LETTER + t) | flags);
                }
            }
            if (any) layout.Set(column + bx, row + by, blocks.Add(block));
        }
    }
}

// A cloud with round ends: the left end, `middle` straight blocks, the right end.
void PutCloud(Layout& layout, BlockSet& blocks, int column, int row, int middle) {
    using namespace level_tile;
    const uint16_t cloud = level_colour::CLOUD | LINE_1;
    const uint16_t edge = CLOUD_EDGE | LINE_1;
    Block straight = Uniform(cloud);
    for (size_t j = 0; j < 4; ++j) {
        straight[j] = edge;
        straight[12 + j] = edge | FLIP_Y;
    }
    Block round = Mirrored(CLOUD, LINE_1);
    Block leftEnd = round;
    Block rightEnd = round;
    for (size_t k = 0; k < 4; ++k) {
        for (size_t j = 0; j < 2; ++j) {
            leftEnd[4 * k + 2 + j] = straight[4 * k + 2 + j];
            rightEnd[4 * k + j] = straight[4 * k + j];
        }
    }
    layout.Set(column, row, blocks.Add(leftEnd));
    for (int i = 1; i <= middle; ++i) layout.Set(column + i, row, blocks.Add(straight));
    layout.Set(column + middle + 1, row, blocks.Add(rightEnd));
}

std::string TwoDigits(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02u", value % 100);
    return text;
}

void BuildPlaneA(unsigned level, BlockSet& blocks, Layout& layout) {
    using namespace level_tile;
    const uint8_t grass = blocks.Add([] {
        Block block = Uniform(DIRT | LINE_HIGH_BIT);
        for (size_t j = 0; j < 4; ++j) block[j] = GRASS | PRIORITY;
        return block;
    }());
    const uint8_t dirt = blocks.Add(Uniform(DIRT | LINE_HIGH_BIT));
    const uint8_t brick = blocks.Add(Uniform(BRICK | INDEX_HIGH_BIT));
    const uint8_t rising = blocks.Add(Slope(GROUND_SLOPE, DIRT, EMPTY, false));
    const uint8_t falling = blocks.Add(Slope(GROUND_SLOPE, DIRT, EMPTY, true));
    const uint8_t disc = blocks.Add(Mirrored(DISC, PRIORITY));
    const uint8_t arrow = blocks.Add(RightArrow());

    // Hilly ground: a plateau one block higher for 8 of every 32 columns.
    for (int column = 0; column < COLUMNS; ++column) {
        int phase = (column + 7 * int(level)) % 32;
        layout.Set(column, 15, brick);
        layout.Set(column, 14, dirt);
        if (phase < 12 || phase > 20) {
            layout.Set(column, 13, grass);
        } else {
            layout.Set(column, 13, dirt);
            layout.Set(column, 12, phase == 12 ? rising : phase == 20 ? falling : grass);
        }
        if (column % SCREEN_COLUMNS == 14) layout.Set(column, 11, arrow);
    }
    for (int screen = 0; screen < COLUMNS / SCREEN_COLUMNS; ++screen) {
        PutText(layout, blocks, SCREEN_COLUMNS * screen + 1, 0,
                "SCREEN " + TwoDigits(unsigned(screen)), 0);
    }
    for (int quarter = 0; quarter < 4; ++quarter) {
        int left = 128 * quarter;
        PutBigText(layout, blocks, left + 2, 2, "DEMO");
        PutBigText(layout, blocks, left + 18, 2, "LEVEL " + std::to_string(level + 1));
        for (int coin = 0; coin < 13; ++coin) layout.Set(left + 64 + 4 * coin, 10, disc);
        // Brick pillars of one to three blocks, each with a coin on top.
        for (int pillar = 0; pillar < 6; ++pillar) {
            int column = left + 38 + 4 * pillar;
            int height = 1 + (pillar + int(level)) % 3;
            for (int row = 12; row > 12 - height; --row) layout.Set(column, row, brick);
            layout.Set(column, 12 - height, disc);
        }
    }
}

void BuildPlaneB(unsigned level, BlockSet& blocks, Layout& layout) {
    using namespace level_tile;
    using level_colour::SKY_BANDS;
    using level_colour::SKY_FIRST;
    const uint16_t horizon = EMPTY | LINE_1; // pixel 0 on line 1 is the horizon colour
    const uint16_t mountain = level_colour::MOUNTAIN | LINE_1;
    const uint8_t rising = blocks.Add(Slope(MOUNTAIN_SLOPE | LINE_1, mountain, horizon, false));
    const uint8_t falling = blocks.Add(Slope(MOUNTAIN_SLOPE | LINE_1, mountain, horizon, true));
    const uint8_t solid = blocks.Add(Uniform(mountain));
    const uint8_t sky = blocks.Add(Uniform(horizon));

    for (int column = 0; column < COLUMNS; ++column) {
        for (int band = 0; band < SKY_BANDS; ++band) {
            uint16_t word = uint16_t((SKY_FIRST + band) | LINE_1 | LINE_HIGH_BIT);
            layout.Set(column, band, blocks.Add(Uniform(word)));
        }

        // Mountains three blocks high and six wide, one every 12 columns.
        int phase = (column + 5 * int(level)) % 12;
        constexpr int PEAK_ROW[6] = {7, 6, 5, 5, 6, 7};
        for (int row = 5; row < PLANE_B_ROWS; ++row) {
            uint8_t block = sky;
            if (phase < 6) {
                int top = PEAK_ROW[phase];
                block = row < top ? sky : row > top ? solid : phase < 3 ? rising : falling;
            }
            layout.Set(column, row, block);
        }
    }
    for (int left = 3 + int(level) % 4; left < COLUMNS; left += 20) {
        PutCloud(layout, blocks, left, 1, 1 + (left / 20) % 3);
    }
    for (int left = 40; left < COLUMNS; left += 64) {
        PutText(layout, blocks, left, 4, "DEMO LEVEL " + std::to_string(level + 1), LINE_1);
    }
}

} // namespace

DemoLevel MakeDemoLevel(unsigned level) {
    DemoLevel result;
    result.tileArt = MakeLevelTileArt(level);
    result.blockData.assign(LEVEL_BLOCK_DATA_SIZE, 0);

    BlockSet planeABlocks;
    Layout planeA(PLANE_A_ROWS);
    BuildPlaneA(level, planeABlocks, planeA);
    planeABlocks.Store(result.blockData, PLANE_A_DEFINITIONS);
    planeA.Store(result.blockData, PLANE_A_LAYOUT);

    BlockSet planeBBlocks;
    Layout planeB(PLANE_B_ROWS);
    BuildPlaneB(level, planeBBlocks, planeB);
    planeBBlocks.Store(result.blockData, PLANE_B_DEFINITIONS);
    planeB.Store(result.blockData, PLANE_B_LAYOUT);
    return result;
}

} // namespace drovak::demo
