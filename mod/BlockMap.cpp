// A level's block definitions as a map of their name-table words (LevelMap.h).
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "graphics/BlockTilesets.h"
#include "graphics/TilePalette.h"
#include "graphics/TileSheet.h"
#include "mod/LevelMap.h"
#include "mod/MapCells.h"
#include "rom/LevelLayout.h"

namespace drovak {

namespace {

constexpr unsigned MAP_COLUMNS = BLOCK_TILES * BLOCK_TILESET_COLUMNS;                   // 64
constexpr unsigned PLANE_ROWS = BLOCK_TILES * BLOCKS_PER_PLANE / BLOCK_TILESET_COLUMNS; // 64
constexpr const char* LOW = "Low";
constexpr const char* HIGH = "High";
constexpr uint16_t PRIORITY = 0x8000, FLIP_Y = 0x1000, FLIP_X = 0x0800, INDEX = 0x01FF;
constexpr unsigned LINE_SHIFT = 13;

// Where the word of a cell lies in the block data.
size_t WordAt(size_t cell) {
    const size_t x = cell % MAP_COLUMNS, y = cell / MAP_COLUMNS;
    const size_t plane = y / PLANE_ROWS, row = y % PLANE_ROWS;
    const size_t block = row / BLOCK_TILES * BLOCK_TILESET_COLUMNS + x / BLOCK_TILES;
    return (plane ? PLANE_B_DEFINITIONS : PLANE_A_DEFINITIONS) + BLOCK_DEFINITION_BYTES * block +
           2 * (BLOCK_TILES * (row % BLOCK_TILES) + x % BLOCK_TILES);
}

uint32_t GidOf(uint16_t word) {
    return (1 + ART_TILESET_TILES * ((word >> LINE_SHIFT) & 3) + (word & INDEX)) |
           (word & FLIP_X ? TMX_FLIPPED_HORIZONTALLY : 0) |
           (word & FLIP_Y ? TMX_FLIPPED_VERTICALLY : 0);
}

} // namespace

TmxMap BlockTmx(const std::vector<uint8_t>& blockData, unsigned level) {
    TmxMap map{MAP_COLUMNS, 2 * PLANE_ROWS, TILE_SIDE, TILE_SIDE, {}, {}};
    for (unsigned line = 0; line < PALETTE_LINE_COUNT; ++line) {
        map.tilesets.push_back({1 + ART_TILESET_TILES * line,
                                "Tiles on palette line " + std::to_string(line), TILE_SIDE,
                                TILE_SIDE, ART_TILESET_TILES, ART_TILESET_COLUMNS,
                                LineDrawingName(level, line), TILE_SIDE * ART_TILESET_COLUMNS,
                                TILE_SIDE * ART_TILESET_TILES / ART_TILESET_COLUMNS});
    }
    const size_t cells = size_t(map.width) * map.height;
    map.layers = {{LOW, std::vector<uint32_t>(cells, 0)}, {HIGH, std::vector<uint32_t>(cells, 0)}};
    for (size_t cell = 0; cell < cells; ++cell) {
        const size_t at = WordAt(cell);
        if (at + 2 > blockData.size()) continue;
        const uint16_t word = LoadBigEndian16(blockData.data() + at);
        map.layers[word & PRIORITY ? 1 : 0].gids[cell] = GidOf(word);
    }
    return map;
}

size_t ApplyBlockTmx(const TmxMap& read, const std::vector<uint8_t>& unpacked,
                     std::vector<uint8_t>& data, unsigned level, const std::string& path) {
    const TmxMap written = BlockTmx(unpacked, level);
    CheckMapShape(read, written, path);
    const std::vector<uint32_t> low = WrittenGids(read, written, LOW);
    const std::vector<uint32_t> high = WrittenGids(read, written, HIGH);
    size_t changed = 0;
    for (size_t cell = 0; cell < low.size(); ++cell) {
        if (low[cell] == written.layers[0].gids[cell] && high[cell] == written.layers[1].gids[cell])
            continue;
        if ((low[cell] == 0) == (high[cell] == 0)) {
            ModProblem problem =
                CellProblem(ModProblemKind::BlockTileCount, path, LOW, cell, written.width);
            problem.flag = low[cell] != 0;
            ThrowModProblem(std::move(problem));
        }
        const bool priority = high[cell] != 0;
        const uint32_t gid = priority ? high[cell] : low[cell];
        const auto refuse = [&](ModProblemKind kind) {
            ThrowModProblem(CellProblem(kind, path, priority ? HIGH : LOW, cell, written.width));
        };
        if (gid & (TMX_FLIPPED_DIAGONALLY | TMX_ROTATED_HEXAGONAL))
            refuse(ModProblemKind::TileRotated);
        const uint32_t tile = gid & ~TMX_GID_FLAGS;
        const int line = TilesetOf(written, tile);
        if (line < 0) refuse(ModProblemKind::TileOfNoTileset);
        const size_t at = WordAt(cell);
        if (at + 2 > data.size()) {
            ModProblem problem = CellProblem(ModProblemKind::CellPastBlockData, path,
                                             priority ? HIGH : LOW, cell, written.width);
            problem.size = data.size();
            ThrowModProblem(std::move(problem));
        }
        const uint16_t word = uint16_t((priority ? PRIORITY : 0) | unsigned(line) << LINE_SHIFT |
                                       (gid & TMX_FLIPPED_VERTICALLY ? FLIP_Y : 0) |
                                       (gid & TMX_FLIPPED_HORIZONTALLY ? FLIP_X : 0) |
                                       (tile - written.tilesets[size_t(line)].firstGid));
        StoreBigEndian16(data.data() + at, word);
        ++changed;
    }
    return changed;
}

} // namespace drovak
