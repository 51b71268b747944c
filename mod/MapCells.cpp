#include "mod/MapCells.h"

#include "base/Errors.h"

#include <algorithm>
#include <set>

namespace drovak {

void CheckMapShape(const TmxMap& read, const TmxMap& written, const std::string& path) {
    const auto size = [](const TmxMap& map) {
        return std::to_string(map.width) + " x " + std::to_string(map.height) + " cells of " +
               std::to_string(map.tileWidth) + " x " + std::to_string(map.tileHeight) + " pixels";
    };
    const std::string unpacked = "; the map the unpack wrote has ";
    if (read.width != written.width || read.height != written.height ||
        read.tileWidth != written.tileWidth || read.tileHeight != written.tileHeight) {
        throw RefusedError(path + ": a map of " + size(read) + unpacked + size(written) +
                           "; nothing was written");
    }
    if (read.tilesets.size() != written.tilesets.size()) {
        throw RefusedError(path + ": " + std::to_string(read.tilesets.size()) + " tilesets" +
                           unpacked + std::to_string(written.tilesets.size()) +
                           ", in that order; nothing was written");
    }
    std::set<std::string> names;
    for (const TmxLayer& layer : read.layers) names.insert(layer.name);
    std::string expected;
    for (const TmxLayer& layer : written.layers) {
        expected += (expected.empty() ? "\"" : " and \"") + layer.name + "\"";
    }
    if (names.size() != read.layers.size() || read.layers.size() != written.layers.size() ||
        !std::all_of(written.layers.begin(), written.layers.end(),
                     [&](const TmxLayer& layer) { return names.count(layer.name) == 1; })) {
        throw RefusedError(path + ": its tile layers are not the unpack's, " + expected +
                           " (each once); nothing was written");
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

std::string CellText(const std::string& path, const std::string& layer, size_t cell,
                     unsigned width) {
    return path + ": layer \"" + layer + "\", column " + std::to_string(cell % width) + ", row " +
           std::to_string(cell / width) + ": ";
}

} // namespace drovak
