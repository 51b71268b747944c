#include "graphics/PngToTiles.h"

#include "base/Errors.h"
#include "graphics/GraphicsProblem.h"
#include "graphics/TileSheet.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace drovak {

namespace {

constexpr int NOT_IN_PALETTE = -1;

// The 8-bit value a 16-bit sample stands for, or -1.
int EightBit(uint32_t sample) {
    if (sample % 257 == 0) return int(sample / 257);
    if ((sample & 0xFF) == 0) return int(sample >> 8);
    return -1;
}

// Whether a palette picture's PLTE is the palette line: its first 16 colours (all of them when
// it has fewer) are the line's, in the line's order.
bool PlteIsTheLine(const DecodedPng& image, const TilePalette& palette) {
    for (size_t v = 0; v < PALETTE_LINE_COLOURS && v < image.palette.size(); ++v) {
        if (image.palette[v] != palette.colours[v]) return false;
    }
    return true;
}

// Gives each pixel its tile value, or NOT_IN_PALETTE / a value above 15 for the caller to refuse.
class PixelValues {
public:
    PixelValues(const DecodedPng& image, const TilePalette& palette, const SheetHints& hints)
        : image_(image), palette_(palette),
          byColour_(
              image.pixels != PngPixels::Indices ||
              (palette.known && !PlteIsTheLine(image, palette) &&
               std::none_of(hints.otherLines.begin(), hints.otherLines.end(),
                            [&](const TilePalette& line) { return PlteIsTheLine(image, line); }))) {
    }

    // The values come from the pixels' colours, not from their palette indices.
    bool ByColour() const { return byColour_; }

    // `previous`: the value the data had at the pixel, or -1.
    int At(uint32_t x, uint32_t y, int previous) const {
        if (image_.pixels == PngPixels::Indices) {
            const uint32_t index = image_.Sample(x, y, 0);
            if (!byColour_) return int(index);
            return index < image_.palette.size() ? ValueOf(image_.palette[index], previous)
                                                 : NOT_IN_PALETTE;
        }
        if (image_.pixels == PngPixels::RgbAlpha && image_.Sample(x, y, 3) == 0) return 0;
        uint32_t colour = 0;
        for (unsigned s = 0; s < 3; ++s) {
            const uint32_t sample = image_.Sample(x, y, s);
            const int value = image_.sampleBits == 16 ? EightBit(sample) : int(sample);
            if (value < 0) return NOT_IN_PALETTE;
            colour |= uint32_t(value) << (8 * s);
        }
        return ValueOf(colour, previous);
    }

    // The pixel's colour as the file holds it: #RRGGBB, or #RRRRGGGGBBBB at 16 bits; nothing
    // for an index beyond the picture's palette.
    std::string ColourAt(uint32_t x, uint32_t y) const {
        if (image_.pixels == PngPixels::Indices) {
            const uint32_t index = image_.Sample(x, y, 0);
            return index < image_.palette.size() ? ColourText(image_.palette[index]) : "";
        }
        std::string text = "#";
        char digits[5];
        for (unsigned s = 0; s < 3; ++s) {
            std::snprintf(digits, sizeof digits, image_.sampleBits == 16 ? "%04X" : "%02X",
                          image_.Sample(x, y, s));
            text += digits;
        }
        return text;
    }

private:
    // The previous value when it has the colour, else the lowest value of the colour in the line.
    int ValueOf(uint32_t colour, int previous) const {
        if (previous >= 0 && palette_.colours[unsigned(previous)] == colour) return previous;
        for (unsigned v = 0; v < PALETTE_LINE_COLOURS; ++v) {
            if (palette_.colours[v] == colour) return int(v);
        }
        return NOT_IN_PALETTE;
    }

    const DecodedPng& image_;
    const TilePalette& palette_;
    bool byColour_;
};

// The cell the picture records, or else the one given.
std::pair<TileCell, bool> CellOf(const DecodedPng& image, const std::string& name, TileCell given) {
    const std::optional<std::string> text = image.Text(TILE_CELL_KEYWORD);
    if (!text) return {given, false};
    const std::optional<TileCell> cell = ParseTileCellText(*text);
    if (!cell) {
        GraphicsProblem problem{GraphicsProblemKind::RecordedCellBad, name};
        problem.text = *text;
        problem.limit = MAX_CELL_SIDE;
        ThrowGraphicsProblem(std::move(problem));
    }
    return {*cell, true};
}

// How many bytes to keep, and whether the picture recorded it.
std::pair<uint64_t, bool> BytesToKeep(const DecodedPng& image, const std::string& name,
                                      uint64_t pictureTiles, std::optional<uint64_t> keepBytes) {
    const uint64_t pictureBytes = pictureTiles * TILE_DATA_BYTES;
    bool recorded = false;
    if (!keepBytes) {
        if (auto text = image.Text(TILE_DATA_KEYWORD)) {
            keepBytes = ParseTileDataText(*text);
            if (!keepBytes) {
                GraphicsProblem problem{GraphicsProblemKind::RecordedDataBad, name};
                problem.text = *text;
                ThrowGraphicsProblem(std::move(problem));
            }
            recorded = true;
        }
    }
    if (!keepBytes) return {pictureBytes, false};
    if (*keepBytes > pictureBytes) {
        GraphicsProblem problem{GraphicsProblemKind::TooFewTiles, name};
        problem.count = pictureTiles;
        problem.size = *keepBytes;
        problem.flag = recorded;
        ThrowGraphicsProblem(std::move(problem));
    }
    return {*keepBytes, recorded};
}

} // namespace

TilesFromPng PngToTiles(const DecodedPng& image, const std::string& name,
                        const TilePalette& palette, std::optional<uint64_t> keepBytes,
                        TileCell cell, const SheetHints& hints) {
    if (image.data.size() != size_t(image.width) * image.height * image.BytesPerPixel()) {
        throw DrovakError(name + ": the picture's pixels do not fill its size");
    }
    TilesFromPng result;
    std::tie(result.cell, result.cellRecorded) = CellOf(image, name, cell);
    const uint32_t cellWidth = TILE_SIDE * result.cell.width;
    const uint32_t cellHeight = TILE_SIDE * result.cell.height;
    if (image.width % cellWidth != 0 || image.height % cellHeight != 0) {
        GraphicsProblem problem{GraphicsProblemKind::NotWholeCells, name};
        problem.width = image.width;
        problem.height = image.height;
        problem.columns = result.cell.width;
        problem.count = result.cell.height;
        ThrowGraphicsProblem(std::move(problem));
    }
    const uint32_t columns = image.width / cellWidth;
    result.pictureTiles =
        uint64_t(columns) * (image.height / cellHeight) * result.cell.width * result.cell.height;
    const auto [keep, recorded] = BytesToKeep(image, name, result.pictureTiles, keepBytes);
    result.lengthRecorded = recorded;

    const PixelValues values(image, palette, hints);
    result.valuesByColour = image.pixels == PngPixels::Indices && values.ByColour();
    result.data.assign(result.pictureTiles * TILE_DATA_BYTES, 0);
    for (uint32_t y = 0; y < image.height; ++y) {
        for (uint32_t x = 0; x < image.width; ++x) {
            const uint64_t at = ByteOfPixel(x, y, columns, result.cell);
            const int previous =
                at < hints.previous.size() ? (hints.previous[at] >> (x % 2 ? 0 : 4)) & 0xF : -1;
            const int value = values.At(x, y, previous);
            if (at >= keep) {
                if (value != 0 && !result.droppedPixel) result.droppedPixel = PixelPosition{x, y};
                continue;
            }
            if (value == NOT_IN_PALETTE) {
                GraphicsProblem problem{GraphicsProblemKind::ColourNotInPalette, name};
                problem.x = x;
                problem.y = y;
                problem.text = values.ColourAt(x, y);
                problem.value = image.pixels == PngPixels::Indices ? image.Sample(x, y, 0) : 0;
                problem.palette = palette.source;
                problem.flag = result.valuesByColour;
                ThrowGraphicsProblem(std::move(problem));
            }
            if (value >= int(PALETTE_LINE_COLOURS)) {
                GraphicsProblem problem{GraphicsProblemKind::IndexAboveTile, name};
                problem.x = x;
                problem.y = y;
                problem.value = uint64_t(value);
                ThrowGraphicsProblem(std::move(problem));
            }
            result.data[at] |= uint8_t(value << (x % 2 ? 0 : 4));
        }
    }
    result.data.resize(keep);

    if (image.pixels == PngPixels::Indices) {
        for (unsigned v = 0; v < PALETTE_LINE_COLOURS && v < image.palette.size(); ++v) {
            if (image.palette[v] != palette.colours[v]) {
                result.paletteDifference = {v, image.palette[v]};
                break;
            }
        }
    }
    return result;
}

TilesFromPng ReadTilesPng(const std::string& path, const TilePalette& palette,
                          std::optional<uint64_t> keepBytes, TileCell cell) {
    return PngToTiles(ReadPngFile(path), path, palette, keepBytes, cell);
}

} // namespace drovak
