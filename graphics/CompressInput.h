#pragma once

#include "graphics/PngToTiles.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

// The data a compress puts into the ROM, from its input file.
struct CompressInput {
    std::vector<uint8_t> data;
    // Set when the file was a PNG picture of tiles (its data moved to `data`).
    std::optional<TilesFromPng> picture;
};

// Reads a "Compress from:" file whole (ReadDataFile). A file that starts with the PNG signature
// is a picture of tiles (TileSheet.h), turned back into tile data with palette(): the length it
// records, or else the first entryBytes() bytes (the size of the data it replaces, so that a
// round trip through an editor that drops the record gives back as many tiles; nothing: every
// tile of the picture). The tiles are read in the cell the picture records, or else in `cell`
// (the page's own layout, as "Save tiles as PNG..." writes it). Any other file is taken as it
// is, and neither function is called. hints() (when given) tells PngToTiles what else is known
// of the data. PngToTiles's refusals name the file.
CompressInput ReadCompressInput(const std::string& path,
                                const std::function<TilePalette()>& palette,
                                const std::function<std::optional<uint64_t>()>& entryBytes,
                                TileCell cell = {}, const std::function<SheetHints()>& hints = {});

} // namespace drovak
