// Help texts, and the exit codes of wrong command lines and of files that can't be used.
#include "CliRunner.h"

namespace drovak::test {
namespace {

namespace fs = std::filesystem;

using CliUsage = CliTest;

TEST_F(CliUsage, HelpListsEveryCommandAndVersionNamesTheTool) {
    CliResult general = Run({"--help"});
    ASSERT_EQ(general.exitCode, 0);
    EXPECT_EQ(general.out.rfind("Usage: drovak-cli COMMAND ARGUMENTS...\n", 0), 0u);
    EXPECT_TRUE(Holds(general.out, "\nDROVAK_EMULATOR  the emulator pack --run starts") &&
                Holds(general.out, "\nExit codes:\n"));
    for (const char* command :
         {"lzh-decode",   "lzh-encode",   "rle-decode",    "rle-encode",  "mask-decode",
          "lzh-extract",  "lzh-list",     "lzh-insert",    "rle-extract", "rle-insert",
          "undo",         "checksum",     "make-demo-rom", "level-png",   "render",
          "tiles-to-png", "png-to-tiles", "patch-create",  "patch-info",  "patch-apply",
          "unpack",       "pack",         "status"}) {
        EXPECT_TRUE(Holds(general.out, command)) << command;
        const CliResult help = Run({command, "--help"});
        EXPECT_TRUE(Ok(help, std::string("Usage: drovak-cli ") + command));
        EXPECT_TRUE(Holds(help.out, "Exit codes")) << command;
    }
    // --version: the tool's name and the project's version.
    const CliResult version = Run({"--version"});
    EXPECT_EQ(std::tuple(version.exitCode, version.out, version.err),
              std::tuple(0, "drovak-cli " DROVAK_VERSION "\n", ""));
    // Only as the first word: after a command it is that command's unknown option.
    EXPECT_EQ(Run({"checksum", "x.bin", "--version"}).exitCode, 1);
}

TEST_F(CliUsage, FailuresExitWith1To3AndWriteNothing) {
    const std::string in = Write("in.bin", {0, 0, 0, 4, 0x07}), out = File("out.bin");
    const std::string png = File("out.png"), missing = File("missing.bin");
    const std::string noFolder = File("no/folder/out.bin");
    fs::create_hard_link(in, File("hard.bin"));
    fs::create_symlink("in.bin", File("soft.bin"));
    struct Case {
        Args arguments;
        int exitCode;
        std::string named; // in the message
    };
    const Case cases[] = {
        {{}, 1, ""},
        {{"no-such-command"}, 1, ""},
        {{"lzh-decode", in, out}, 1, ""},                                // --size missing
        {{"lzh-decode", in, out, "--size", "4294967296"}, 1, ""},        // over 32 bits
        {{"lzh-decode", in, out, "--size", "3", "--size", "3"}, 1, ""},  // twice
        {{"rle-decode", in, out, "--offset", "0"}, 1, ""},               // unknown option
        {{"level-png", in, png, "--level", "9", "--plane", "A"}, 1, ""}, // levels are 1 to 8
        {{"level-png", in, png, "--all", "--level", "1"},
         1,
         "drovak-cli: level-png: --all writes every level and plane: leave out --level and "
         "--plane\nUsage: drovak-cli level-png ROM OUT.png --level N --plane A|B [--yes] | ROM "
         "DIR --all [--yes]\n"},
        {{"level-png", missing, png, "--all"}, 2, missing},    // and no folder is made
        {{"render", in, png, "--title", "--at", "10"}, 1, ""}, // --at is for --rle-sheet
        {{"render", in, png}, 1, "give exactly one of --level N, --title, --lzh-sheet"},
        {{"level-png", in, png, "--level", "1"}, 1, "--plane A or --plane B is required"},
        {{"level-png", in, png, "--level", "1", "--plane", "C"}, 1, "--plane wants A or B, not"},
        {{"patch-create", in, in, out, "--ips", "--meta", in}, 1, "an IPS patch has no metadata"},
        {{"render", in, png, "--level", "1", "--plane", "A", "--column", "497"}, 1, ""},
        {{"lzh-encode", missing, out}, 2, missing},
        {{"rle-decode", in, noFolder}, 2, noFolder},
        // Hexadecimal arguments are read strictly (RomHexField.StrictReading holds the
        // spellings), before any file; the message names the option and the text.
        {{"lzh-insert", missing, in, "--index", "zz"}, 1, "--index"},
        {{"rle-insert", missing, in, "--at", "FFFFFFFFFFFF", "--yes"}, 1, "FFFFFFFFFFFF"},
        {{"undo", missing}, 2, missing},
        {{"checksum", in}, 2, in}, // too short for a header
        {{"lzh-list", in}, 2, "the file ends at 0x5 (5 bytes)"},
        // A decompress never writes over its ROM, by any name; an RLE offset past the end is
        // refused even with --yes.
        {{"rle-extract", in, File("hard.bin")}, 3, "itself"},
        {{"lzh-extract", File("soft.bin"), in}, 3, "itself"},
        {{"rle-insert", in, in, "--at", "5", "--yes"}, 3, "past the end"},
    };
    for (const auto& c : cases) {
        CliResult result = Run(c.arguments);
        const std::string line = c.arguments.empty() ? "" : c.arguments[0];
        EXPECT_TRUE(Fails(result, c.exitCode, c.named)) << line;
        EXPECT_FALSE(result.err.empty()) << line;
    }
    for (const std::string& name : {out, png, missing, in + ".bak"})
        EXPECT_FALSE(fs::exists(name)) << name;
    EXPECT_EQ(ReadBytes(in), (Bytes{0, 0, 0, 4, 0x07}));
    // A block cut short fails after OUT was named: the old OUT is kept.
    auto old = Write("old.bin", {9, 9, 9});
    EXPECT_EQ(Run({"rle-decode", Write("short.bin", {0, 0, 0, 8, 0x07}), old}).exitCode, 2);
    EXPECT_EQ(ReadBytes(old), (Bytes{9, 9, 9}));
}

// Names as written, relative to the scratch folder: "-" is a file like any other, "--" ends the
// options so that a name may start with "-", the largest value of an option is taken, and a
// failed write to stdout is an error though the command was carried out.
TEST_F(CliUsage, TheGrammarOfTheCommandLine) {
    const Bytes packed = Hex("00 00 00 04 00 13 02");
    Write("-", Hex("01 11 10 00"));
    Write("in.bin", Hex("01 11 10 00"));
    Write("rom.bin", SixtyFourColours());
    struct Case {
        Args arguments;
        int exitCode;
        std::string written; // holds the block afterwards; or a text of the message
    };
    const Case cases[] = {
        {{"rle-encode", "-", "out.bin"}, 0, "out.bin"},
        {{"rle-encode", "in.bin", "--", "--out.bin"}, 0, "--out.bin"},
        {{"rle-encode", "--", "-", "-x"}, 0, "-x"},
        {{"rle-encode", "in.bin", "--out.bin"}, 1, "unknown option --out.bin"},
        {{"rle-encode", "in.bin", "out.bin", "extra"}, 1, "got 3"},
        {{"rle-encode", "in.bin", "--", "out.bin", "--yes"}, 1, "got 3"},
        {{"rle-encode", "in.bin"}, 1, "got 1"},
        {Args{"rle-decode", "in.bin", "out.bin", "--at", "4"}, 2,
         "offset 0x4 is at or past the end of the file (4 bytes)"},
        {Args{"rle-decode", "in.bin", "out.bin", "--at", "10"}, 2,
         "offset 0x10 is at or past the end of the file (4 bytes)"},
        {Args{"tiles-to-png", "in.bin", "t.png", "--rom", "rom.bin", "--palette-at=0", "--line",
              "3"},
         0, ""},
        {Args{"tiles-to-png", "in.bin", "t.png", "--rom", "rom.bin", "--palette-at=0", "--line",
              "4"},
         1, "--line wants a decimal number from 0 to 3"},
        {Args{"tiles-to-png", "in.bin", "t.png", "--rom", "rom.bin", "--palette-at=0", "--line",
              "1x"},
         1, "--line wants a decimal number from 0 to 3"},
        {Args{"tiles-to-png", "in.bin", "t.png", "--columns", "0"}, 1,
         "--columns wants a decimal number from 1 to 2048, not \"0\""},
        {Args{"tiles-to-png", "in.bin", "t.png", "--columns", "00000000016"},
         1, // 10 digits at most
         "--columns wants a decimal number from 1 to 2048, not \"00000000016\""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove(File("out.bin"));
        const CliResult result = Run(c.arguments);
        SCOPED_TRACE(c.arguments.back());
        EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
        if (c.exitCode != 0) {
            EXPECT_TRUE(Holds(result.err, c.written));
            EXPECT_FALSE(fs::exists(File("out.bin")));
        } else if (!c.written.empty()) {
            EXPECT_EQ(ReadBytes(File(c.written)), packed);
        }
    }
    const CliResult full =
        Finish(Start({"rle-encode", "in.bin", "full.bin"}, {}, "full", "/dev/full"));
    EXPECT_TRUE(Fails(full, 2, "cannot write the results to stdout"));
    EXPECT_EQ(ReadBytes(File("full.bin")), packed);
}

} // namespace
} // namespace drovak::test
