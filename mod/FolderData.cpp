#include "mod/FolderData.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/FolderFiles.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "graphics/PngToTiles.h"
#include "graphics/TileSheet.h"
#include "mod/ModProblem.h"
#include "mod/SheetPalette.h"
#include "rom/DataFile.h"

#include <algorithm>

namespace drovak {

namespace {

// The other palette lines the data of a sheet is drawn with (those the image holds).
std::vector<TilePalette> OtherLines(const RomBytes& base, const SheetLayout& layout) {
    std::vector<TilePalette> lines;
    for (const auto& [offset, line] : SheetDrawingLines(layout)) {
        SheetLayout other = layout;
        other.paletteOffset = offset;
        other.paletteLine = line;
        try {
            lines.push_back(SheetPalette(base, other));
        } catch (const FileError&) {
        }
    }
    return lines;
}

// The tiles of a sheet that changed, with notes on what the reading took as it was, and the
// question a sheet drawn beyond its length asks.
std::vector<uint8_t> ReadSheet(const std::vector<uint8_t>& bytes, const std::string& path,
                               const ModFile& file, const RomBytes& base,
                               std::span<const uint8_t> previous, FolderData& result) {
    const SheetLayout& layout = file.sheet->layout;
    const TilePalette palette = SheetPalette(base, layout);
    if (!HasPngSignature(bytes)) {
        ThrowModProblem(
            ModProblem{.kind = ModProblemKind::SheetNotPng, .file = path, .record = file});
    }
    const DecodedPng image = ReadPng(bytes, path);
    const SheetHints hints{previous, OtherLines(base, layout)};
    const TileCell cell{layout.cellWidth, layout.cellHeight};
    const std::optional<uint64_t> keep =
        image.Text(TILE_DATA_KEYWORD) ? std::nullopt : std::optional<uint64_t>(file.size);
    TilesFromPng picture = PngToTiles(image, path, palette, keep, cell, hints);
    if (picture.droppedPixel) {
        // Drawn beyond its length: the data takes every tile up to the last that is not blank.
        const uint64_t kept = picture.data.size();
        picture =
            PngToTiles(image, path, palette, picture.pictureTiles * TILE_DATA_BYTES, cell, hints);
        uint64_t tiles = picture.pictureTiles;
        const auto blank = [&](uint64_t tile) {
            return std::all_of(picture.data.begin() + long(TILE_DATA_BYTES * tile),
                               picture.data.begin() + long(TILE_DATA_BYTES * (tile + 1)),
                               [](uint8_t byte) { return byte == 0; });
        };
        while (tiles > 0 && TILE_DATA_BYTES * tiles > kept && blank(tiles - 1)) --tiles;
        picture.data.resize(std::max<uint64_t>(kept, TILE_DATA_BYTES * tiles));
        result.grown = SheetGrowth{TileCount(kept), TileCount(picture.data.size())};
    }
    if (picture.valuesByColour) result.decidedBy = palette;
    return std::move(picture.data);
}

} // namespace

FolderData ReadFolderData(const std::string& dir, const Manifest& manifest, const ModFile& file,
                          const RomBytes& base) {
    FolderData result;
    result.source = PathIn(dir, file.name);
    result.data = ReadDataFileInFolder(dir, file.name);
    const bool binChanged = Crc32(result.data) != file.crc;
    result.changed = binChanged;
    if (!file.sheet) return result;
    const std::string sheetName = SheetFileName(manifest, file);
    const std::string sheetPath = PathIn(dir, sheetName);
    FileInfo present;
    if (!StatLink(sheetPath, present)) return result;
    const std::vector<uint8_t> bytes =
        ReadFileInsideFolder(dir, sheetName, MAX_ROM_SIZE, SizeLimit::Sheet);
    if (Crc32(bytes) == file.sheet->crc) return result;
    // A sheet saved again with the pixels it had, or with those of the changed .bin, changes
    // nothing.
    FolderData sheet;
    std::vector<uint8_t> tiles = ReadSheet(bytes, sheetPath, file, base, result.data, sheet);
    if (Crc32(tiles) == file.crc || tiles == result.data) return result;
    if (binChanged) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::BinAndSheetDisagree, .record = file});
    }
    result.data = std::move(tiles);
    result.changed = true;
    result.source = sheetPath;
    result.decidedBy = std::move(sheet.decidedBy);
    result.grown = sheet.grown;
    return result;
}

} // namespace drovak
