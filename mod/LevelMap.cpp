#include "mod/LevelMap.h"

#include "base/Errors.h"
#include "graphics/BlockTilesets.h"
#include "mod/MapCells.h"
#include "rom/LevelLayout.h"

#include <cstdio>

namespace drovak {

namespace {

constexpr unsigned BLOCK_SIDE = 32; // pixels
constexpr const char* PLANE_A = "Plane A";
constexpr const char* PLANE_B = "Plane B";

std::string LevelStem(unsigned level) {
    char text[16];
    std::snprintf(text, sizeof text, "level%02u", level + 1);
    return text;
}

TmxTileset PlaneTileset(unsigned level, bool planeB) {
    TmxTileset tileset;
    tileset.firstGid = planeB ? 1 + BLOCKS_PER_PLANE : 1;
    tileset.name = std::string(planeB ? PLANE_B : PLANE_A) + " blocks";
    tileset.tileWidth = tileset.tileHeight = BLOCK_SIDE;
    tileset.tileCount = BLOCKS_PER_PLANE;
    tileset.columns = BLOCK_TILESET_COLUMNS;
    tileset.image = PlaneDrawingName(level, planeB);
    tileset.imageWidth = tileset.imageHeight = BLOCK_SIDE * BLOCK_TILESET_COLUMNS;
    return tileset;
}

// Where the block number of a cell lies in the block data, or nothing (Plane B's rows 8-15).
std::optional<size_t> LayoutByte(bool planeB, size_t cell) {
    const size_t column = cell % LEVEL_BLOCK_COLUMNS, row = cell / LEVEL_BLOCK_COLUMNS;
    if (!planeB) return PLANE_A_LAYOUT + PLANE_A_BLOCK_ROWS * column + row;
    if (row >= PLANE_B_BLOCK_ROWS) return std::nullopt;
    return PLANE_B_LAYOUT + PLANE_B_BLOCK_ROWS * column + row;
}

} // namespace

std::string LevelMapName(unsigned level) {
    return std::string(LEVELS_FOLDER) + "/" + LevelStem(level) + ".tmx";
}
std::string BlockMapName(unsigned level) {
    return std::string(LEVELS_FOLDER) + "/" + LevelStem(level) + "-blocks.tmx";
}
std::string PlaneDrawingName(unsigned level, bool planeB) {
    return LevelStem(level) + (planeB ? "-planeB.png" : "-planeA.png");
}
std::string LineDrawingName(unsigned level, unsigned line) {
    return LevelStem(level) + "-line" + std::to_string(line) + ".png";
}

TmxMap LevelTmx(const std::vector<uint8_t>& blockData, unsigned level) {
    TmxMap map{LEVEL_BLOCK_COLUMNS, PLANE_A_BLOCK_ROWS, BLOCK_SIDE, BLOCK_SIDE, {}, {}};
    for (const bool planeB : {false, true}) {
        const TmxTileset tileset = PlaneTileset(level, planeB);
        TmxLayer layer{planeB ? PLANE_B : PLANE_A,
                       std::vector<uint32_t>(size_t(map.width) * map.height, 0)};
        for (size_t cell = 0; cell < layer.gids.size(); ++cell) {
            const std::optional<size_t> at = LayoutByte(planeB, cell);
            if (at && *at < blockData.size()) layer.gids[cell] = tileset.firstGid + blockData[*at];
        }
        map.tilesets.push_back(tileset);
        map.layers.push_back(std::move(layer));
    }
    return map;
}

size_t ApplyLevelTmx(const TmxMap& read, const std::vector<uint8_t>& unpacked,
                     std::vector<uint8_t>& data, unsigned level, const std::string& path) {
    const TmxMap written = LevelTmx(unpacked, level);
    CheckMapShape(read, written, path);
    size_t changed = 0;
    for (size_t k = 0; k < written.layers.size(); ++k) {
        const bool planeB = k == 1;
        const TmxLayer& before = written.layers[k];
        const std::vector<uint32_t> now = WrittenGids(read, written, before.name);
        for (size_t cell = 0; cell < now.size(); ++cell) {
            if (now[cell] == before.gids[cell]) continue;
            const auto problem = [&](ModProblemKind kind) {
                return CellProblem(kind, path, before.name, cell, written.width);
            };
            const std::optional<size_t> at = LayoutByte(planeB, cell);
            if (!at) ThrowModProblem(problem(ModProblemKind::BlockInPlaneBLowRows));
            if (now[cell] & TMX_GID_FLAGS) ThrowModProblem(problem(ModProblemKind::BlockFlipped));
            const int tileset = now[cell] ? TilesetOf(written, now[cell]) : -1;
            if (tileset != int(k)) {
                ModProblem notBlock = problem(ModProblemKind::CellNotBlock);
                notBlock.number = now[cell] == 0 ? 0 : tileset < 0 ? 1 : 2;
                notBlock.text = before.name;
                ThrowModProblem(std::move(notBlock));
            }
            if (*at >= data.size()) {
                ModProblem past = problem(ModProblemKind::CellPastBlockData);
                past.size = data.size();
                ThrowModProblem(std::move(past));
            }
            data[*at] = uint8_t(now[cell] - written.tilesets[k].firstGid);
            ++changed;
        }
    }
    return changed;
}

} // namespace drovak
