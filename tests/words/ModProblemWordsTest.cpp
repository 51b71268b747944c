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
        {DataUnit::PlaneBCell, {10, 11}, 512, 512},
        {DataUnit::PlaneBBlock, {2}, 64, 64}};
    EXPECT_EQ(DifferenceLines(differences),
              (std::vector<std::string>{
                  "tiles that differ: 0-1, 3-5, 7, 9, 11, 13, 15, 17 and 1 more (12 of 200); 200 "
                  "before, 210 now",
                  "plane B layout cells that differ: column 1 row 2, column 1 row 3 (2 of 512)",
                  "plane B blocks that differ: 2 (1 of 64)"}));
}

// A map's line counts the cells whose tile changed; a palette's its colours, with a note naming
// the colours moved to the nearest one the console shows by line and place (16 to a line).
TEST(PackWords, AMapsLineCountsItsChangedCellsAndAPalettesItsColours) {
    ViewChange view;
    view.record.name = "levels/level01.tmx";
    std::ostringstream err;
    for (const size_t cells : {1, 2}) {
        view.cellsChanged = cells;
        EXPECT_TRUE(PackViewLine(view, err).ends_with(cells == 1 ? ", 1 cell changed"
                                                                 : ", 2 cells changed"));
    }
    view.record.kind = ViewKind::Palette;
    view.path = "p.gpl";
    view.coloursChanged = view.snapped = {15, 16, 33};
    EXPECT_TRUE(PackViewLine(view, err).ends_with(", 3 colours changed"));
    EXPECT_EQ(err.str(), "note: p.gpl: colours 15 (line 0, 15), 16 (line 1, 0), 33 (line 2, 1) "
                         "are not colours the console shows; the nearest one is taken\n");
}

// A compress's line names the entries it moved, lowest to highest, whatever the data's order.
TEST(PackWords, AChangeNamesTheEntriesItMoved) {
    PackedChange change;
    change.file.index = 2;
    change.lzh.emplace();
    for (const auto& [moved, words] :
         {std::pair<std::vector<uint32_t>, std::string>{{0}, "; entry 0x0 moved by +16 bytes"},
          {{5, 3, 4}, "; entries 0x3 to 0x5 moved by +16 bytes"}}) {
        change.lzh->moves.clear();
        for (uint32_t index : moved) change.lzh->moves.push_back({index, 0x100, 0x110, 8});
        EXPECT_TRUE(PackChangeText(change).ends_with(words)) << PackChangeText(change);
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
    // The words of a manifest's refusal at the place set, of a layer's, of one that writes
    // nothing, and of one that keeps what may be an edit, all of mod/f.
    const auto manifest = [](const std::string& what) {
        return "mod/f: file 3, its sheet: " + what + "; not a manifest drovak-cli unpack wrote";
    };
    const auto layer = [](const std::string& what) { return "mod/f: layer \"Plane A\": " + what; };
    const auto unwritten = [](const std::string& what) {
        return "mod/f: " + what + "; nothing was written";
    };
    const auto keeps = [](const std::string& what) {
        return "mod/f: " + what +
               "; an unpack never writes over what may be an edit, and nothing was written";
    };
    const std::pair<K, std::string> cases[] = {
        {K::FileKindUnknown, manifest("kind is \"t\", not \"lzh\" or \"rle\"")},
        {K::NameNotExpected, manifest("name is \"t\", not \"e\" as its kind and place give")},
        {K::OutputChanged, unwritten("changed since it was read")},
        {K::LevelZero, manifest("level is 0, not 1 to 8")},
        {K::ViewKindUnknown,
         manifest("kind is \"t\", not \"level map\", \"block map\", \"palette\" or \"drawing\"")},
        {K::UnfinishedNotBool, manifest("unfinished is not true or false")},
        {K::FilesMissing, manifest("[[file]] is missing or not an array of tables")},
        {K::ViewsNotArray, manifest("[[view]] is not an array of tables")},
        {K::ManifestUnfinished, unwritten("marked unfinished: the unpack into the folder did not "
                                          "finish; run the same unpack again to finish it")},
        {K::TmxSyntax, layer("line 2: t; not a TMX map")},
        {K::TmxNoMap, layer("no <map>; not a TMX map")},
        {K::TmxNotOrthogonal, layer("not an orthogonal map")},
        {K::TmxInfinite, layer("an infinite map")},
        {K::TmxAttributeMissing, layer("<map> has no k")},
        {K::TmxAttributeNotNumber, layer("<map> k=\"t\" is not a whole number")},
        {K::TmxTooLarge, layer("a map of 10 x 11 cells, larger than any of a folder")},
        {K::TmxNoData, layer("no <data>")},
        {K::TmxEncoding, layer("data encoded as \"t\", not CSV or base64")},
        {K::TmxCompression,
         layer("data compressed with t; save the map with CSV, base64, zlib or gzip layer data")},
        {K::TmxBase64, layer("the base64 data holds 't'")},
        {K::TmxCsvCell, layer("cell 9 of the CSV data, \"t\", is not a gid")},
        {K::TmxInflaterNotStarted, layer("zlib can't be started")},
        {K::TmxCompressedCells, layer("the compressed data does not hold one gid a cell")},
        {K::TmxCompressedDamaged, layer("the compressed data is damaged")},
        {K::TmxBase64Cells, layer("the data does not hold one gid a cell")},
        {K::TmxCellCount, layer("the data holds more cells than the map's 8")},
        {K::MapShape, unwritten("a map of 10 x 11 cells of 12 x 13 pixels; the map the unpack "
                                "wrote has 14 x 15 cells of 16 x 17 pixels")},
        {K::MapTilesets, unwritten("9 tilesets; the map the unpack wrote has 8, in that order")},
        {K::CellPastBlockData, unwritten("layer \"Plane A\", column 4, row 6: past the end of the "
                                         "level's block data (100 bytes)")},
        {K::CellNotBlock, unwritten("layer \"Plane A\", column 4, row 6: an empty cell; each cell "
                                    "holds one of t's blocks")},
        {K::MapWithoutBlockData,
         unwritten("changed, but drovak.toml records no block data of its level to put it into")},
        {K::MapsDisagree, "entry 0x1F (20000_1F.bin): both t and a.tmx and b.tmx changed since the "
                          "unpack, and they give different block data; keep the edit in one of "
                          "them and put the other back as it was; nothing was written"},
        {K::PaletteNotGimp, unwritten("line 2: not \"GIMP Palette\"; not a GIMP palette file")},
        {K::PaletteNotColour,
         unwritten("line 2: \"t\" is not a colour (three numbers 0 to 255, then a name if any)")},
        {K::PaletteEmpty, "mod/f: empty; not a GIMP palette file"},
        {K::SheetNotPng, unwritten("not a PNG picture (the sheet of entry 0x1F (20000_1F.bin))")},
        {K::BinAndSheetDisagree,
         "entry 0x1F (20000_1F.bin): both 20000_1F.bin and 20000_1F.png changed since the unpack, "
         "and they hold different data; keep the edit in one of them and put the other back as it "
         "was; nothing was written"},
        {K::PaletteBeyondRom,
         "mod/f: the palette at 0x48120 (9 colours) ends past the end of the file"},
        {K::BaseNotUnpacked,
         unwritten("CRC-32 1234ABCD (100 bytes), but mod was unpacked from t, CRC-32 0000CAFE (200 "
                   "bytes); give the ROM it was unpacked from")},
        {K::NoLongerDecodes,
         "mod: after the changes, entry 0x1F (20000_1F.bin) no longer decodes to its file (x: bad; "
         "nothing was written): a change overwrote it; nothing was written"},
        {K::PalettePastNewEnd,
         "mod: the palette at 0x48120 ends past the new image's end; nothing was written"},
        {K::TableTooLong,
         unwritten("the table at 0x48120 has 9 entries; a pack can recalculate at most 8")},
        {K::NotUnpackedFile, keeps("is a FIFO, not a file of a previous unpack")},
        {K::ManifestNotFile, keeps("is a FIFO, not the manifest of a previous unpack")},
        {K::NotOfPreviousUnpack, keeps("not a file of the previous unpack")},
        {K::ViewFolderNotFolder, keeps("is a FIFO, not a folder")},
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
