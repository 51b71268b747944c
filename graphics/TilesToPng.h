#pragma once

#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "graphics/TilePalette.h"
#include "graphics/TileSheet.h"

#include <cstdint>
#include <span>
#include <string>

namespace drovak {

// Writes tile data as a tile sheet (see TileSheet.h), `columns` cells of `cell` to a row: an
// indexed PNG (colour type 3, 4 bits, not interlaced) whose pixels are the tiles' 4-bit values,
// whose PLTE is the 16 colours of the palette, and which records the data's length in a tEXt
// chunk (TILE_DATA_KEYWORD) and a cell other than 1 x 1 in another (TILE_CELL_KEYWORD), so that
// PngToTiles gives back exactly the same bytes. RefusedError, before anything is written, for
// what SheetSizeFor refuses.
void WriteTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                   Stream& out, TileCell cell = {});

// The same into a file, through the atomic file writer: FileError naming path when it can't be
// written, and an existing file is then left as it was.
void SaveTilesPng(std::span<const uint8_t> tiles, const TilePalette& palette, unsigned columns,
                  const std::string& path, TileCell cell = {}, const ReplaceOptions& options = {});

} // namespace drovak
