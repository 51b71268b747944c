// unpack and pack: a folder packed unchanged gives its ROM back byte for byte, each kind of edit
// gives what the single-entry command gives, and what would lose an edit or build a broken ROM
// is refused with nothing written.
#include "CliRunner.h"
#include "compression/Rle.h"
#include "support/HandMadeRom.h"
#include "support/LibpngCodec.h"

namespace drovak::test {
namespace {

using handmade::Noise;
using handmade::Packed;

// A ROM with a table of varied entries (empty, one byte, noise, runs, odd lengths; entries 8 to
// 0xB are level tile art, drawn with their levels' palettes), and a block at both RLE offsets
// the layout knows.
Bytes VariedRom() {
    Bytes rom = handmade::MakeRom(0x20000,
                                  {Bytes(), Pattern(1), Noise(777, 1), Bytes(5000, 0xAA),
                                   Pattern(32 * 40 + 7), Noise(64, 2),
                                   Cat(Bytes(300, 0), Noise(300, 3)), Pattern(4096, 9),
                                   Pattern(32 * 100), Noise(32 * 3, 5), Bytes(), Pattern(33, 4)},
                                  0x70000);
    for (unsigned level = 0; level < 4; ++level) {
        Bytes palette = SixtyFourColours();
        std::rotate(palette.begin(), palette.begin() + 2 * level, palette.end());
        Put(rom, 0x5FC00 + 128 * level, palette);
    }
    Put(rom, 0x48120, Packed(Pattern(32 * 64), true));
    Put(rom, 0x6DDB4, Packed(Noise(640, 3), true));
    return rom;
}

class CliMod : public CliTest {
protected:
    void SetUp() override { ASSERT_TRUE(Ok(Run({"make-demo-rom", demo_}))); }
    std::string Unpack(const std::string& rom, const std::string& folder) {
        CliResult result = Run({"unpack", rom, File(folder)});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.err; // a line a file as it is written
    }
    // What a single-entry command makes of a copy of the demo ROM.
    Bytes DemoAfter(Args command) {
        const std::string copy = Write("single.bin", ReadBytes(demo_));
        command.insert(command.begin() + 1, copy);
        EXPECT_TRUE(Ok(Run(command)));
        return ReadBytes(copy);
    }
    // Replaces the first `from` in a text file with `to`.
    static void ReplaceIn(const std::string& path, const std::string& from, const std::string& to) {
        std::string text = ReadText(path);
        text.replace(text.find(from), from.size(), to);
        WriteBytes(path, Text(text));
    }
    // Flips the lowest bit of byte `at` of a file.
    static void FlipBit(const std::string& path, size_t at) {
        Bytes bytes = ReadBytes(path);
        bytes[at] ^= 1;
        WriteBytes(path, bytes);
    }
    const std::string demo_ = File("demo.bin");
};

TEST_F(CliMod, FolderPackedUnchangedGivesTheRomByteForByte) {
    const std::string varied = Write("varied.bin", VariedRom());
    for (const std::string& rom : {demo_, varied}) {
        SCOPED_TRACE(rom);
        const std::string folder = File("mod"), out = File("out.bin");
        std::filesystem::remove_all(folder);
        std::filesystem::remove(out);
        const std::string listed = Unpack(rom, "mod");
        if (rom == demo_) { // palettes of 64 colours
            EXPECT_TRUE(Holds(listed, "20000_9.bin: entry 0x9, 16896 bytes (DecodedSize 16896, "
                                      "PackedSize 1080); 20000_9.png: 528 tiles, palette line 0 of "
                                      "the palette at 0x5FC80\n"));
            for (const std::string name : {"level01", "sheets"}) {
                const std::string palette = ReadText(folder + "/palettes/" + name + ".gpl");
                EXPECT_EQ(std::count(palette.begin(), palette.end(), '\n'), 4 + 64) << name;
                EXPECT_TRUE(Holds(palette, "\nName: " + name + "\n"));
            }
            // The roles a manifest stores, each kind once: stored files keep them.
            const std::string manifest = ReadText(folder + "/drovak.toml");
            for (const char* role :
                 {"'level map, level 8'", "'block map, level 1'",
                  "\"drawing of a map's tileset, level 2\"", "'palette, level 8'",
                  "'palette of the tile sheets'", "'title palette'", "'tile art, level 8'",
                  "'blocks, level 1'", "'sprite sheet'", "'title art'", "'not known'"})
                EXPECT_TRUE(Holds(manifest, "\nrole = " + std::string(role) + "\n"));
        }
        if (rom == varied) { // a sheet drawn with its palette's last line holds the same tiles
            ASSERT_TRUE(
                Ok(Run({"tiles-to-png", folder + "/20000_8.bin", folder + "/20000_8.png", "--rom",
                        rom, "--palette-at", "5FC00", "--line", "3", "--columns", "64", "--yes"})));
        }
        const CliResult packed = Run({"pack", folder, out});
        ASSERT_TRUE(Ok(packed, "no file changed"));
        if (rom == demo_) { // a new file is said with its header's checksum
            EXPECT_TRUE(Holds(packed.out, out + " written; header checksum right ("));
        }
        EXPECT_EQ(ReadBytes(out), ReadBytes(rom));
        EXPECT_TRUE(Ok(Run({"status", folder, "--diff"}), "nothing changed since the unpack"));
        // Packed onto the ROM itself: nothing to write, no backup.
        EXPECT_TRUE(Ok(Run({"pack", folder, rom}), "nothing was written"));
        EXPECT_FALSE(std::filesystem::exists(rom + ".bak"));
        if (rom == demo_) { // a colour of the title palette changed, said on its own line
            ReplaceIn(folder + "/palettes/title.gpl", "  0   0  64\t", "  0   0  96\t");
            const CliResult viewed = Run({"pack", folder, File("view.bin")});
            EXPECT_EQ(viewed.out.rfind("palettes/title.gpl: title palette, 1 colour changed\n", 0),
                      0u)
                << viewed.out;
            // The title art drawn with what follows its palette is refused.
            ASSERT_TRUE(Ok(Run({"tiles-to-png", folder + "/6DDB4.bin", folder + "/6DDB4.png",
                                "--rom", rom, "--palette-at", "6DA56", "--line", "1", "--columns",
                                "64", "--cell", "1x4", "--yes"})));
            EXPECT_TRUE(Fails(Run({"pack", folder, File("title.bin")}), 3, "is not in"));
        }
    }
}

TEST_F(CliMod, FilesAreWhatTheExtractAndSheetCommandsWrite) {
    const std::string rom = Write("varied.bin", VariedRom());
    Unpack(rom, "mod");
    const auto same = [this](Args command, const std::string& name) {
        std::filesystem::remove(command[2]);
        EXPECT_TRUE(Ok(Run(command)));
        EXPECT_EQ(ReadBytes(File("mod/" + name)), ReadBytes(command[2])) << name;
    };
    for (unsigned index = 0; index < 12; ++index) {
        const std::string k = std::string(1, "0123456789AB"[index]);
        same({"lzh-extract", rom, File("x.bin"), "--index", k}, "20000_" + k + ".bin");
    }
    same({"rle-extract", rom, File("x.bin"), "--at", "48120"}, "48120.bin");
    same({"rle-extract", rom, File("x.bin"), "--at", "6DDB4"}, "6DDB4.bin");
    same({"tiles-to-png", File("mod/20000_9.bin"), File("x.png"), "--rom", rom, "--palette-at",
          "5FC80", "--columns", "64"},
         "20000_9.png");
    same({"tiles-to-png", File("mod/48120.bin"), File("x.png"), "--rom", rom, "--columns", "64",
          "--cell", "1x4"},
         "48120.png");
    // Only the level tile art and the blocks have sheets.
    EXPECT_FALSE(std::filesystem::exists(File("mod/20000_7.png")));
    EXPECT_TRUE(std::filesystem::exists(File("mod/20000_B.png")));
}

TEST_F(CliMod, EachEditPacksToWhatTheSingleEntryCommandGives) {
    Unpack(demo_, "mod");
    const Bytes entry3 = ReadBytes(File("mod/20000_3.bin"));
    // An image editor's copy of the sheet of `data` (RGB, without the records), and the data
    // png-to-tiles reads back from it with the sheet's palette, cell and length, in NAME.bin.
    const auto editorSheet = [this](const std::string& name, const Bytes& data,
                                    const std::string& paletteAt, const std::string& cell) {
        const std::string indexed = File(name + "-indexed.png");
        EXPECT_TRUE(Ok(Run({"tiles-to-png", Write(name + "-data.bin", data), indexed, "--rom",
                            demo_, "--palette-at", paletteAt, "--columns", "64", "--cell", cell})));
        const Bytes copy = EditorCopy(ReadBytes(indexed), PNG_COLOR_TYPE_RGB, 8);
        EXPECT_TRUE(Ok(Run({"png-to-tiles", Write(name + ".png", copy), File(name + ".bin"),
                            "--rom", demo_, "--palette-at", paletteAt, "--tiles",
                            std::to_string(data.size() / 32), "--cell", cell})));
        return copy;
    };
    Bytes tiles = ReadBytes(File("mod/20000_9.bin"));
    std::fill_n(tiles.begin() + 32 * 70, 32 * 5, 0x12); // five tiles drawn over
    const Bytes edited = editorSheet("tiles", tiles, "5FC80", "1x1");
    Bytes sprites = ReadBytes(File("mod/48120.bin"));
    std::copy_n(Noise(300, 8).begin(), 300, sprites.begin() + 1000);
    sprites.push_back(0x5A); // not a whole word: padded with zeros
    Bytes drawn = ReadBytes(File("mod/48120.bin"));
    std::fill_n(drawn.begin() + 32 * 9, 32 * 6, 0x34); // across cells of 4 tiles
    const Bytes editedSprites = editorSheet("sprites", drawn, "5A000", "1x4");

    Bytes blocks = ReadBytes(File("mod/20000_11.bin"));
    blocks[0x4000 + 16 * 12 + 3] ^= 1; // plane A, column 12, row 3
    blocks[32 * 7] ^= 1;               // plane A's block 7

    struct Case {
        std::string file;
        Bytes content;
        Args single;                // the command whose result the pack must equal
        std::string line;           // what pack says of it
        std::string holds, differs; // what status says of it
    };
    const Case cases[] = {
        {"20000_3.bin", Cat(entry3, Pattern(100)),
         Args{"lzh-insert", Write("in3.bin", Cat(entry3, Pattern(100))), "--index", "3", "--yes"},
         "20000_3.bin: entry 0x3 packed 2716 -> ", "data",
         "bytes: " + std::to_string(entry3.size()) + " before, " +
             std::to_string(entry3.size() + 100) + " now"},
        {"20000_9.png", edited, Args{"lzh-insert", File("tiles.bin"), "--index", "9", "--yes"},
         "20000_9.png: entry 0x9 packed 1080 -> ", "tile art of level 2",
         "tiles that differ: 70-74 (5 of"},
        {"20000_11.bin", blocks,
         Args{"lzh-insert", Write("blocks.bin", blocks), "--index", "11", "--yes"},
         "20000_11.bin: entry 0x11 packed ", "blocks and layout of level 2",
         "plane A blocks that differ: 7 (1 of 256)\n    plane A layout cells that differ: column "
         "12 row 3 (1 of 8192)"},
        {"48120.bin", sprites,
         Args{"rle-insert", Write("noise.bin", sprites), "--at", "48120", "--yes"},
         "48120.bin: RLE block at 0x48120 packed 4517 -> " +
             std::to_string(RleEncode(sprites).bytes.size()) + " bytes\n",
         "the sprite sheet", "tiles that differ: 31-40 (10 of"},
        {"48120.png", editedSprites,
         Args{"rle-insert", File("sprites.bin"), "--at", "48120", "--yes"},
         "48120.png: RLE block at 0x48120 packed 4517 -> ", "the sprite sheet",
         "tiles that differ: 9-14 (6 of"},
    };
    for (const Case& edit : cases) {
        SCOPED_TRACE(edit.file);
        const std::string folder = File("mod-" + edit.file);
        std::filesystem::copy(File("mod"), folder);
        WriteBytes(folder + "/" + edit.file, edit.content);
        // status says what changed, what it holds and what pack would do, and writes nothing.
        const CliResult status = Run({"status", folder, "--diff"});
        EXPECT_TRUE(Ok(status, "  " + edit.file + ", " + edit.holds + ": " +
                                   edit.line.substr(edit.file.size() + 2)));
        EXPECT_TRUE(Holds(status.out, "\n    " + edit.differs));
        const std::string out = File("out-" + edit.file), patch = File("p-" + edit.file + ".bps");
        CliResult packed = Run({"pack", folder, out, "--yes", "--bps", patch});
        ASSERT_EQ(packed.exitCode, 0) << packed.err;
        EXPECT_EQ(packed.out.rfind(edit.line, 0), 0u) << packed.out;
        EXPECT_TRUE(Holds(packed.out, "\n" + patch + " written: a patch of "));
        // An RLE block moves no entry, and its line does not speak of entries.
        EXPECT_FALSE(edit.single[0] == "rle-insert" && Holds(packed.out, "entry moved"));
        EXPECT_EQ(ReadBytes(out), DemoAfter(edit.single));
        // The patch takes a clean ROM to the same image.
        const std::string applied = File("applied-" + edit.file);
        EXPECT_TRUE(Ok(Run({"patch-apply", demo_, patch, applied})));
        EXPECT_EQ(ReadBytes(applied), ReadBytes(out));
    }
}

// A palette is a file of the folder like any other: status counts and names it.
TEST_F(CliMod, StatusNamesAChangedPalette) {
    const CliResult unpacked = Run({"unpack", demo_, File("mod")});
    EXPECT_TRUE(Holds(unpacked.out, ": 32 entries of the table at 0x20000, 2 RLE blocks, 10 "
                                    "sheets, 16 maps, 10 palettes, drovak.toml\n"));
    const std::string palette = File("mod/palettes/level02.gpl");
    ReplaceIn(palette, " 96  96  96", "200  40  40");
    const CliResult status = Run({"status", File("mod")});
    EXPECT_TRUE(Ok(status, ": 1 file changed since the unpack of "));
    EXPECT_TRUE(Holds(status.out, "\n  palettes/level02.gpl: palette, level 2, 1 colour changed\n"
                                  "    note: " +
                                      palette +
                                      ": colour 1 (line 0, 1) is not a colour the console "
                                      "shows; the nearest one is taken\n"));
    // A byte of data that is no picture is named by its offset.
    FlipBit(File("mod/20000_3.bin"), 10);
    EXPECT_TRUE(Holds(Run({"status", File("mod"), "--diff"}).out,
                      "\n    bytes that differ: 10 (1 of 57344)\n"));
    // Entries are taken in the table's order, whatever the manifest's.
    FlipBit(File("mod/20000_1.bin"), 0);
    std::string manifest = ReadText(File("mod/drovak.toml"));
    const size_t one = manifest.find("[[file]]", manifest.find("name = '20000_0.bin'"));
    const size_t two = manifest.find("[[file]]", one + 1);
    manifest += "\n" + manifest.substr(one, two - one);
    manifest.erase(one, two - one);
    WriteBytes(File("mod/drovak.toml"), Text(manifest));
    const std::string both = Run({"status", File("mod")}).out;
    const size_t first = both.find("\n  20000_1.bin"), second = both.find("\n  20000_3.bin");
    EXPECT_TRUE(first < second && second != std::string::npos) << both;
    // What a pack would refuse, the folder first.
    WriteBytes(File("mod/drovak.toml"), {'x'});
    const CliResult refused = Run({"status", File("mod")});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_EQ(refused.out.rfind(File("mod") + ": pack would refuse: " + File("mod/drovak.toml"), 0),
              0u)
        << refused.out;
}

TEST_F(CliMod, PackOntoTheBaseKeepsItsBackupForUndo) {
    Unpack(demo_, "mod");
    const Bytes original = ReadBytes(demo_);
    Bytes entry = ReadBytes(File("mod/20000_5.bin"));
    entry.resize(entry.size() / 2); // shrinks: no question
    WriteBytes(File("mod/20000_5.bin"), entry);
    const CliResult packed = Run({"pack", File("mod"), demo_});
    ASSERT_TRUE(Ok(packed, "entries 0x6 to 0x1F moved by -"));
    EXPECT_TRUE(Holds(packed.out, "kept as demo.bin.bak; header checksum right"));
    EXPECT_EQ(ReadBytes(demo_ + ".bak"), original);
    ASSERT_TRUE(Ok(Run({"undo", demo_})));
    EXPECT_EQ(ReadBytes(demo_), original);
}

TEST_F(CliMod, UnpackWritesOnlyIntoAnEmptyFolderOrAnUnchangedUnpackOfTheSameRom) {
    const std::string varied = Write("varied.bin", VariedRom());
    Unpack(varied, "other");
    Bytes flipped = ReadBytes(demo_);
    flipped[0x300] ^= 1; // the same size, another CRC-32
    Unpack(Write("near.bin", flipped), "near");
    Unpack(demo_, "edited");
    WriteBytes(File("edited/20000_9.png"), {1, 2, 3});
    std::filesystem::create_directory(File("notes"));
    WriteBytes(File("notes/notes.txt"), {4, 5});
    Unpack(demo_, "unlisted"); // its manifest no longer lists 20000_0.bin, which holds an edit
    std::string toml = ReadText(File("unlisted/drovak.toml"));
    const size_t first = toml.find("[[file]]");
    toml.erase(first, toml.find("[[file]]", first + 1) - first);
    WriteBytes(File("unlisted/drovak.toml"), Text(toml));
    WriteBytes(File("unlisted/20000_0.bin"), {7});
    Unpack(demo_, "unlistedMap"); // nor the first map
    toml = ReadText(File("unlistedMap/drovak.toml"));
    const size_t map = toml.find("\n[[view]]");
    toml.erase(map, toml.find("\n[[view]]", map + 1) - map);
    WriteBytes(File("unlistedMap/drovak.toml"), Text(toml));
    Unpack(demo_, "damaged");
    WriteBytes(File("damaged/drovak.toml"), {'x'});
    const std::pair<std::string, std::string> cases[] = {
        {"notes", "not empty, and it holds no drovak.toml"},
        {"other", "holds an unpack of varied.bin (CRC-32 " + CrcText(ReadBytes(varied)) +
                      "), not of demo.bin (CRC-32 " + CrcText(ReadBytes(demo_)) + ")"},
        {"near", "holds an unpack of near.bin (CRC-32 " + CrcText(flipped) + "), not of demo"},
        {"edited", "edited/20000_9.png: changed since the unpack"},
        {"unlisted", "unlisted/20000_0.bin: not a file of the previous unpack"},
        {"unlistedMap", "unlistedMap/levels/level01.tmx: not a file of the previous unpack"},
        {"damaged", "damaged/drovak.toml: "},
    };
    for (const auto& [folder, expected] : cases) {
        const Bytes manifest = ReadBytes(File(folder + "/drovak.toml"));
        EXPECT_TRUE(Fails(Run({"unpack", demo_, File(folder)}), 3, expected));
        EXPECT_EQ(ReadBytes(File(folder + "/drovak.toml")), manifest) << folder;
    }
    EXPECT_TRUE(Fails(Run({"unpack", demo_, File("missing/mod")}), 2,
                      File("missing/mod") + ": cannot make the folder: No such file or directory"));
    EXPECT_EQ(ReadBytes(File("edited/20000_9.png")), (Bytes{1, 2, 3}));
    EXPECT_EQ(ReadBytes(File("notes/notes.txt")), (Bytes{4, 5}));
    EXPECT_EQ(ReadBytes(File("unlisted/20000_0.bin")), Bytes{7});
    // An unchanged unpack of the same ROM is written again; other files are left alone.
    WriteBytes(File("other/notes.txt"), {6});
    EXPECT_TRUE(Ok(Run({"unpack", varied, File("other")}), " (the previous unpack written again)"));
    EXPECT_EQ(ReadBytes(File("other/notes.txt")), Bytes{6});
}

TEST_F(CliMod, PackRefusesWhatWouldBuildAWrongRomAndWritesNothing) {
    Unpack(demo_, "mod");
    const std::string out = File("out.bin");
    // A table whose data lies right before the block at 0x48120, so that its entry's growth
    // runs over the block.
    Bytes squeezed = VariedRom();
    const Bytes small = handmade::MakeRom(0, {Noise(100, 1)}, 0x120);
    std::copy(small.begin(), small.end(), squeezed.begin() + 0x48000);
    const std::string squeezedRom = Write("squeezed.bin", squeezed);
    CliResult unpacked = Run({"unpack", squeezedRom, File("squeezed"), "--table", "48000"});
    ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err;
    WriteBytes(File("squeezed/48000_0.bin"), Noise(400, 2));

    const std::string wrong = Write("wrong.bin", VariedRom());
    Bytes flipped = ReadBytes(demo_);
    flipped[0x300] ^= 1; // the same size, another CRC-32
    const std::string near = Write("near.bin", flipped);
    Bytes tiles = ReadBytes(File("mod/20000_A.bin"));
    tiles[0] ^= 0xFF;
    const auto folderWith = [this](const std::string& name, const std::string& file,
                                   const Bytes& content) {
        std::filesystem::copy(File("mod"), File(name));
        WriteBytes(File(name + "/" + file), content);
        return File(name);
    };
    const std::string disagree = folderWith("disagree", "20000_A.bin", tiles);
    tiles[1] ^= 0x11; // the sheet holds another edit
    ASSERT_TRUE(Ok(Run({"tiles-to-png", Write("other.bin", tiles), disagree + "/20000_A.png",
                        "--rom", demo_, "--palette-at", "5FD00", "--columns", "64", "--yes"})));
    const std::string grown =
        folderWith("grown", "20000_1F.bin", Noise(ReadBytes(File("mod/20000_1F.bin")).size(), 4));

    const std::pair<Args, std::string> cases[] = {
        {{"pack", File("mod"), out, "--base", wrong},
         "wrong.bin: CRC-32 " + CrcText(ReadBytes(wrong)) + " (458752 bytes), but " + File("mod") +
             " was unpacked from demo.bin, CRC-32 " + CrcText(ReadBytes(demo_))},
        {{"pack", File("mod"), out, "--base", near}, "near.bin: CRC-32 " + CrcText(flipped)},
        {{"pack", disagree, out, "--yes"},
         "entry 0xA (20000_A.bin): both 20000_A.bin and 20000_A.png changed"},
        {{"pack", grown, out}, "20000_1F.bin: the new compressed data (57494 bytes) is larger"},
        {{"pack", File("squeezed"), out, "--yes"},
         "the RLE block at 0x48120 (48120.bin) no longer decodes to its file"},
        {{"pack", File("notes"), out}, "notes/drovak.toml"},
    };
    for (const auto& [arguments, expected] : cases) {
        CliResult refused = Run(arguments);
        EXPECT_TRUE(Fails(refused, expected == "notes/drovak.toml" ? 2 : 3, expected));
        EXPECT_FALSE(std::filesystem::exists(out)) << expected;
        // status says the same refusal (the questions of the grown entry are no refusal).
        Args status = {"status", arguments[1]};
        if (arguments.size() > 4 && arguments[3] == "--base")
            status.insert(status.end(), {"--base", arguments[4]});
        refused = Run(status);
        if (arguments[1] == grown) {
            EXPECT_TRUE(Holds(refused.out, "    pack asks: the new compressed data (57494 bytes)"));
            continue;
        }
        EXPECT_EQ(refused.exitCode, expected == "notes/drovak.toml" ? 2 : 3) << refused.err;
        EXPECT_TRUE(Holds((refused.out + refused.err), expected)) << refused.out;
    }
    // The grown entry goes in when the question is answered; an edited .bin whose sheet an
    // editor only saved again (other bytes, the same pixels, without the record) goes in too.
    EXPECT_TRUE(Ok(Run({"pack", grown, out, "--yes"})));
    LibpngPicture saved = DecodeWithLibpng(ReadBytes(File("mod/20000_A.png")));
    saved.texts.clear();
    saved.bitDepth = 8;
    WriteBytes(disagree + "/20000_A.png", EncodeWithLibpng(saved));
    CliResult packed = Run({"pack", disagree, out, "--yes"});
    EXPECT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_EQ(packed.out.rfind("20000_A.bin: entry 0xA", 0), 0u) << packed.out;
}

} // namespace
} // namespace drovak::test
