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

TileSheetSize SheetSizeFor(size_t dataSize, unsigned columns) {
    if (columns < 1 || columns > MAX_SHEET_COLUMNS) {
        throw RefusedError("a tile picture of " + std::to_string(columns) +
                           " tiles a row: it takes 1 to " + std::to_string(MAX_SHEET_COLUMNS));
    }
    if (dataSize > MAX_SHEET_DATA) {
        throw RefusedError(std::to_string(dataSize) +
                           " bytes are more tile data than one picture "
                           "holds (" +
                           std::to_string(MAX_SHEET_DATA) + ")");
    }
    const uint64_t tiles = TileCount(dataSize);
    const uint64_t rows = tiles == 0 ? 1 : (tiles + columns - 1) / columns;
    const uint64_t pixels = rows * columns * TILE_SIDE * TILE_SIDE;
    if (rows * TILE_SIDE > PNG_READ_MAX_SIDE || pixels > PNG_READ_MAX_PIXELS) {
        const uint64_t fewestColumns =
            (tiles * TILE_SIDE + PNG_READ_MAX_SIDE - 1) / PNG_READ_MAX_SIDE;
        throw RefusedError(std::to_string(tiles) + " tiles at " + std::to_string(columns) +
                           " a row make a picture of " + std::to_string(columns * TILE_SIDE) +
                           " x " + std::to_string(rows * TILE_SIDE) +
                           " pixels, more than a picture may have (" +
                           std::to_string(PNG_READ_MAX_SIDE) + " pixels a side, " +
                           std::to_string(PNG_READ_MAX_PIXELS) + " in all); take at least " +
                           std::to_string(fewestColumns) + " tiles a row");
    }
    return {columns, uint32_t(rows)};
}

} // namespace drovak
