#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace drovak {

// An orthogonal tile map of the TMX format (XML), as much of it as a folder's maps use: its
// size, its tilesets (each a picture of tiles, or a TSX file that holds one) and its tile
// layers, one global tile id (gid) a cell.

// The top bits of a gid: flips, and the rotations they make.
constexpr uint32_t TMX_FLIPPED_HORIZONTALLY = 0x80000000u;
constexpr uint32_t TMX_FLIPPED_VERTICALLY = 0x40000000u;
constexpr uint32_t TMX_FLIPPED_DIAGONALLY = 0x20000000u;
constexpr uint32_t TMX_ROTATED_HEXAGONAL = 0x10000000u;
constexpr uint32_t TMX_GID_FLAGS = 0xF0000000u;

struct TmxTileset {
    uint32_t firstGid = 1;
    // What the writer writes (the reader only needs firstGid: a tileset is known by its place).
    std::string name;
    unsigned tileWidth = 0;
    unsigned tileHeight = 0;
    unsigned tileCount = 0;
    unsigned columns = 0;
    std::string image; // beside the map
    unsigned imageWidth = 0;
    unsigned imageHeight = 0;
};

struct TmxLayer {
    std::string name;
    std::vector<uint32_t> gids; // width x height, row by row, top row first
};

struct TmxMap {
    unsigned width = 0; // cells
    unsigned height = 0;
    unsigned tileWidth = 0; // pixels
    unsigned tileHeight = 0;
    std::vector<TmxTileset> tilesets; // by firstGid
    std::vector<TmxLayer> layers;
};

// The map as TMX text: tilesets embedded, layers as CSV.
std::string TmxText(const TmxMap& map);

// Reads a map as any editor of the format may have saved it: attributes in any order,
// properties and other elements ignored, tilesets embedded or in TSX files (only their firstgid
// is read), each tile layer's data as CSV, as XML tiles, or as base64 of little-endian gids,
// uncompressed or compressed with zlib or gzip. RefusedError naming `name` (and the line, for
// the XML, and the layer, for its data) for: not XML, not a finite orthogonal map, a layer's
// data that can't be read or does not fill the map, a compression not supported (zstd).
TmxMap ParseTmx(std::string_view text, const std::string& name);

} // namespace drovak
