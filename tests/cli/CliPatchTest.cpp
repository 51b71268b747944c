// patch-create and patch-apply on the demo ROM: a change made with lzh-insert travels as a patch
// to a clean copy; wrong bases, damaged patches and taken names are refused with nothing
// written; OUT may be the ROM itself, and undo takes the patch back; in place a patch gives
// exactly its target, a wrong header checksum included (the checksum is the patch's business).
#include "CliRunner.h"
#include "base/ByteOrder.h"
#include "base/Crc32.h"
#include "support/HandMadeRom.h"

namespace drovak::test {
namespace {

class CliPatch : public CliTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Ok(Run({"make-demo-rom", clean_})));
        std::filesystem::copy_file(clean_, modded_);
        ASSERT_TRUE(Ok(Run({"lzh-insert", modded_, Write("art.bin", handmade::Noise(3000, 4)),
                            "--index", "8", "--yes"})));
        const CliResult made = Run({"patch-create", clean_, modded_, patch_});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        EXPECT_TRUE(made.out.starts_with(patch_ + " written: BPS patch of " +
                                         std::to_string(ReadBytes(patch_).size()) +
                                         " bytes from clean.bin (CRC-32 "))
            << made.out;
    }
    const std::string clean_ = File("clean.bin"), modded_ = File("modded.bin"),
                      patch_ = File("mod.bps");
};

// A patch carries the change to a clean copy, as BPS or IPS; an IPS patch applies with a warning
// that nothing is checked; OUT may be the ROM itself, and undo takes the patch back.
TEST_F(CliPatch, APatchCarriesTheChangeToACleanRomOrToTheRomItself) {
    ASSERT_TRUE(Ok(Run({"patch-apply", clean_, patch_, File("out.bin")})));
    EXPECT_EQ(ReadBytes(File("out.bin")), ReadBytes(modded_));
    EXPECT_LT(ReadBytes(patch_).size(), 4000u); // the moved entries are copied, not carried
    // The same as IPS.
    ASSERT_TRUE(Ok(Run({"patch-create", clean_, modded_, File("mod.ips"), "--ips"})));
    ASSERT_TRUE(Ok(Run({"patch-apply", clean_, File("mod.ips"), File("ips.bin")})));
    EXPECT_EQ(ReadBytes(File("ips.bin")), ReadBytes(modded_));
    // A patch made by hand: applied with a warning that nothing is checked.
    const Bytes ips = Cat(Hex("50 41 54 43 48"), Hex("00 01 00 00 02 AA BB"), Hex("45 4F 46"));
    const CliResult applied = Run({"patch-apply", modded_, Write("hand.ips", ips), File("o.bin")});
    ASSERT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_TRUE(Holds(applied.err, "no checksums"));
    Bytes expected = ReadBytes(modded_);
    EXPECT_EQ(ReadBytes(File("o.bin")), Put(expected, 0x100, Hex("AA BB")));
    // OUT may be the ROM itself; undo takes the patch back.
    const Bytes clean = ReadBytes(clean_);
    ASSERT_TRUE(Ok(Run({"patch-apply", clean_, patch_, clean_})));
    EXPECT_EQ(WithBackup(clean_), std::pair(ReadBytes(modded_), clean));
    ASSERT_TRUE(Ok(Run({"undo", clean_})));
    EXPECT_EQ(ReadBytes(clean_), clean);
}

TEST_F(CliPatch, PatchInfoSaysWhatAPatchHolds) {
    const std::string meta = Write("meta.txt", Text("Faster ship\nby me \x1B[31m\n"));
    ASSERT_TRUE(Ok(Run({"patch-create", clean_, modded_, File("meta.bps"), "--meta", meta})));
    const Bytes shrunk = Slice(ReadBytes(modded_), 0, 0x40000);
    ASSERT_TRUE(
        Ok(Run({"patch-create", clean_, Write("shrunk.bin", shrunk), File("cut.ips"), "--ips"}),
           "; shrinks from 524288 to 262144 bytes"));
    Bytes damaged = ReadBytes(patch_);
    damaged[damaged.size() / 2] ^= 1;
    const std::string sizes = "  source: 524288 bytes, CRC-32 " + CrcText(ReadBytes(clean_)) +
                              "\n  target: 524288 bytes, CRC-32 " + CrcText(ReadBytes(modded_)) +
                              "\n";
    const std::tuple<std::string, int, Args> cases[] = {
        {patch_, 0, {"mod.bps: BPS patch of ", sizes + "  metadata: none\n  actions: "}},
        {File("meta.bps"),
         0,
         {sizes + "  metadata: 24 bytes\n    Faster ship\n    by me \\x1B[31m\n  actions: "}},
        {File("cut.ips"),
         0,
         {"cut.ips: IPS patch of ", "  records: ", "truncation: the image is cut to 262144 bytes",
          "checksums: none"}},
        {Write("damaged.bps", damaged), 3, {"damaged.bps is damaged: its own checksum fails"}},
        {Write("text.txt", Text("hello")), 3, {"text.txt is not a patch"}},
    };
    for (const auto& [patch, exitCode, expected] : cases) {
        const CliResult info = Run({"patch-info", patch});
        EXPECT_EQ(info.exitCode, exitCode) << patch;
        for (const std::string& words : expected) EXPECT_TRUE(Holds(info.out, words));
    }
}

TEST_F(CliPatch, WrongBasesAndDamagedPatchesAreRefused) {
    const std::string other = Write("other.bin", handmade::Noise(1000, 3)), out = File("out.bin");
    Bytes damaged = ReadBytes(patch_);
    damaged[damaged.size() / 2] ^= 0x20;
    const std::pair<Args, std::string> cases[] = {
        {{"patch-apply", other, patch_, out},
         patch_ + " was made for a ROM with CRC-32 " + CrcText(ReadBytes(clean_)) +
             " (524288 bytes); " + other + " has " + CrcText(ReadBytes(other))},
        {{"patch-apply", other, patch_, other}, "made for a ROM with CRC-32"},
        {{"patch-apply", clean_, Write("damaged.bps", damaged), out},
         "damaged.bps is damaged: its own checksum fails (it names " +
             drovak::CrcText(LoadLittleEndian32(&damaged[damaged.size() - 4])) +
             ", its bytes give " + CrcText(Slice(damaged, 0, damaged.size() - 4)) + ")"},
        {{"patch-apply", clean_, Write("cut.bps", Slice(damaged, 0, 30)), clean_}, "damaged"},
        {{"patch-apply", clean_, Write("text.txt", Hex("41 42 43")), out}, "not a patch"},
        // A patch applied twice, and a patch between two images that are the same.
        {{"patch-apply", modded_, patch_, out}, "is already applied"},
        {{"patch-create", clean_, Write("copy.bin", ReadBytes(clean_)), out},
         "copy.bin are the same image"},
        // What IPS can't hold: an image over 16 MiB.
        {{"patch-create", clean_, Write("large.bin", Bytes((16 << 20) + 2, 0)), out, "--ips"},
         "more than IPS can reach"},
    };
    // Each is refused (exit code 3) and writes nothing: OUT is not made, the ROM and its backup
    // (if any) stay as they were.
    for (const auto& [arguments, words] : cases) {
        const auto before = WithBackup(arguments[1]);
        const CliResult refused = Run(arguments);
        EXPECT_TRUE(Fails(refused, 3, words) && Holds(refused.err, "nothing was written"));
        EXPECT_EQ(WithBackup(arguments[1]), before) << words;
        EXPECT_FALSE(std::filesystem::exists(out)) << words;
    }
}

TEST_F(CliPatch, InPlaceGivesTheTargetAndNoImageBecomesThePatch) {
    Bytes target = ReadBytes(clean_);
    target[0x300] ^= 0xFF; // the stored checksum no longer fits
    WriteBytes(File("wrong.bin"), target);
    ASSERT_TRUE(Ok(Run({"patch-create", "clean.bin", "wrong.bin", "p.bps"})));
    const CliResult refused =
        Run({"patch-create", "clean.bin", "wrong.bin", "./wrong.bin", "--yes"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_EQ(refused.err, "drovak-cli: ./wrong.bin: is the ROM image wrong.bin itself; a patch "
                           "is never written over its images; nothing was written\n");
    EXPECT_EQ(ReadBytes(File("wrong.bin")), target);
    EXPECT_EQ(Run({"patch-create", "clean.bin", "wrong.bin", "clean.bin", "--yes"}).exitCode, 3);
    EXPECT_TRUE(Ok(Run({"patch-apply", "clean.bin", "p.bps", "clean.bin"})));
    EXPECT_EQ(ReadBytes(clean_), target);
}

} // namespace
} // namespace drovak::test
