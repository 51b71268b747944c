#include "words/ModProblemWords.h"

#include "base/Errors.h"
#include "words/PackWords.h"

#include <gtest/gtest.h>

#include <sstream>

namespace drovak {
namespace {

// status --diff: ranges of neighbours, eight at most, the rest counted.
TEST(PackWords, DifferencesShowEightRangesAndCountTheRest) {
    // Layout cells one by one, by column and row (plane B's columns are 8 blocks high).
    const std::vector<UnitDifferences> differences = {
        {DataUnit::Tile, {0, 1, 3, 4, 5, 7, 9, 11, 13, 15, 17, 19}, 200, 210},
        {DataUnit::PlaneBCell, {10, 11}, 512, 512}};
    EXPECT_EQ(DifferenceLines(differences),
              (std::vector<std::string>{
                  "tiles that differ: 0-1, 3-5, 7, 9, 11, 13, 15, 17 and 1 more (12 of 200); 200 "
                  "before, 210 now",
                  "plane B layout cells that differ: column 1 row 2, column 1 row 3 (2 of 512)"}));
}

// A map's line counts the cells whose tile changed.
TEST(PackWords, AMapsLineCountsItsChangedCells) {
    ViewChange view;
    view.record.name = "levels/level01.tmx";
    std::ostringstream err;
    for (const size_t cells : {1, 2}) {
        view.cellsChanged = cells;
        EXPECT_TRUE(PackViewLine(view, err).ends_with(cells == 1 ? ", 1 cell changed"
                                                                 : ", 2 cells changed"));
    }
}

// One problem with every field set, worded as each kind: the kinds the command-line and folder
// tests do not reach, each whole.
TEST(ModProblemWords, EachKindIsWordedWithItsFileAndNumbers) {
    ModProblem p{.names = {"a.tmx", "b.tmx"},
                 .record = ModFile{.name = "20000_1F.bin",
                                   .index = 0x1F,
                                   .sheet = SheetRecord{"20000_1F.png", 0, {}}},
                 .place = ManifestPlace::FileSheet,
                 .cause = std::make_exception_ptr(RefusedError("x: bad; nothing was written"))};
    std::tie(p.file, p.other, p.layer, p.text, p.expected, p.key, p.element) =
        std::tuple("mod/f", "mod", "Plane A", "t", "e", "k", "map");
    // The number 0x1000 is a FIFO's file type.
    std::tie(p.index, p.number, p.limit, p.count, p.line, p.column, p.row, p.offset, p.size,
             p.otherSize, p.crc, p.otherCrc) =
        std::tuple(3, 0x1000, 8, 9, 2, 4, 6, 0x48120, 100, 200, 0x1234ABCD, 0xCAFE);
    std::tie(p.width, p.height, p.cellWidth, p.cellHeight, p.otherWidth, p.otherHeight,
             p.otherCellWidth, p.otherCellHeight) = std::tuple(10, 11, 12, 13, 14, 15, 16, 17);
    using K = ModProblemKind;
    const std::pair<K, std::string> cases[] = {
        {K::FileKindUnknown, "mod/f: file 3, its sheet: kind is \"t\", not \"lzh\" or \"rle\"; not "
                             "a manifest drovak-cli unpack wrote"},
        {K::NameNotExpected, "mod/f: file 3, its sheet: name is \"t\", not \"e\" as its kind and "
                             "place give; not a manifest drovak-cli unpack wrote"},
        {K::OutputChanged, "mod/f: changed since it was read; nothing was written"},
        {K::LevelZero, "mod/f: file 3, its sheet: level is 0, not 1 to 8; not a manifest "
                       "drovak-cli unpack wrote"},
        {K::ViewKindUnknown,
         "mod/f: file 3, its sheet: kind is \"t\", not \"level map\", \"block map\", \"palette\" "
         "or \"drawing\"; not a manifest drovak-cli unpack wrote"},
        {K::UnfinishedNotBool, "mod/f: file 3, its sheet: unfinished is not true or false; not a "
                               "manifest drovak-cli unpack wrote"},
        {K::FilesMissing, "mod/f: file 3, its sheet: [[file]] is missing or not an array of "
                          "tables; not a manifest drovak-cli unpack wrote"},
        {K::ViewsNotArray, "mod/f: file 3, its sheet: [[view]] is not an array of tables; not a "
                           "manifest drovak-cli unpack wrote"},
        {K::ManifestUnfinished,
         "mod/f: marked unfinished: the unpack into the folder did not finish; run the same unpack "
         "again to finish it; nothing was written"},
        {K::TmxSyntax, "mod/f: layer \"Plane A\": line 2: t; not a TMX map"},
        {K::TmxNoMap, "mod/f: layer \"Plane A\": no <map>; not a TMX map"},
        {K::TmxNotOrthogonal, "mod/f: layer \"Plane A\": not an orthogonal map"},
        {K::TmxInfinite, "mod/f: layer \"Plane A\": an infinite map"},
        {K::TmxAttributeMissing, "mod/f: layer \"Plane A\": <map> has no k"},
        {K::TmxAttributeNotNumber, "mod/f: layer \"Plane A\": <map> k=\"t\" is not a whole number"},
        {K::TmxTooLarge,
         "mod/f: layer \"Plane A\": a map of 10 x 11 cells, larger than any of a folder"},
        {K::TmxNoData, "mod/f: layer \"Plane A\": no <data>"},
        {K::TmxEncoding, "mod/f: layer \"Plane A\": data encoded as \"t\", not CSV or base64"},
        {K::TmxCompression, "mod/f: layer \"Plane A\": data compressed with t; save the map with "
                            "CSV, base64, zlib or gzip layer data"},
        {K::TmxBase64, "mod/f: layer \"Plane A\": the base64 data holds 't'"},
        {K::TmxCsvCell, "mod/f: layer \"Plane A\": cell 9 of the CSV data, \"t\", is not a gid"},
        {K::TmxInflaterNotStarted, "mod/f: layer \"Plane A\": zlib can't be started"},
        {K::TmxCompressedCells,
         "mod/f: layer \"Plane A\": the compressed data does not hold one gid a cell"},
        {K::TmxCompressedDamaged, "mod/f: layer \"Plane A\": the compressed data is damaged"},
        {K::TmxBase64Cells, "mod/f: layer \"Plane A\": the data does not hold one gid a cell"},
        {K::TmxCellCount, "mod/f: layer \"Plane A\": the data holds more cells than the map's 8"},
        {K::MapShape, "mod/f: a map of 10 x 11 cells of 12 x 13 pixels; the map the unpack wrote "
                      "has 14 x 15 cells of 16 x 17 pixels; nothing was written"},
        {K::MapTilesets,
         "mod/f: 9 tilesets; the map the unpack wrote has 8, in that order; nothing was written"},
        {K::CellPastBlockData, "mod/f: layer \"Plane A\", column 4, row 6: past the end of the "
                               "level's block data (100 bytes); nothing was written"},
        {K::CellNotBlock, "mod/f: layer \"Plane A\", column 4, row 6: an empty cell; each cell "
                          "holds one of t's blocks; nothing was written"},
        {K::MapWithoutBlockData, "mod/f: changed, but drovak.toml records no block data of its "
                                 "level to put it into; nothing was written"},
        {K::MapsDisagree, "entry 0x1F (20000_1F.bin): both t and a.tmx and b.tmx changed since the "
                          "unpack, and they give different block data; keep the edit in one of "
                          "them and put the other back as it was; nothing was written"},
        {K::PaletteNotGimp,
         "mod/f: line 2: not \"GIMP Palette\"; not a GIMP palette file; nothing was written"},
        {K::PaletteNotColour, "mod/f: line 2: \"t\" is not a colour (three numbers 0 to 255, then "
                              "a name if any); nothing was written"},
        {K::PaletteEmpty, "mod/f: empty; not a GIMP palette file"},
        {K::SheetNotPng,
         "mod/f: not a PNG picture (the sheet of entry 0x1F (20000_1F.bin)); nothing was written"},
        {K::BinAndSheetDisagree,
         "entry 0x1F (20000_1F.bin): both 20000_1F.bin and 20000_1F.png changed since the unpack, "
         "and they hold different data; keep the edit in one of them and put the other back as it "
         "was; nothing was written"},
        {K::PaletteBeyondRom,
         "mod/f: the palette at 0x48120 (9 colours) ends past the end of the file"},
        {K::BaseNotUnpacked,
         "mod/f: CRC-32 1234ABCD (100 bytes), but mod was unpacked from t, CRC-32 0000CAFE (200 "
         "bytes); give the ROM it was unpacked from; nothing was written"},
        {K::NoLongerDecodes,
         "mod: after the changes, entry 0x1F (20000_1F.bin) no longer decodes to its file (x: bad; "
         "nothing was written): a change overwrote it; nothing was written"},
        {K::PalettePastNewEnd,
         "mod: the palette at 0x48120 ends past the new image's end; nothing was written"},
        {K::TableTooLong, "mod/f: the table at 0x48120 has 9 entries; a pack can recalculate at "
                          "most 8; nothing was written"},
        {K::NotUnpackedFile, "mod/f: is a FIFO, not a file of a previous unpack; an unpack never "
                             "writes over what may be an edit, and nothing was written"},
        {K::ManifestNotFile, "mod/f: is a FIFO, not the manifest of a previous unpack; an unpack "
                             "never writes over what may be an edit, and nothing was written"},
        {K::NotOfPreviousUnpack, "mod/f: not a file of the previous unpack; an unpack never writes "
                                 "over what may be an edit, and nothing was written"},
        {K::ViewFolderNotFolder, "mod/f: is a FIFO, not a folder; an unpack never writes over what "
                                 "may be an edit, and nothing was written"},
        {K::UnpackStopped, "mod/f: the unpack stopped before its end (x: bad; not written); mod/f "
                           "holds the files written so far and a drovak.toml marked unfinished: "
                           "the same command run again finishes it"},
    };
    for (const auto& [kind, expected] : cases) {
        p.kind = kind;
        EXPECT_EQ(ModProblemText(p), expected) << int(kind);
    }
    // Every kind has words of its own: none is left to a bare "refused".
    for (int kind = 0; kind <= int(K::UnpackStopped); ++kind) {
        p.kind = K(kind);
        EXPECT_NE(ModProblemText(p), "mod/f: refused; nothing was written") << kind;
    }
}

} // namespace
} // namespace drovak
