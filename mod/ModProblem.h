#pragma once

// Why a folder was not unpacked or packed, as data: what kind of problem, in which file, and the
// numbers. The words for the user are in words/ (ModProblemText). Nothing was written when one
// is thrown, except for UnpackStopped, which tells what the folder holds.

#include "base/Errors.h"
#include "mod/Manifest.h"

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

enum class ModProblemKind {
    // The manifest (`file`) at `place` (`index`): not one an unpack wrote.
    ManifestSyntax,     // toml++'s reason `text` at `line`, `column`
    ManifestFormat,     // format `number`, where this program reads 1 to `limit`
    KeyMissing,         // `key` is missing
    KeyNotType,         // `key` is not `value`
    KeyOutOfRange,      // `key` is `number`, not 0 to `limit`
    SheetSidesZero,     // a sheet's columns or cell sides are 0
    FileKindUnknown,    // kind `text`
    NameNotExpected,    // name `text`, not `expected` (`flag`: a sheet's name)
    LevelZero,          // level 0
    PaletteUnknown,     // a palette at no place the layout knows
    ViewKindUnknown,    // kind `text`
    RomPathEmpty,       // [rom]'s path is empty
    UnfinishedNotBool,  // unfinished is neither true nor false
    FilesMissing,       // no [[file]] array
    NotATable,          // a [[file]] or [[view]] that is no table
    ListedTwice,        // the name `text` is listed twice
    ViewsNotArray,      // [[view]] is no array of tables
    ManifestUnfinished, // marked unfinished: the unpack did not finish
    // A Tiled map (`file`, in `layer` where there is one) that this program does not read:
    TmxSyntax,             // pugixml's reason `text` at `line`
    TmxNoMap,              // no <map>
    TmxNotOrthogonal,      // not an orthogonal map
    TmxInfinite,           // an infinite map, or a layer's data in chunks
    TmxAttributeMissing,   // <`element`> has no `key`
    TmxAttributeNotNumber, // <`element`> `key`="`text`" is not a whole number
    TmxTooLarge,           // `width` x `height` cells
    TmxLayerSize,          // `width` x `height` cells, not the map's `otherWidth` x `otherHeight`
    TmxNoData,             // a layer without <data>
    TmxEncoding,           // data encoded as `text`
    TmxCompression,        // data compressed with `text`
    TmxBase64,             // base64 data holding the character `text`
    TmxCsvCell,            // cell `count` of the CSV data, `text`, is not a gid
    TmxInflaterNotStarted, // zlib could not start
    TmxCompressedCells,    // compressed data that does not hold one gid a cell
    TmxCompressedDamaged,  // damaged compressed data
    TmxBase64Cells,        // base64 data that does not hold one gid a cell
    TmxCellCount,          // `count` cells, not the map's `limit`
    // A map of the folder against the one the unpack wrote (`file`):
    MapShape,    // `width` x `height` cells of `cellWidth` x `cellHeight` pixels, not
                 // `otherWidth` x `otherHeight` cells of `otherCellWidth` x ...
    MapTilesets, // `count` tilesets, not `limit`
    MapLayers,   // its layers are not `names` (each once)
    // A cell of a map (`file`, `layer`, `column`, `row`) that can't be packed:
    BlockTileCount,       // a tile in both layers (`flag`) or in neither
    TileRotated,          // a rotated tile in a block map
    TileOfNoTileset,      // a tile of no tileset in a block map
    CellPastBlockData,    // past the end of the level's block data (`size` bytes)
    BlockInPlaneBLowRows, // a block in Plane B's rows 8 to 15
    BlockFlipped,         // a flipped or rotated block in a level map
    CellNotBlock,         // an empty cell (`number` 0), a tile of no tileset (1) or of the
                          // other plane (2), where each cell holds one of `text`'s blocks
    MapWithoutBlockData,  // a changed map whose level's block data the manifest does not record
    MapsDisagree,         // `record`: `text` and `names` give different block data
    // A GIMP palette file (`file`):
    PaletteNotGimp,     // line `line` is not "GIMP Palette"
    PaletteNotColour,   // line `line`, `text`, is not a colour
    PaletteValue,       // line `line`: `number` is not 0 to 255
    PaletteEmpty,       // empty
    PaletteColourCount, // `count` colours where the palette has `limit`
    // Data and sheets:
    SheetNotPng,         // the sheet `file` of `record` is no PNG picture
    BinAndSheetDisagree, // `record`: both its .bin and its sheet changed, differently
    SheetPalettePastEnd, // ROM `file`: palette line `line` of the palette at `offset` ends at
                         // `limit`, the file at `size` (a FileError)
    PaletteBeyondRom,    // ROM `file`: the palette at `offset` (`count` colours) ends past it
    // Pack:
    BaseNotUnpacked,    // base `file` (`crc`, `size`) is not `other`'s ROM `text` (`otherCrc`,
                        // `otherSize`)
    NoLongerDecodes,    // in `other`, `record` decodes to other data, or fails with `cause`
    PalettePastNewEnd,  // in `other`, the palette at `offset` ends past the new image's end
    OutputInsideFolder, // `file` lies inside `other`, the folder being packed
    OutputChanged,      // `file` changed since it was read
    OutputHoldsOther,   // `file` exists and holds other data (an OtherContentError)
    // Unpack:
    TableTooLong,        // ROM `file`: the table at `offset` has `count` entries, over `limit`
    NotUnpackedFile,     // `file` is a `number` (a file type), not a file of a previous unpack
    UnpackedFileChanged, // `file` changed since the unpack
    FolderNotEmpty,      // `file` is not empty and holds no manifest
    ManifestNotFile,     // the manifest `file` is a `number` (a file type)
    OtherRomUnpacked,    // `file` holds an unpack of `text` (`crc`), not of `other` (`otherCrc`)
    NotOfPreviousUnpack, // `file` is not a file of the previous unpack
    ViewFolderNotFolder, // `file` is a `number` (a file type), not a folder
    UnpackStopped,       // the unpack into `file` stopped at `cause` (`flag`: a file problem)
};

// Where in the manifest a problem was found.
enum class ManifestPlace { Top, Rom, Table, File, FileSheet, View };
// What a manifest key holds.
enum class ManifestValue { Table, Integer, String };

struct ModProblem {
    ModProblemKind kind = ModProblemKind::ManifestSyntax;
    std::string file{};                 // the file or folder, as given
    std::string other{};                // a second file or folder
    std::optional<std::string> layer{}; // a Tiled map's layer
    std::string text{};                 // a value as read, a name, a library's reason
    std::string expected{};             // the name a manifest record should have
    std::string key{};                  // a manifest key or a TMX attribute
    std::string element{};              // a TMX element
    std::vector<std::string> names{};   // layers, maps
    std::optional<ModFile> record{};    // the record a problem is of
    ManifestPlace place = ManifestPlace::Top;
    ManifestValue value = ManifestValue::Integer; // what `key` should hold
    uint64_t index = 0;                           // the place's number, from 1
    int64_t number = 0;
    uint64_t limit = 0, count = 0, line = 0, column = 0, row = 0;
    uint64_t width = 0, height = 0, cellWidth = 0, cellHeight = 0;
    uint64_t otherWidth = 0, otherHeight = 0, otherCellWidth = 0, otherCellHeight = 0;
    uint64_t offset = 0, size = 0, otherSize = 0;
    uint32_t crc = 0, otherCrc = 0;
    bool flag = false;
    std::exception_ptr cause{}; // the failure it follows from, where there is one
};

using ModProblemCarrier = ProblemCarrier<ModProblem>;

// what() names only the file and the kind's number: it is not for the user.
class ModRefusal : public RefusedError, public ModProblemCarrier {
public:
    explicit ModRefusal(ModProblem problem);
};

class ModOtherContent : public OtherContentError, public ModProblemCarrier {
public:
    explicit ModOtherContent(ModProblem problem);
};

class ModFileProblem : public FileError, public ModProblemCarrier {
public:
    explicit ModFileProblem(ModProblem problem);
};

// Throws ModRefusal, ModOtherContent or ModFileProblem, as the kind is.
[[noreturn]] void ThrowModProblem(ModProblem problem);

// The problem an exception carries, or nothing.
const ModProblem* ModProblemOf(const std::exception& error);

} // namespace drovak
