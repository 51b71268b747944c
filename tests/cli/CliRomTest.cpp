// The ROM commands: extract, insert with and without --yes, list, undo and checksum (the moves
// and refusals of an insert are the ROM pages' tests).
#include "CliRunner.h"
#include "support/HandMadeRom.h"

#include <algorithm>

namespace drovak::test {
namespace {

using handmade::Noise;

class CliRom : public CliTest {
protected:
    void SetUp() override { ASSERT_TRUE(Ok(Run({"make-demo-rom", rom_}))); }
    const std::string rom_ = File("demo.bin");
};

// Data that packs larger than what is there (noise; for RLE about two bytes a byte) is refused
// without --yes, the ROM untouched; with --yes it goes in and extracts back unchanged.
TEST_F(CliRom, InsertAsksBeforeGrowingAnEntryOrTheBlock) {
    const Bytes demo = ReadBytes(rom_);
    for (const std::string format : {"lzh", "rle"}) {
        SCOPED_TRACE(format);
        WriteBytes(rom_, demo);
        ASSERT_TRUE(Ok(Run({format + "-extract", rom_, File("old.bin"), "--yes"})));
        const Bytes data = Noise(ReadBytes(File("old.bin")).size() / 4 * 4, 7);
        auto file = Write("data.bin", data);
        const CliResult refused = Run({format + "-insert", rom_, file});
        EXPECT_TRUE(Fails(refused, 3, "--yes"));
        EXPECT_EQ(ReadBytes(rom_), demo);
        CliResult inserted = Run({format + "-insert", rom_, file, "--yes"});
        ASSERT_TRUE(Ok(inserted));
        // The refusal gave the sizes the insert then printed: the new one, and the old LZH one.
        std::istringstream sizes(inserted.out);
        std::string newSize, oldSize;
        sizes >> newSize >> oldSize;
        const std::string facts =
            format == "lzh"
                ? "(" + newSize + " bytes) is larger than the old (" + oldSize + " bytes)"
                : "The new block (" + newSize + " bytes)";
        EXPECT_TRUE(Holds(refused.err, facts));
        CliResult back = Run({format + "-extract", rom_, File(format + ".bin")});
        ASSERT_TRUE(Ok(back));
        EXPECT_EQ(back.out, inserted.out.substr(0, inserted.out.find_first_of(" \n")) + "\n");
        EXPECT_EQ(ReadBytes(File(format + ".bin")), data);
    }
}

// A heading, then a line per entry (a table of one entry at 0 with the stream of "abc", 4 bytes,
// behind it at 0xE).
TEST_F(CliRom, LzhListShowsEveryEntryOfTheTable) {
    CliResult demo = Run({"lzh-list", rom_});
    ASSERT_EQ(demo.exitCode, 0) << demo.err;
    EXPECT_EQ(std::count(demo.out.begin(), demo.out.end(), '\n'), 33);
    EXPECT_EQ(Run({"lzh-list", Write("small.bin", handmade::MakeRom(0, {Hex("61 62 63")}, 14)),
                   "--table", "0"})
                  .out,
              "Index  DataOffset  DecodedSize  PackedSize  Decodes  Holds\n"
              "0x0    0xE         3            4           yes\n");
    // The game's table names the level entries.
    EXPECT_TRUE(Holds(demo.out, "\n0xA    "));
    const std::string entryA = demo.out.substr(demo.out.find("\n0xA    ") + 1);
    EXPECT_EQ(entryA.substr(0, entryA.find('\n')).substr(entryA.find("yes")),
              "yes      tile art, level 3");
    EXPECT_TRUE(Holds(demo.out, "blocks, level 8\n0x18"));
}

// An index the table does not hold reads and writes nothing, with the table's count; an
// unchanged round trip keeps the entry's DecodedSize as the list shows it.
TEST_F(CliRom, IndexBeyondTheTableAndAnUnchangedRoundTrip) {
    const Bytes demo = ReadBytes(rom_);
    const std::string data = Write("data.bin", Hex("61 62 63"));
    for (const Args& command : {Args{"lzh-extract", rom_, File("entry.bin"), "--index", "40"},
                                {"lzh-insert", rom_, data, "--yes", "--index", "40"}}) {
        const CliResult beyond = Run(command);
        EXPECT_TRUE(Fails(beyond, 3,
                          "entry 0x40 is beyond the table at 0x20000, which has 32 entries; "
                          "nothing was read or written"));
        EXPECT_FALSE(Holds(beyond.err, "bytes at"));
        EXPECT_EQ(ReadBytes(rom_), demo);
    }
    // An OUT that is the ROM by another name is refused, naming each as given.
    for (const char* extract : {"lzh-extract", "rle-extract"})
        EXPECT_TRUE(Fails(Run({extract, rom_, File("./demo.bin"), "--yes"}), 3,
                          File("./demo.bin") + ": is the ROM image " + rom_ + " itself"));
    EXPECT_EQ(ReadBytes(rom_), demo);
    const std::string listed = Run({"lzh-list", rom_}).out;
    for (const char* index : {"0", "A", "12"}) {
        // Each entry replaces the last one's data file: only with --yes.
        ASSERT_TRUE(Ok(Run({"lzh-extract", rom_, File("entry.bin"), "--index", index, "--yes"})));
        const CliResult same =
            Run({"lzh-insert", rom_, File("entry.bin"), "--index", index, "--yes"});
        ASSERT_TRUE(Ok(same));
        EXPECT_FALSE(Holds(same.err, "decoded size stays")) << index;
    }
    EXPECT_EQ(Run({"lzh-list", rom_}).out, listed);
    // A DecodedSize inside a copy: a decompress saves the copy whole, and compressing that back
    // keeps the DecodedSize, and says so.
    Bytes letters;
    for (int k = 0; k < 40; ++k) letters.insert(letters.end(), {'a', 'b', 'c', 'd', 'e', 'f'});
    ASSERT_TRUE(Ok(Run({"lzh-insert", rom_, Write("in.bin", letters), "--index", "1", "--yes"})));
    Bytes image = ReadBytes(rom_);
    Put32(image, 0x20000 + 2 + 12 + 4, 10);
    WriteBytes(rom_, image);
    ASSERT_TRUE(Ok(Run({"lzh-extract", rom_, File("over.bin"), "--index", "1", "--yes"})));
    const size_t past = ReadBytes(File("over.bin")).size() - 10;
    const CliResult back = Run({"lzh-insert", rom_, File("over.bin"), "--index", "1", "--yes"});
    EXPECT_TRUE(Holds(back.err, "decoded size stays 10: the " + std::to_string(past) +
                                    " bytes past it are what the old data decoded to there."))
        << back.err;
}

// Every change keeps the previous image as ROM.bak; undo swaps them, a second undo redoes; a
// right checksum stays right, a wrong one is left alone until checksum --fix.
TEST_F(CliRom, BackupUndoAndChecksum) {
    const Bytes demo = ReadBytes(rom_);
    const CliResult checked = Run({"checksum", rom_});
    ASSERT_TRUE(Ok(checked));
    const std::string sum = checked.out.substr(7, 4);
    EXPECT_EQ(checked.out, "stored " + sum + ", computed " + sum + ": right\n");

    // Before any change there is nothing to go back to.
    EXPECT_TRUE(
        Fails(Run({"undo", rom_}), 3,
              rom_ + ": there is no backup " + rom_ + ".bak to go back to; nothing was changed\n"));
    // An empty input waits for --yes, for an entry as for a block.
    const std::string empty = Write("empty.bin", {});
    for (const Args& command :
         {Args{"lzh-insert", rom_, empty, "--index", "3"}, Args{"rle-insert", rom_, empty}})
        EXPECT_TRUE(Fails(Run(command), 3, "The file " + empty + " is empty!")) << command[0];
    EXPECT_EQ(ReadBytes(rom_), demo);
    auto noise = Write("noise.bin", Noise(3000, 7));
    CliResult inserted = Run({"lzh-insert", rom_, noise, "--index", "3", "--yes"});
    ASSERT_EQ(inserted.exitCode, 0) << inserted.err;
    EXPECT_TRUE(Holds(inserted.err, "kept as demo.bin.bak"));
    EXPECT_TRUE(Holds(inserted.err, "checksum right"));
    const Bytes changed = ReadBytes(rom_);
    EXPECT_EQ(ReadBytes(rom_ + ".bak"), demo);

    for (const Bytes* now : {&demo, &changed}) {
        EXPECT_TRUE(Ok(Run({"undo", rom_})));
        EXPECT_EQ(WithBackup(rom_), std::pair(*now, now == &demo ? changed : demo));
    }

    // A wrong checksum stays wrong through a change, until it is fixed (with a backup).
    Bytes wrong = demo;
    wrong[0x18E] ^= 0xFF;
    WriteBytes(rom_, wrong);
    ASSERT_TRUE(Ok(Run({"lzh-insert", rom_, noise, "--index", "3", "--yes"})));
    const Bytes before = ReadBytes(rom_);
    EXPECT_EQ(Slice(before, 0x18E, 2), Slice(wrong, 0x18E, 2));
    CliResult fixed = Run({"checksum", rom_, "--fix"});
    EXPECT_EQ(fixed.exitCode, 0) << fixed.err;
    EXPECT_NE(fixed.out.substr(7, 4), fixed.out.substr(22, 4)) << fixed.out;
    EXPECT_EQ(fixed.out.substr(26), ": wrong\n");
    EXPECT_EQ(WithBackup(rom_), std::pair(changed, before));
    fixed = Run({"checksum", rom_, "--fix"});
    EXPECT_TRUE(Holds(fixed.err, "nothing was written"));
    EXPECT_EQ(ReadBytes(rom_ + ".bak"), before);
}

} // namespace
} // namespace drovak::test
