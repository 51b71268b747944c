#pragma once

#include "graphics/TilePalette.h"
#include "graphics/TileSheet.h"
#include "png/PngReader.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drovak {

struct PixelPosition {
    uint32_t x = 0;
    uint32_t y = 0;
};

struct TilesFromPng {
    std::vector<uint8_t> data;
    uint64_t pictureTiles = 0;   // the tiles the picture holds
    bool lengthRecorded = false; // the data's length was the one the picture records
    // The first pixel, row by row, beyond the data kept that is not value 0 (or whose colour is
    // not in the palette): what the data leaves out is not blank.
    std::optional<PixelPosition> droppedPixel;
    // Palette pictures: the first value whose PLTE colour differs from the palette given, and
    // that colour.
    struct PaletteDifference {
        unsigned value = 0;
        uint32_t pictureColour = 0;
    };
    std::optional<PaletteDifference> paletteDifference;
    // A palette picture whose PLTE is not the palette line, with a known palette: each pixel
    // got the value of its colour, not its index.
    bool valuesByColour = false;
    // The cell the tiles were read in, and whether the picture recorded it.
    TileCell cell;
    bool cellRecorded = false;
};

// What else is known of the data a picture shows.
struct SheetHints {
    // The data the picture was drawn from (or the data it replaces): where several values of
    // the line have a pixel's colour, the pixel keeps the value this data has there when that
    // value has the colour; only other pixels take the lowest.
    std::span<const uint8_t> previous;
    // Other palette lines the data is drawn with: a palette picture whose PLTE is one of them
    // (as it is the line's) keeps its values too.
    std::vector<TilePalette> otherLines;
};

// Tile data from a picture of tiles (see TileSheet.h), read in the cell the picture records, or
// else in `cell`. A palette picture whose PLTE is the palette line (its first 16 colours, in
// order), or any palette picture when the palette is not known (the grey ramp), gives its
// pixels' values; with another PLTE each pixel takes the lowest value of its PLTE colour in the
// palette line, as an RGB pixel does. An RGB or RGBA picture (8 or 16 bits; grey counts as RGB)
// gives each pixel the lowest value whose colour in `palette` it has; a 16-bit sample stands for
// the 8-bit v when it is v x 257 or v x 256. A pixel of alpha 0 is value 0 (transparent to the Mega
// Drive) whatever its colour; any other alpha is ignored. The data kept: the first keepBytes bytes;
// without them the length the picture records; without that every tile of the picture. RefusedError
// (nothing is made) naming `name` for: a width or height that is not a multiple of the cell's, a
// value above 15 or a colour not in the palette among the pixels kept (with its x and y), fewer
// tiles than are to be kept, a recorded length or cell that can't be read.
TilesFromPng PngToTiles(const DecodedPng& image, const std::string& name,
                        const TilePalette& palette, std::optional<uint64_t> keepBytes,
                        TileCell cell = {}, const SheetHints& hints = {});

// The same from a PNG file (ReadPngFile's failures too).
TilesFromPng ReadTilesPng(const std::string& path, const TilePalette& palette,
                          std::optional<uint64_t> keepBytes, TileCell cell = {});

} // namespace drovak
