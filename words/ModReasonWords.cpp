#include "words/ModReasonWords.h"

namespace drovak {

using K = ModProblemKind;

namespace {

std::string Number(uint64_t value) {
    return std::to_string(value);
}

} // namespace

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string Place(const ModProblem& p) {
    switch (p.place) {
    case ManifestPlace::Top:
        return "the top";
    case ManifestPlace::Rom:
        return "[rom]";
    case ManifestPlace::Table:
        return "[table]";
    case ManifestPlace::File:
        return "file " + Number(p.index);
    case ManifestPlace::FileSheet:
        return "file " + Number(p.index) + ", its sheet";
    case ManifestPlace::View:
        return "view " + Number(p.index);
    }
    return "";
}

namespace {

std::string ValueText(ManifestValue value) {
    switch (value) {
    case ManifestValue::Table:
        return "a table";
    case ManifestValue::Integer:
        return "an integer";
    case ManifestValue::String:
        return "a string";
    }
    return "";
}

} // namespace

// What a manifest's record or key is wrong in, or "" when the kind is not the manifest's.
std::string ManifestReason(const ModProblem& p) {
    switch (p.kind) {
    case K::KeyMissing:
        return p.key + " is missing";
    case K::KeyNotType:
        return p.key + " is not " + ValueText(p.value);
    case K::KeyOutOfRange:
        return p.key + " is " + std::to_string(p.number) + ", not 0 to " + Number(p.limit);
    case K::SheetSidesZero:
        return "a sheet's columns and cell sides are at least 1";
    case K::FileKindUnknown:
        return "kind is " + Quoted(p.text) + ", not \"lzh\" or \"rle\"";
    case K::NameNotExpected:
        return "name is " + Quoted(p.text) + ", not " + Quoted(p.expected) +
               (p.flag ? "" : " as its kind and place give");
    case K::LevelZero:
        return "level is 0, not 1 to 8";
    case K::PaletteUnknown:
        return "not a palette the layout knows";
    case K::ViewKindUnknown:
        return "kind is " + Quoted(p.text) +
               ", not \"level map\", \"block map\", \"palette\" or \"drawing\"";
    case K::RomPathEmpty:
        return "path is empty";
    case K::UnfinishedNotBool:
        return "unfinished is not true or false";
    case K::FilesMissing:
        return "[[file]] is missing or not an array of tables";
    case K::NotATable:
        return "not a table";
    case K::ListedTwice:
        return p.text + " is listed twice";
    case K::ViewsNotArray:
        return "[[view]] is not an array of tables";
    default:
        return "";
    }
}

// What is wrong with a Tiled map as this program reads it, or "" for another kind.
std::string TmxReason(const ModProblem& p) {
    switch (p.kind) {
    case K::TmxSyntax:
        return "line " + Number(p.line) + ": " + p.text + "; not a TMX map";
    case K::TmxNoMap:
        return "no <map>; not a TMX map";
    case K::TmxNotOrthogonal:
        return "not an orthogonal map";
    case K::TmxInfinite:
        return p.flag ? "data in chunks (an infinite map)" : "an infinite map";
    case K::TmxAttributeMissing:
        return "<" + p.element + "> has no " + p.key;
    case K::TmxAttributeNotNumber:
        return "<" + p.element + "> " + p.key + "=" + Quoted(p.text) + " is not a whole number";
    case K::TmxTooLarge:
        return "a map of " + Number(p.width) + " x " + Number(p.height) +
               " cells, larger than any of a folder";
    case K::TmxLayerSize:
        return Number(p.width) + " x " + Number(p.height) + " cells, not the map's " +
               Number(p.otherWidth) + " x " + Number(p.otherHeight);
    case K::TmxNoData:
        return "no <data>";
    case K::TmxEncoding:
        return "data encoded as " + Quoted(p.text) + ", not CSV or base64";
    case K::TmxCompression:
        return "data compressed with " + p.text +
               "; save the map with CSV, base64, zlib or gzip layer data";
    case K::TmxBase64:
        return "the base64 data holds '" + p.text + "'";
    case K::TmxCsvCell:
        return "cell " + Number(p.count) + " of the CSV data, " + Quoted(p.text) + ", is not a gid";
    case K::TmxInflaterNotStarted:
        return "zlib can't be started";
    case K::TmxCompressedCells:
        return "the compressed data does not hold one gid a cell";
    case K::TmxCompressedDamaged:
        return "the compressed data is damaged";
    case K::TmxBase64Cells:
        return "the data does not hold one gid a cell";
    case K::TmxCellCount:
        return "the data holds " + std::string(p.count > p.limit ? "more" : "fewer") +
               " cells than the map's " + Number(p.limit);
    default:
        return "";
    }
}

// What is wrong with a cell of a map, or "" for another kind.
std::string CellReason(const ModProblem& p) {
    static const char* const NOT_BLOCK[] = {"an empty cell", "a tile of no tileset of the map",
                                            "a block of the other plane's tileset"};
    switch (p.kind) {
    case K::BlockTileCount:
        return std::string(p.flag ? "a tile in both" : "a tile in neither") +
               " of the layers \"Low\" and \"High\"; each cell of a block holds one tile, in one "
               "of them";
    case K::TileRotated:
        return "a rotated tile; tiles can only be flipped";
    case K::TileOfNoTileset:
        return "a tile of no tileset of the map";
    case K::CellPastBlockData:
        return "past the end of the level's block data (" + Number(p.size) + " bytes)";
    case K::BlockInPlaneBLowRows:
        return "a block in Plane B's rows 8 to 15, which the level does not have; leave them "
               "empty";
    case K::BlockFlipped:
        return "a flipped or rotated block; a level's blocks can't be flipped (flip the tiles in "
               "the block map)";
    case K::CellNotBlock:
        return std::string(NOT_BLOCK[p.number >= 0 && p.number < 3 ? p.number : 0]) +
               "; each cell holds one of " + p.text + "'s blocks";
    default:
        return "";
    }
}

} // namespace drovak
