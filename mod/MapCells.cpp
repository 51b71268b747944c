#include "mod/MapCells.h"

#include "base/Errors.h"
#include "mod/ModProblem.h"

#include <algorithm>
#include <set>

namespace drovak {

void CheckMapShape(const TmxMap& read, const TmxMap& written, const std::string& path) {
    if (read.width != written.width || read.height != written.height ||
        read.tileWidth != written.tileWidth || read.tileHeight != written.tileHeight) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::MapShape,
                                   .file = path,
                                   .width = read.width,
                                   .height = read.height,
                                   .cellWidth = read.tileWidth,
                                   .cellHeight = read.tileHeight,
                                   .otherWidth = written.width,
                                   .otherHeight = written.height,
                                   .otherCellWidth = written.tileWidth,
                                   .otherCellHeight = written.tileHeight});
    }
    if (read.tilesets.size() != written.tilesets.size()) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::MapTilesets,
                                   .file = path,
                                   .limit = written.tilesets.size(),
                                   .count = read.tilesets.size()});
    }
    std::set<std::string> names;
    for (const TmxLayer& layer : read.layers) names.insert(layer.name);
    std::vector<std::string> expected;
    for (const TmxLayer& layer : written.layers) expected.push_back(layer.name);
    if (names.size() != read.layers.size() || read.layers.size() != written.layers.size() ||
        !std::all_of(written.layers.begin(), written.layers.end(),
                     [&](const TmxLayer& layer) { return names.count(layer.name) == 1; })) {
        ThrowModProblem(
            ModProblem{.kind = ModProblemKind::MapLayers, .file = path, .names = expected});
    }
}

std::vector<uint32_t> WrittenGids(const TmxMap& read, const TmxMap& written,
                                  const std::string& layer) {
    const auto found = std::find_if(read.layers.begin(), read.layers.end(),
                                    [&](const TmxLayer& l) { return l.name == layer; });
    std::vector<uint32_t> gids = found->gids;
    for (uint32_t& gid : gids) {
        const uint32_t flags = gid & TMX_GID_FLAGS, tile = gid & ~TMX_GID_FLAGS;
        if (tile == 0) {
            gid = flags ? flags | TMX_NO_TILESET : 0;
            continue;
        }
        size_t k = read.tilesets.size();
        while (k > 0 && read.tilesets[k - 1].firstGid > tile) --k;
        const uint32_t index = k ? tile - read.tilesets[k - 1].firstGid : 0;
        gid = k && index < written.tilesets[k - 1].tileCount
                  ? flags | (written.tilesets[k - 1].firstGid + index)
                  : flags | TMX_NO_TILESET;
    }
    return gids;
}

int TilesetOf(const TmxMap& written, uint32_t gid) {
    for (size_t k = 0; k < written.tilesets.size(); ++k) {
        const TmxTileset& tileset = written.tilesets[k];
        if (gid >= tileset.firstGid && gid - tileset.firstGid < tileset.tileCount) return int(k);
    }
    return -1;
}

ModProblem CellProblem(ModProblemKind kind, const std::string& path, const std::string& layer,
                       size_t cell, unsigned width) {
    return ModProblem{
        .kind = kind, .file = path, .layer = layer, .column = cell % width, .row = cell / width};
}

} // namespace drovak
