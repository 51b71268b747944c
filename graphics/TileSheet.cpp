#include "graphics/TileSheet.h"

#include "base/Errors.h"
#include "graphics/GraphicsProblem.h"

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
    GraphicsProblem problem{GraphicsProblemKind::SheetColumns};
    problem.cells = cell != TileCell{};
    problem.columns = columns;
    problem.width = cell.width;
    problem.height = cell.height;
    if (columns < 1 || columns > MAX_SHEET_COLUMNS) {
        problem.limit = MAX_SHEET_COLUMNS;
        ThrowGraphicsProblem(std::move(problem));
    }
    for (unsigned side : {cell.width, cell.height}) {
        if (side < 1 || side > MAX_CELL_SIDE) {
            problem.kind = GraphicsProblemKind::SheetCellSides;
            problem.limit = MAX_CELL_SIDE;
            ThrowGraphicsProblem(std::move(problem));
        }
    }
    if (dataSize > MAX_SHEET_DATA) {
        problem.kind = GraphicsProblemKind::SheetDataOverLimit;
        problem.size = dataSize;
        problem.limit = MAX_SHEET_DATA;
        ThrowGraphicsProblem(std::move(problem));
    }
    const uint64_t cells = (dataSize + cell.Bytes() - 1) / cell.Bytes();
    const uint64_t rows = cells == 0 ? 1 : (cells + columns - 1) / columns;
    const uint64_t width = uint64_t(columns) * TILE_SIDE * cell.width;
    const uint64_t height = rows * TILE_SIDE * cell.height;
    if (width > PNG_READ_MAX_SIDE || height > PNG_READ_MAX_SIDE ||
        width * height > PNG_READ_MAX_PIXELS) {
        const uint64_t mostRows = PNG_READ_MAX_SIDE / (TILE_SIDE * cell.height);
        const uint64_t fewestColumns = (cells + mostRows - 1) / mostRows;
        problem.kind = GraphicsProblemKind::SheetTooLarge;
        problem.count = cells;
        problem.width = width;
        problem.height = height;
        problem.limit = PNG_READ_MAX_SIDE;
        problem.size = PNG_READ_MAX_PIXELS;
        problem.fewest = fewestColumns;
        ThrowGraphicsProblem(std::move(problem));
    }
    return {columns, uint32_t(rows)};
}

} // namespace drovak
