// What an image editor and Tiled make of an unpacked folder. Sheets saved again by an editor
// change nothing, whatever it did to their palette; one drawn beyond its length asks and grows.
// Levels, blocks and palettes as Tiled maps and GIMP palettes: Tiled shows what the viewer and
// the renderer show, a re-save in any form changes nothing, every edit lands exactly and comes
// back on a second unpack, and what can't be packed is refused, naming its place.
#include "mod/Views.h"
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "demo/DemoRom.h"
#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "graphics/TilePalette.h"
#include "graphics/TilesToPng.h"
#include "mod/GimpPalette.h"
#include "mod/LevelMap.h"
#include "mod/MapCells.h"
#include "mod/ModLayout.h"
#include "mod/Pack.h"
#include "mod/SheetPalette.h"
#include "mod/Unpack.h"
#include "png/PngReader.h"
#include "rom/LevelLayout.h"
#include "rom/LzhPage.h"
#include "rom/RomLayout.h"
#include "support/LibpngCodec.h"
#include "support/WordsOf.h"
#include "words/PackWords.h"

#include <zlib.h>

#include <regex>

namespace drovak::test {
namespace {

bool Have(const char* tool) {
    return std::filesystem::exists(std::string("/usr/bin/") + tool);
}

// Runs a Qt tool of Tiled without a display; true when it succeeded.
bool RunTiled(const std::string& arguments) {
    return std::system(("QT_QPA_PLATFORM=offscreen " + arguments + " >/dev/null 2>&1").c_str()) ==
           0;
}

// A picture's pixels as red, green, blue, alpha bytes (16-bit samples reduced); transparent
// pixels all 0.
std::vector<uint32_t> Rgba(const std::string& path) {
    const DecodedPng p = ReadPngFile(path);
    EXPECT_EQ(p.pixels, PngPixels::RgbAlpha) << path;
    const size_t step = p.sampleBits / 8;
    std::vector<uint32_t> pixels(size_t(p.width) * p.height);
    for (size_t k = 0; k < pixels.size() && p.pixels == PngPixels::RgbAlpha; ++k) {
        const uint8_t* at = &p.data[4 * step * k];
        const uint32_t pixel =
            at[0] | at[step] << 8 | at[2 * step] << 16 | uint32_t(at[3 * step]) << 24;
        pixels[k] = pixel >> 24 ? pixel : 0;
    }
    return pixels;
}

// The layer data of a map written again in another of the formats Tiled offers: "xml" (an element
// a cell), or base64 of little-endian gids with the compression named ("" for none).
std::string LayersAs(const std::string& map, const std::string& form) {
    std::string out;
    const std::regex csv("<data encoding=\"csv\">([^<]*)</data>");
    auto at = map.cbegin();
    for (std::sregex_iterator m(map.begin(), map.end(), csv), end; m != end; ++m) {
        out.append(at, (*m)[0].first);
        at = (*m)[0].second;
        Bytes raw;
        std::string cells = (*m)[1];
        std::replace(cells.begin(), cells.end(), ',', ' ');
        std::istringstream numbers(cells);
        std::string tiles = "<data>\n";
        for (uint32_t gid; numbers >> gid;) {
            for (unsigned k = 0; k < 4; ++k) raw.push_back(uint8_t(gid >> (8 * k)));
            tiles += gid ? "   <tile gid=\"" + std::to_string(gid) + "\"/>\n" : "   <tile/>\n";
        }
        if (form == "xml") {
            out += tiles + "  </data>";
            continue;
        }
        if (!form.empty()) {
            z_stream z{};
            deflateInit2(&z, 9, Z_DEFLATED, form == "gzip" ? 31 : 15, 8, 0);
            Bytes packed(deflateBound(&z, uLong(raw.size())) + 32);
            std::tie(z.next_in, z.avail_in, z.next_out, z.avail_out) =
                std::tuple(raw.data(), uInt(raw.size()), packed.data(), uInt(packed.size()));
            deflate(&z, Z_FINISH);
            packed.resize(z.total_out);
            deflateEnd(&z);
            raw = packed;
        }
        static const char* digits =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string text;
        for (size_t i = 0; i < raw.size(); i += 3) {
            const size_t left = raw.size() - i;
            const uint32_t n = uint32_t(raw[i]) << 16 | (left > 1 ? raw[i + 1] << 8 : 0) |
                               (left > 2 ? raw[i + 2] : 0);
            for (unsigned k = 0; k < 4; ++k)
                text += k <= left ? digits[n >> (18 - 6 * k) & 63] : '=';
        }
        out += "<data encoding=\"base64\"" + (form.empty() ? "" : " compression=\"" + form + "\"") +
               ">\n   " + text + "\n  </data>";
    }
    return out.append(at, map.cend());
}

// The text with every match of `pattern` replaced, or only the first.
std::string All(const std::string& text, const char* pattern, const std::string& with) {
    return std::regex_replace(text, std::regex(pattern), with);
}
std::string First(const std::string& text, const char* pattern, const std::string& with) {
    return std::regex_replace(text, std::regex(pattern), with,
                              std::regex_constants::format_first_only);
}

// The demo ROM unpacked into a folder.
class Views : public ScratchTest {
protected:
    void SetUp() override {
        WriteBytes(rom_, MakeDemoRom());
        manifest_ = drovak::Unpack(rom_, folder_, POINTER_TABLE_OFFSET, {}).manifest;
    }
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }
    std::string Text(const std::string& name) const { return ReadText(Path(name)); }
    void SetText(const std::string& name, const std::string& text) const {
        WriteBytes(Path(name), test::Text(text));
    }
    // Replaces gid number `cell` of layer number `layer` (0 first) of a map in this writer's CSV.
    static std::string SetCell(std::string map, unsigned layer, size_t cell, uint32_t gid) {
        size_t at = map.find("<data encoding=\"csv\">");
        for (unsigned k = 0; k < layer; ++k) at = map.find("<data encoding=\"csv\">", at + 1);
        at = map.find('\n', at) + 1;
        for (size_t k = 0; k < cell; ++k) at = map.find_first_of(",", at) + 1;
        while (map[at] == '\n') ++at;
        const size_t end = map.find_first_of(",\n", at);
        return map.replace(at, end - at, std::to_string(gid));
    }
    const std::string rom_ = File("demo.bin"), folder_ = File("mod");
    Manifest manifest_;
};
using Sheets = Views;

TEST_F(Sheets, EveryEditorCopyOfEverySheetPacksToTheRomByteForByte) {
    const Bytes base = ReadBytes(rom_);
    // RGB, and indexed with the palette's order reversed (the pixels' indices with it).
    const auto reordered = [](const Bytes& sheet) {
        LibpngPicture p = DecodeWithLibpng(sheet);
        std::reverse(p.palette.begin(), p.palette.end());
        for (uint16_t& sample : p.samples) sample = uint16_t(p.palette.size() - 1 - sample);
        p.bitDepth = 8;
        p.texts.clear();
        return EncodeWithLibpng(p);
    };
    size_t sheets = 0;
    for (const ModFile& file : manifest_.files) {
        if (!file.sheet) continue;
        ++sheets;
        const std::string path = Path(file.sheet->name);
        const Bytes unpacked = ReadBytes(path);
        for (const Bytes& copy :
             {EditorCopy(unpacked, PNG_COLOR_TYPE_RGB, 8), reordered(unpacked)}) {
            WriteBytes(path, copy);
            const PackPlan plan = PlanPack(folder_, std::nullopt);
            EXPECT_TRUE(plan.changes.empty() && plan.image == base) << file.sheet->name;
        }
        WriteBytes(path, unpacked);
    }
    EXPECT_EQ(sheets, 10u);
    // An edit saved with the palette out of order says that the colours decided; in order, not.
    const std::string sheet = Path("20000_9.png");
    const Bytes original = ReadBytes(sheet);
    LibpngPicture edited = DecodeWithLibpng(original);
    edited.samples[0] = uint16_t((edited.samples[0] + 1) % edited.palette.size());
    for (const bool inOrder : {true, false}) {
        const Bytes copy = EncodeWithLibpng(edited);
        WriteBytes(sheet, inOrder ? copy : reordered(copy));
        const PackPlan plan = PlanPack(folder_, std::nullopt);
        ASSERT_EQ(plan.changes.size(), 1u);
        EXPECT_EQ(PackNotes(plan.changes[0]).size(), inOrder ? 0u : 1u);
    }
    WriteBytes(sheet, original);
    // A level's tile art saved from the window (drawn with the tile sheets' palette) keeps its
    // values; the title art is drawn with the title palette.
    SaveTilesPng(ReadBytes(Path("20000_A.bin")), ReadTilePalette(rom_, PREVIEW_PALETTE_OFFSET, 0),
                 64, Path("20000_A.png"));
    EXPECT_TRUE(PlanPack(folder_, std::nullopt).image == base);
    EXPECT_EQ(manifest_.files.back().sheet->layout.paletteOffset, TITLE_PALETTE_OFFSET);
    // Without its sheet, an entry's .bin decides.
    std::filesystem::remove(Path("20000_A.png"));
    Bytes art = ReadBytes(Path("20000_A.bin"));
    art[0] ^= 0x11;
    WriteBytes(Path("20000_A.bin"), art);
    const RomBytes packed{"new", PlanPack(folder_, std::nullopt).image};
    EXPECT_EQ(LzhExtractEntry(packed, POINTER_TABLE_OFFSET, 0xA).data, art);
}

TEST_F(Sheets, ASheetDrawnBeyondItsLengthAsksAndGrows) {
    const std::string path = Path("20000_8.png");
    const size_t tiles = ReadBytes(Path("20000_8.bin")).size() / 32;
    LibpngPicture p = DecodeWithLibpng(ReadBytes(path));
    ASSERT_GT(p.width / 8 * (p.height / 8), tiles + 3);
    // A pixel of the third tile past the data (64 tiles a row).
    const size_t tile = tiles + 2;
    p.samples[(tile / 64 * 8 + 5) * p.width + tile % 64 * 8 + 1] = 7;
    p.bitDepth = 8;
    WriteBytes(path, EncodeWithLibpng(p));
    const PackPlan plan = PlanPack(folder_, std::nullopt);
    ASSERT_EQ(plan.changes.size(), 1u);
    const std::vector<std::string> questions = PackQuestions(plan.changes[0]);
    ASSERT_FALSE(questions.empty());
    EXPECT_TRUE(Holds(questions[0], "drawn beyond the " + std::to_string(tiles) +
                                        " tiles of entry 0x8 (20000_8.bin): it holds " +
                                        std::to_string(tiles + 3) + " tiles"))
        << questions[0];
    const RomBytes image{"new", plan.image};
    EXPECT_EQ(LzhExtractEntry(image, POINTER_TABLE_OFFSET, 8).data.size(), 32 * (tiles + 3));
}

TEST_F(Views, EveryPictureAMapNamesIsBesideItOfTheSizeNamed) {
    // Every picture a map's tilesets name is one the unpack wrote beside it, of the size named.
    const std::regex source("source=\"([^\"]+)\" width=\"([0-9]+)\" height=\"([0-9]+)\"");
    size_t pictures = 0;
    for (unsigned level = 0; level < LEVEL_COUNT; ++level)
        for (const std::string& name : {LevelMapName(level), BlockMapName(level)}) {
            const std::string map = Text(name);
            for (std::sregex_iterator m(map.begin(), map.end(), source), end; m != end; ++m) {
                ++pictures;
                const auto picture =
                    std::filesystem::path(Path(name)).parent_path() / (*m)[1].str();
                const LibpngPicture png = DecodeWithLibpng(ReadBytes(picture));
                EXPECT_EQ(std::pair(png.width, png.height),
                          std::pair(uint32_t(std::stoul((*m)[2])), uint32_t(std::stoul((*m)[3]))))
                    << picture;
            }
        }
    EXPECT_EQ(pictures, 6 * LEVEL_COUNT); // the planes' blocks, and the tile art in 4 lines
}

// Tiled's own drawing of the maps: the first level, one between and the last, a level a test
// (each takes seconds); the maps of every level are written by the same code.
class TiledDraws : public Views, public ::testing::WithParamInterface<unsigned> {};

TEST_P(TiledDraws, TheLevelsAsTheViewerAndTheBlocksAsTheRenderer) {
    if (!Have("tmxrasterizer")) GTEST_SKIP() << "tmxrasterizer (Debian's tiled) is not installed";
    const unsigned level = GetParam();
    const LevelData data = DecodeLevel(rom_, level);
    // Both planes, and every third level's block map, drawn side by side.
    const std::string draw = "tmxrasterizer --no-smoothing ";
    ASSERT_TRUE(RunTiled(
        "sh -c \"" + draw + "--show-layer 'Plane A' " + Path(LevelMapName(level)) + " " +
        File("a.png") + " & " + draw + "--show-layer 'Plane B' " + Path(LevelMapName(level)) + " " +
        File("b.png") + " & " +
        (level % 3 ? "" : draw + Path(BlockMapName(level)) + " " + File("blocks.png") + " & ") +
        "wait\""));
    for (const bool planeB : {false, true}) {
        SCOPED_TRACE(LevelMapName(level) + (planeB ? " B" : " A"));
        const std::string tiled = File(planeB ? "b.png" : "a.png"), viewer = File("viewer.png");
        // level-png's picture itself once; its screens as it lays them out for the rest.
        std::vector<uint32_t> expected(size_t(LEVEL_PNG_WIDTH) * LEVEL_PNG_HEIGHT);
        if (level == 0) {
            NoProgress quiet;
            ExportLevelPng(data, planeB, viewer, quiet, 1);
            expected = Rgba(viewer);
        }
        for (unsigned screen = 0; screen < LEVEL_SCREENS && level > 0; ++screen) {
            const PreviewImage image = AssembleLevelScreen(data, planeB, screen);
            for (size_t at = 0; at < image.Pixels.size(); ++at)
                expected[at / 512 * LEVEL_PNG_WIDTH + 512 * screen + at % 512] =
                    image.Pixels[at] ? image.Pixels[at] | 0xFF000000u : 0;
        }
        EXPECT_TRUE(Rgba(tiled) == expected);
    }
    if (level % 3) return;
    // The block map: both planes' blocks drawn from their words, 64 x 64 tiles each.
    std::vector<uint32_t> expected;
    for (const size_t plane : {PLANE_A_DEFINITIONS, PLANE_B_DEFINITIONS}) {
        Bytes nameTable(64 * 64 * 2);
        for (size_t cell = 0; cell < 64 * 64; ++cell) {
            const size_t x = cell % 64, y = cell / 64, block = y / 4 * 16 + x / 4;
            const size_t at = plane + 32 * block + 2 * (4 * (y % 4) + x % 4);
            StoreBigEndian16(&nameTable[2 * cell], LoadBigEndian16(&data.blockData[at]) & ~0x0600);
        }
        for (const uint32_t pixel :
             RenderTiles(data.tileArt, 1, 1, 64, 64, data.palette, nameTable).Pixels)
            expected.push_back(pixel | 0xFF000000u);
    }
    EXPECT_TRUE(Rgba(File("blocks.png")) == expected) << BlockMapName(level);
}
INSTANTIATE_TEST_SUITE_P(Levels, TiledDraws, ::testing::Values(0u, 3u, LEVEL_COUNT - 1));

TEST_F(Views, MapsAndPalettesSavedAgainInAnyFormPackToTheRomByteForByte) {
    const Bytes base = ReadBytes(rom_);
    const std::string level = LevelMapName(2), blocks = BlockMapName(2);
    const std::string tsx = "<?xml version=\"1.0\"?>\n<tileset version=\"1.8\" name=\"x\" "
                            "tilewidth=\"32\" tileheight=\"32\" tilecount=\"256\" columns=\"16\">"
                            "<image source=\"level03-planeB.png\" width=\"512\" height=\"512\"/>"
                            "</tileset>\n";
    SetText("levels/b.tsx", tsx);
    // A map as another editor writes it: attributes reordered, properties, an object layer, an
    // external tileset, another nextobjectid.
    const auto elsewhere = [](std::string map) {
        map = All(map, "<map version=\"1.8\" (orientation=\"[a-z]+\") ",
                  "<map nextobjectid=\"7\" $1 version=\"1.9\" ");
        map = All(map, " nextobjectid=\"1\"", "");
        map = All(map, "<tileset firstgid=\"257\"[\\s\\S]*?</tileset>",
                  "<tileset source=\"b.tsx\" firstgid=\"257\"/>");
        map = All(map, "<tileset firstgid=\"1\"",
                  "<properties><property name=\"by\" value=\"me\"/></properties>\n"
                  " <tileset firstgid=\"1\"");
        return All(map, "</map>", "<objectgroup id=\"9\" name=\"Notes\"/>\n</map>");
    };
    const std::string gpl = Text("palettes/level03.gpl");
    // A palette saved by hand: a byte-order mark, CRLF, no names.
    std::string gimp = "\xEF\xBB\xBFGIMP Palette\r\nName: Level 3 (edited)\r\n# by hand\r\n\r\n";
    for (const std::regex line("\n *([0-9]+) +([0-9]+) +([0-9]+)\t[^\n]*");
         const auto& m : std::vector<std::smatch>(
             std::sregex_iterator(gpl.begin(), gpl.end(), line), std::sregex_iterator())) {
        gimp += m[1].str() + "\t" + m[2].str() + " " + m[3].str() + "\r\n"; // no names
    }
    std::vector<std::pair<std::string, std::string>> cases = {
        {level, LayersAs(Text(level), "")},       {level, LayersAs(Text(level), "zlib")},
        {blocks, LayersAs(Text(blocks), "gzip")}, {blocks, LayersAs(Text(blocks), "xml")},
        {level, elsewhere(Text(level))},          {"palettes/level03.gpl", gimp},
    };
    const bool tiled = Have("tiled");
    for (size_t k = 0, count = cases.size(); k < count && tiled; ++k) {
        // Tiled's own re-save of each (it keeps the layer format it read).
        if (cases[k].first.find(".tmx") == std::string::npos) continue;
        SetText("levels/in.tmx", cases[k].second);
        ASSERT_TRUE(RunTiled("tiled --export-map tmx " + Path("levels/in.tmx") + " " +
                             Path("levels/resaved.tmx")));
        cases.emplace_back(cases[k].first, Text("levels/resaved.tmx"));
    }
    // Layers without their sides have the map's (Tiled itself wants them).
    cases.emplace_back(level, All(Text(level), " width=\"512\" height=\"16\">", ">"));
    for (const auto& [name, text] : cases) {
        const std::string before = Text(name);
        SetText(name, text);
        const PackPlan plan = PlanPack(folder_, std::nullopt);
        EXPECT_TRUE(plan.image == base) << name << ":\n" << text.substr(0, 600);
        EXPECT_EQ(plan.views.size(), 1u);
        SetText(name, before);
    }
}

// A ROM that ends inside a palette, by one byte, has no view of it, saying why; one that ends
// where a palette ends has its view.
TEST_F(Views, APaletteCutByTheEndOfTheRomIsSkippedSayingWhy) {
    std::vector<KnownPalette> palettes = KnownPalettes();
    std::sort(palettes.begin(), palettes.end(),
              [](const auto& a, const auto& b) { return a.offset < b.offset; });
    const KnownPalette &last = palettes.back(), &before = palettes[palettes.size() - 2];
    const Bytes whole = ReadBytes(rom_);
    const auto viewsTo = [&](const KnownPalette& palette, size_t less) {
        const size_t size = palette.offset + 2 * palette.colours - less;
        return MakeViews(RomBytes{"cut.bin", Slice(whole, 0, size)}, POINTER_TABLE_OFFSET);
    };
    std::string skipped;
    for (const auto& [name, why] : viewsTo(last, 1).skipped)
        if (name.ends_with(".gpl"))
            skipped +=
                name + ": " + WordsOf<DrovakError>([&, &e = why] { std::rethrow_exception(e); });
    EXPECT_EQ(skipped, last.name + ": cut.bin: the palette at " + HexText(last.offset) + " (" +
                           std::to_string(last.colours) +
                           " colours) ends past the end of the file");
    const ViewOutputs kept = viewsTo(before, 0);
    EXPECT_TRUE(std::any_of(kept.outputs.begin(), kept.outputs.end(), [&](const ViewOutput& view) {
        return view.record.name == before.name;
    }));
}

TEST_F(Views, EditsLandExactlyAndComeBackOnASecondUnpack) {
    const std::string level = LevelMapName(2), blocks = BlockMapName(2);
    // The layers are numbered from 1; Tiled gives a layer it adds the number after the two there.
    for (const std::string& name : {level, blocks})
        for (const char* held : {" nextlayerid=\"3\" ", "<layer id=\"1\" ", "<layer id=\"2\" "})
            EXPECT_TRUE(Holds(Text(name), held)) << name << held;
    // Plane A column 5 row 3 becomes block 0x42; Plane B column 7 row 2 block 0x11.
    SetText(level,
            SetCell(SetCell(Text(level), 0, 3 * 512 + 5, 1 + 0x42), 1, 2 * 512 + 7, 257 + 0x11));
    // Plane B's block 17, its tile at x 1, y 2 (cell x 5, y 64 + 6): a high tile 0x1AB of line
    // 2, flipped both ways.
    const size_t cell = (64 + 6) * 64 + 5;
    SetText(blocks, SetCell(SetCell(Text(blocks), 0, cell, 0), 1, cell,
                            (1 + 512 * 2 + 0x1AB) | 0xC0000000u));
    // Colours 0 and 17 (line 1, 1) on the grid; colour 2 off it.
    std::string gpl = Text("palettes/level03.gpl");
    gpl = All(gpl, "\n[^\n]*line 0, 0\n", "\n160 96 32\tline 0, 0\n");
    gpl = All(gpl, "\n[^\n]*line 1, 1\n", "\n224 0 64\tline 1, 1\n");
    gpl = All(gpl, "\n[^\n]*line 0, 2\n", "\n17 47 48\tline 0, 2\n");
    SetText("palettes/level03.gpl", gpl);

    const PackPlan plan = PlanPack(folder_, std::nullopt);
    ASSERT_EQ(plan.views.size(), 3u);
    EXPECT_EQ(plan.views[0].cellsChanged + plan.views[1].cellsChanged, 3u);
    EXPECT_EQ(plan.views[2].snapped, std::vector<unsigned>{2});
    EXPECT_THROW(WritePack(plan, Path("out.bin"), true), RefusedError); // never into the folder
    WritePack(plan, File("out.bin"), false);
    drovak::Unpack(File("out.bin"), File("again"), POINTER_TABLE_OFFSET, {});
    const LevelData data = DecodeLevel(File("out.bin"), 2);
    EXPECT_EQ(data.blockData[PLANE_A_LAYOUT + 16 * 5 + 3], 0x42);
    EXPECT_EQ(data.blockData[PLANE_B_LAYOUT + 8 * 7 + 2], 0x11);
    EXPECT_EQ(LoadBigEndian16(&data.blockData[PLANE_B_DEFINITIONS + 32 * 17 + 2 * (4 * 2 + 1)]),
              0x8000 | 2 << 13 | 0x1800 | 0x1AB);
    const Bytes image = ReadBytes(File("out.bin"));
    EXPECT_EQ(LoadBigEndian16(&image[LevelPaletteOffset(2)]), 0x026A);          // 160, 96, 32
    EXPECT_EQ(LoadBigEndian16(&image[LevelPaletteOffset(2) + 2 * 17]), 0x040E); // 224, 0, 64
    EXPECT_EQ(LoadBigEndian16(&image[LevelPaletteOffset(2) + 2 * 2]), 0x0422);  // 32, 32, 64
    const Bytes base = ReadBytes(rom_); // and not a byte past the palette
    EXPECT_EQ(Slice(image, LevelPaletteOffset(2) + 128, 128),
              Slice(base, LevelPaletteOffset(2) + 128, 128));
    for (const std::string& name : {level, blocks})
        EXPECT_EQ(ReadBytes(File("again/" + name)), ReadBytes(Path(name))) << name;
    EXPECT_NE(ReadBytes(File("again/palettes/level03.gpl")),
              ReadBytes(Path("palettes/level03.gpl")));
}

TEST_F(Views, WhatCannotBePackedIsRefusedNamingItsPlace) {
    const std::string level = LevelMapName(0), blocks = BlockMapName(0), gpl = "palettes/title.gpl";
    const std::string a = Text(level), b = Text(blocks), p = Text(gpl);
    const auto Line6 = [](std::string text, const std::string& line) {
        size_t at = 0;
        for (int k = 0; k < 5; ++k) at = text.find('\n', at) + 1;
        return text.replace(at, text.find('\n', at) - at, line);
    };
    const std::tuple<std::string, std::string, std::string> cases[] = {
        // file, text, expected
        {level, SetCell(a, 0, 512 + 4, 257 + 3),
         "\"Plane A\", column 4, row 1: a block of the other plane's tileset; each cell holds one "
         "of Plane A's blocks"},
        {level, SetCell(a, 1, 9, 9999), "\"Plane B\", column 9, row 0: a tile of no tileset"},
        {level, SetCell(a, 1, 9 * 512 + 2, 257),
         "column 2, row 9: a block in Plane B's rows 8 to 15"},
        {level, SetCell(a, 0, 7, 0x80000002u), "column 7, row 0: a flipped or rotated block"},
        {level, SetCell(a, 0, 8, 0), "column 8, row 0: an empty cell"},
        {blocks, SetCell(SetCell(b, 0, 65, 0x20000001u), 1, 65, 0),
         "\"Low\", column 1, row 1: a rotated tile"},
        {blocks, SetCell(SetCell(b, 0, 66, 5), 1, 66, 5), "column 2, row 1: a tile in both"},
        {blocks, SetCell(SetCell(b, 0, 67, 0), 1, 67, 0), "column 3, row 1: a tile in neither"},
        {level, First(a, "width=\"512\"", "width=\"65536\""), "not the map's 65536 x 16"},
        {level, First(a, "width=\"512\"", "width=\"65537\""),
         "a map of 65537 x 16 cells, larger than any of a folder"},
        {level, First(a, "tilewidth=\"\\d+\"", "tilewidth=\"9\""),
         "a map of 512 x 16 cells of 9 x 32 pixels; the map the unpack wrote has 512 x 16 cells "
         "of 32 x 32 pixels"},
        {blocks, All(b, "\"High\"", "\"high\""), "tile layers are not"},
        {level, All(a, "encoding=\"csv\"", "encoding=\"base64\" compression=\"zstd\""),
         "compressed with zstd"},
        {level, a.substr(0, 400),
         "line " + std::to_string(1 + std::count(a.begin(), a.begin() + 400, '\n'))},
        {level, LayersAs(First(a, ",\\d+\\s*</data>", "</data>"), "zlib"),
         "layer \"Plane A\": the compressed data does not hold one gid a cell"},
        {level, First(LayersAs(a, "zlib"), "zlib\">\n   .", "zlib\">\n   A"),
         "layer \"Plane A\": the compressed data is damaged"},
        {level, First(LayersAs(a, ""), "base64\">\n", "base64\">_"),
         "layer \"Plane A\": the base64 data holds '_'"},
        {level, First(LayersAs(a, "xml"), "<data>", "<data><tile/>"),
         "layer \"Plane A\": the data holds more cells than the map's 8192"},
        {level, First(a, "csv\">\n", "csv\">12345678901234567890123456,\n"),
         "cell 0 of the CSV data, \"12345678901234567890\", is not a gid"},
        {level, All(a, "csv\">\n.*?,", "csv\">4294967296,"),
         "cell 0 of the CSV data, \"4294967296\", is not a gid"},
        {level, All(a, "csv\">\n.*?,", "csv\">4294967295,"),
         "column 0, row 0: a flipped or rotated block"},
        {level, First(a, "csv\">\n", "csv\">4a,\n"),
         "cell 0 of the CSV data, \"4a\", is not a gid"},
        {level, First(a, "csv\">\n", "csv\">0,\n"),
         "layer \"Plane A\": the data holds more cells than the map's 8192"},
        // A comma after the last cell is no cell of its own: the map is read, and refused for
        // its cell.
        {level, First(SetCell(a, 0, 7, 0x80000002u), "\\s*</data>", ",\n</data>"),
         "column 7, row 0: a flipped or rotated block"},
        {gpl, p.substr(0, p.rfind("line 0, 15")), "holds 16 colours; the palette has 17"},
        {gpl, "", ": empty; not a GIMP palette file"},
        {gpl, "GIMP Palette\n", "holds 0 colours; the palette has 17"},
        {gpl, Line6(p, "1 2 x"), "line 6: \"1 2 x\" is not a colour"},
        {gpl, Line6(p, "1 2 " + std::string(50, 'y')),
         "line 6: \"1 2 " + std::string(36, 'y') + "\" is not a colour"},
        {gpl, Line6(p, "255 256 3 big"), "line 6: 256 is not 0 to 255"},
        {"20000_10.bin", "changed", "20000_10.bin and " + Path(level)},
    };
    for (const auto& [file, text, expected] : cases) {
        SCOPED_TRACE(expected);
        const std::string before = Text(file);
        SetText(file, text);
        if (file.ends_with(".bin")) SetText(level, SetCell(a, 0, 0, 2));
        const std::string message = WordsOf<RefusedError>([&] { PlanPack(folder_, std::nullopt); });
        EXPECT_TRUE(Holds(message, expected)) << message;
        EXPECT_TRUE(Holds(message, file.ends_with(".bin") ? "20000_10.bin" : Path(file)));
        SetText(file, before);
        SetText(level, a);
    }
    // A map changed while the manifest records no block data of its level.
    std::string toml = Text("drovak.toml");
    const size_t record = toml.rfind("[[file]]", toml.find("name = '20000_10.bin'"));
    SetText("drovak.toml", toml.erase(record, toml.find("\n[[", record) + 1 - record));
    SetText(level, SetCell(a, 0, 0, 2));
    EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] { PlanPack(folder_, std::nullopt); }),
                      Path(level) + ": changed, but drovak.toml records no block data"));
}

TEST(BlockMap, AnUnchangedCellKeepsEveryBitAndAChangedOneClearsBits9And10) {
    Bytes data(0x7000, 0);
    StoreBigEndian16(&data[0], 0xFE5A); // priority, line 3, both flips, bits 9-10, tile 0x5A
    StoreBigEndian16(&data[2], 0x0633);
    const TmxMap blocks = BlockTmx(data, 0);
    const std::string text = TmxText(blocks);
    TmxMap read = ParseTmx(text, "b.tmx");
    // A row of the map to a line: its gids, each followed by a comma.
    const size_t row = text.find('\n', text.find("<data encoding=\"csv\">")) + 1;
    EXPECT_EQ(std::count(text.begin() + row, text.begin() + text.find('\n', row), ','), read.width);
    read.layers[0].gids[1] = (1 + 512 + 0x33) | 0x80000000u; // line 1, flipped horizontally
    Bytes out = data;
    EXPECT_EQ(ApplyBlockTmx(read, data, out, 0, "b.tmx"), 1u);
    EXPECT_EQ(LoadBigEndian16(&out[0]), 0xFE5A);
    EXPECT_EQ(LoadBigEndian16(&out[2]), 0x2833);
    // An empty cell keeps its flags and lies in no tileset; a bare 0 stays 0.
    TmxMap empty = read;
    empty.layers[0].gids[0] = 0x80000000u;
    empty.layers[0].gids[2] = 0;
    const auto gids = WrittenGids(empty, blocks, empty.layers[0].name);
    EXPECT_EQ(std::tuple(gids[0], gids[2]), std::tuple(0x80000000u | TMX_NO_TILESET, 0u));
    // A level map's Plane B has blocks in its first 8 rows, and empty cells below them.
    const TmxMap level = LevelTmx(data, 0);
    EXPECT_EQ(level.layers[1].gids[7 * 512], 257u);
    EXPECT_EQ(level.layers[1].gids[8 * 512], 0u);
    // The last cell's word ends plane B's definitions; data cut short of it leaves the cell empty,
    // and an edit of it is refused.
    Bytes tight(0x4000, 0);
    StoreBigEndian16(&tight[0x3FFE], 0x0001);
    TmxMap last = BlockTmx(tight, 0);
    EXPECT_EQ(last.layers[0].gids.back(), 2u);
    last.layers[0].gids.back() = 1 + 0x44; // tile 0x44 of line 0, written there
    Bytes written = tight;
    EXPECT_EQ(ApplyBlockTmx(last, tight, written, 0, "b.tmx"), 1u);
    EXPECT_EQ(LoadBigEndian16(&written[0x3FFE]), 0x0044);
    tight.pop_back();
    EXPECT_EQ(BlockTmx(tight, 0).layers[0].gids.back(), 0u);
    std::swap(last.layers[0].gids.back(), last.layers[1].gids.back()); // the tile made high
    written = tight;
    EXPECT_EQ(WordsOf<RefusedError>([&] { ApplyBlockTmx(last, tight, written, 0, "b.tmx"); }),
              "b.tmx: layer \"High\", column 63, row 127: past the end of the level's block data "
              "(16383 bytes); nothing was written");
}

// A sheet's palette line is read whole from the ROM or refused: none is made up past its end.
TEST(SheetPalette, ALineThatEndsPastTheRomIsRefused) {
    const RomBytes rom{"r.bin", Bytes(0x100, 0x0E)};
    SheetLayout layout;
    layout.paletteLine = 1;
    layout.paletteOffset = 0xC0;                                 // line 1 ends with the ROM
    EXPECT_EQ(SheetPalette(rom, layout).colours[15], 0xE000E0u); // the word 0E0E
    EXPECT_EQ(PaletteWordsAt(rom, 0xFE, 1), std::vector<uint16_t>{0x0E0E}); // the ROM's last
    layout.paletteOffset = 0xD0;
    EXPECT_EQ(WordsOf<FileError>([&] { SheetPalette(rom, layout); }),
              "r.bin: too short: palette line 1 of the palette at 0xD0 ends at 0x110, the file "
              "ends at 0x100");
    // A picture of a sheet may be drawn with any of its palette's lines (the title's has one)
    // or line 0 of the previews' palette.
    using Lines = std::vector<std::pair<uint32_t, unsigned>>;
    EXPECT_EQ(SheetDrawingLines(layout),
              (Lines{{0xD0, 0}, {0xD0, 1}, {0xD0, 2}, {0xD0, 3}, {PREVIEW_PALETTE_OFFSET, 0}}));
    layout.paletteOffset = TITLE_PALETTE_OFFSET;
    EXPECT_EQ(SheetDrawingLines(layout),
              (Lines{{TITLE_PALETTE_OFFSET, 0}, {PREVIEW_PALETTE_OFFSET, 0}}));
}

TEST(GimpPalette, ColoursOffTheGridTakeTheNearestAndUnchangedOnesKeepTheirWords) {
    // The colour, the old word, the new one, whether it was snapped to the grid.
    const std::tuple<uint32_t, uint16_t, uint16_t, bool> cases[] = {
        {0x000000, 0x1001, 0x1001, false}, // shown as it was: stray bits kept
        {0x402020, 0x0000, 0x0422, false}, // 32, 32, 64 on the grid
        {0xFA1464, 0x0000, 0x0E26, true},  // 100, 20, 250: 96, 32, 224
        {0x0F0F10, 0x0000, 0x0002, true},  // 16 rounds up, 15 down
        {0xFFFFFF, 0x0EEE, 0x0EEE, true},  // 255 is nearest 224: the old word again
    };
    for (const auto& [colour, old, word, snapped] : cases) {
        const PaletteFromColours words = PaletteWords({colour}, {old});
        EXPECT_EQ(words.words[0], word) << std::hex << colour;
        EXPECT_EQ(words.snapped.size(), snapped ? 1u : 0u) << std::hex << colour;
        EXPECT_EQ(words.changed.size(), word != old ? 1u : 0u) << std::hex << colour;
    }
    // Only the colours that have a word are read, and every word stays.
    EXPECT_EQ(PaletteWords({0x402020, 0x402020}, {0}).words, std::vector<uint16_t>{0x0422});
    EXPECT_EQ(PaletteWords({0x402020}, {0, 7}).words, (std::vector<uint16_t>{0x0422, 7}));
}

} // namespace
} // namespace drovak::test
