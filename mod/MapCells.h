#pragma once

#include "mod/ModProblem.h"
#include "mod/TmxMap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// A read map seen through the map the unpack wrote: its cells in the written map's numbering,
// whatever firstgids an editor gave the tilesets.

// A cell's tile in no tileset of the map (or past the tiles of its tileset), its flags kept.
constexpr uint32_t TMX_NO_TILESET = 0x0FFFFFFFu;

// RefusedError naming `path` when `read` is not of the size, tile size, tileset count and tile
// layers (by name, each once) of `written`.
void CheckMapShape(const TmxMap& read, const TmxMap& written, const std::string& path);

// The gids of the layer `layer` of `read` in the numbering of `written` (its k-th tileset taken
// for the read map's k-th, its tileCount tiles long): 0 stays 0, flags are kept, a tile of no
// tileset becomes TMX_NO_TILESET.
std::vector<uint32_t> WrittenGids(const TmxMap& read, const TmxMap& written,
                                  const std::string& layer);

// The tileset of the written map a gid (without flags, not 0) of its numbering lies in, or -1.
int TilesetOf(const TmxMap& written, uint32_t gid);

// A problem of a cell: the map's path, the layer, the cell's column and row (counted from 0, as
// the editor shows them).
ModProblem CellProblem(ModProblemKind kind, const std::string& path, const std::string& layer,
                       size_t cell, unsigned width);

} // namespace drovak
