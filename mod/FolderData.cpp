#include "mod/FolderData.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/FolderFiles.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "graphics/CompressInput.h"
#include "graphics/TileSheet.h"
#include "mod/SheetPalette.h"
#include "rom/DataFile.h"

namespace drovak {

std::string ModFileDescription(const ModFile& file) {
    return (file.kind == ModKind::LzhEntry ? "entry " + HexText(file.index)
                                           : "the RLE block at " + HexText(file.offset)) +
           " (" + file.name + ")";
}

namespace {

// The tiles of a sheet that changed, with notes on what the reading left out or took as it was.
std::vector<uint8_t> ReadSheet(std::vector<uint8_t> bytes, const std::string& path,
                               const ModFile& file, const RomBytes& base,
                               std::vector<std::string>& notes) {
    const SheetLayout& layout = file.sheet->layout;
    const TilePalette palette = SheetPalette(base, layout);
    CompressInput input = CompressInputFrom(
        std::move(bytes), path, [&] { return palette; },
        [&]() -> std::optional<uint64_t> { return file.size; },
        TileCell{layout.cellWidth, layout.cellHeight});
    if (!input.picture) {
        throw RefusedError(path + ": not a PNG picture (the sheet of " + ModFileDescription(file) +
                           "); nothing was written");
    }
    const TilesFromPng& picture = *input.picture;
    if (picture.droppedPixel) {
        notes.push_back(path + ": the pixel at x " + std::to_string(picture.droppedPixel->x) +
                        ", y " + std::to_string(picture.droppedPixel->y) + " lies beyond the " +
                        std::to_string(TileCount(input.data.size())) +
                        " tiles kept and is not blank; it is left out");
    }
    if (picture.valuesByColour) notes.push_back(PaletteDecidedText(path, palette));
    return std::move(input.data);
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
    std::vector<uint8_t> sheet =
        ReadFileInsideFolder(dir, sheetName, MAX_ROM_SIZE, "a sheet holds");
    if (Crc32(sheet) == file.sheet->crc) return result;
    // A sheet saved again with the pixels it had, or with those of the changed .bin, changes
    // nothing.
    std::vector<std::string> notes;
    std::vector<uint8_t> tiles = ReadSheet(std::move(sheet), sheetPath, file, base, notes);
    if (Crc32(tiles) == file.crc || tiles == result.data) return result;
    if (binChanged) {
        throw RefusedError(ModFileDescription(file) + ": both " + file.name + " and " +
                           file.sheet->name +
                           " changed since the unpack, and they hold different data; keep the "
                           "edit in one of them and put the other back as it was; nothing was "
                           "written");
    }
    result.data = std::move(tiles);
    result.changed = true;
    result.source = sheetPath;
    result.notes = std::move(notes);
    return result;
}

} // namespace drovak
