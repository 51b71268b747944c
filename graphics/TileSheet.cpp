#include "graphics/TileSheet.h"

#include "base/Errors.h"

#include <charconv>

namespace drovak {

std::string TileDataText(uint64_t bytes) {
    return std::to_string(TileCount(bytes)) + " tiles, " + std::to_string(bytes) + " bytes";
}

namespace {

// A decimal number at the start of text, which it leaves behind.
std::optional<uint64_t> TakeNumber(std::string_view& text) {
    uint64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) return std::nullopt;
    text.remove_prefix(size_t(end - text.data()));
    return value;
}

bool TakeWords(std::string_view& text, std::string_view words) {
    if (!text.starts_with(words)) return false;
    text.remove_prefix(words.size());
    return true;
}

} // namespace

std::optional<uint64_t> ParseTileDataText(std::string_view text) {
    std::optional<uint64_t> tiles = TakeNumber(text);
    if (!tiles || !TakeWords(text, " tiles, ")) return std::nullopt;
    std::optional<uint64_t> bytes = TakeNumber(text);
    if (!bytes || !TakeWords(text, " bytes") || !text.empty()) return std::nullopt;
    if (*bytes > UINT64_MAX - TILE_DATA_BYTES || TileCount(*bytes) != *tiles) return std::nullopt;
    return bytes;
}

std::string TileCellText(TileCell cell) {
    return std::to_string(cell.width) + "x" + std::to_string(cell.height);
}

std::optional<TileCell> ParseTileCellText(std::string_view text) {
    std::optional<uint64_t> width = TakeNumber(text);
    if (!width || !TakeWords(text, "x")) return std::nullopt;
    std::optional<uint64_t> height = TakeNumber(text);
    if (!height || !text.empty()) return std::nullopt;
    for (uint64_t side : {*width, *height}) {
        if (side < 1 || side > MAX_CELL_SIDE) return std::nullopt;
    }
    return TileCell{unsigned(*width), unsigned(*height)};
}

TileSheetSize SheetSizeFor(size_t dataSize, unsigned columns, TileCell cell) {
    const std::string unit = cell == TileCell{} ? " tiles" : " cells";
    if (columns < 1 || columns > MAX_SHEET_COLUMNS) {
        throw RefusedError("a tile picture of " + std::to_string(columns) + unit +
                           " a row: it takes 1 to " + std::to_string(MAX_SHEET_COLUMNS));
    }
    for (unsigned side : {cell.width, cell.height}) {
        if (side < 1 || side > MAX_CELL_SIDE) {
            throw RefusedError("a tile picture of cells of " + TileCellText(cell) +
                               " tiles: a cell's sides take 1 to " + std::to_string(MAX_CELL_SIDE) +
                               " tiles");
        }
    }
    if (dataSize > MAX_SHEET_DATA) {
        throw RefusedError(std::to_string(dataSize) +
                           " bytes are more tile data than one picture "
                           "holds (" +
                           std::to_string(MAX_SHEET_DATA) + ")");
    }
    const uint64_t cells = (dataSize + cell.Bytes() - 1) / cell.Bytes();
    const uint64_t rows = cells == 0 ? 1 : (cells + columns - 1) / columns;
    const uint64_t width = uint64_t(columns) * TILE_SIDE * cell.width;
    const uint64_t height = rows * TILE_SIDE * cell.height;
    if (width > PNG_READ_MAX_SIDE || height > PNG_READ_MAX_SIDE ||
        width * height > PNG_READ_MAX_PIXELS) {
        const uint64_t mostRows = PNG_READ_MAX_SIDE / (TILE_SIDE * cell.height);
        const uint64_t fewestColumns = (cells + mostRows - 1) / mostRows;
        throw RefusedError(std::to_string(cells) + unit + " at " + std::to_string(columns) +
                           " a row make a picture of " + std::to_string(width) + " x " +
                           std::to_string(height) + " pixels, more than a picture may have (" +
                           std::to_string(PNG_READ_MAX_SIDE) + " pixels a side, " +
                           std::to_string(PNG_READ_MAX_PIXELS) + " in all); take at least " +
                           std::to_string(fewestColumns) + unit + " a row");
    }
    return {columns, uint32_t(rows)};
}

} // namespace drovak
