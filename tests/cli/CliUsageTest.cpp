// Help texts, usage errors and the exit codes of failures.
#include "CliRunner.h"

namespace drovak::testing {
namespace {

using CliUsage = CliTest;

TEST_F(CliUsage, HelpListsEveryCommandAndTheExitCodes) {
    CliResult general = Run({"--help"});
    ASSERT_EQ(general.exitCode, 0);
    for (const char* command :
         {"lzh-decode", "lzh-encode", "rle-decode", "rle-encode", "mask-decode", "lzh-extract",
          "lzh-insert", "rle-extract", "rle-insert", "make-demo-rom", "level-png", "render"}) {
        EXPECT_NE(general.out.find(command), std::string::npos) << command;
        CliResult help = Run({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_NE(help.out.find(std::string("Usage: drovak-cli ") + command), std::string::npos);
        EXPECT_NE(help.out.find("Exit codes"), std::string::npos) << command;
    }
}

TEST_F(CliUsage, WrongCommandLinesExitWith1AndWriteNothing) {
    auto in = File("in.bin", {1, 2, 3, 4});
    const std::string out = Path("out.bin"), png = Path("out.png");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"no-such-command"},
        {"lzh-decode", in, out},                                // --size missing
        {"lzh-decode", in, out, "--size", "12x"},               // not decimal
        {"lzh-decode", in, out, "--size", "4294967296"},        // over 32 bits
        {"lzh-decode", in, out, "--size", "3", "--size", "3"},  // twice
        {"lzh-encode", in},                                     // OUT missing
        {"rle-decode", in, out, "--offset", "0"},               // unknown option
        {"level-png", in, png, "--level", "9", "--plane", "A"}, // levels are 1 to 8
        {"level-png", in, png, "--level", "1", "--plane", "C"},
        {"render", in, png},                          // no picture named
        {"render", in, png, "--title", "--at", "10"}, // --at is for --rle-sheet
        {"render", in, png, "--level", "1", "--plane", "A", "--column", "497"},
    };
    for (const auto& arguments : cases) {
        CliResult result = Run(arguments);
        std::string line = arguments.empty() ? "" : arguments[0];
        EXPECT_EQ(result.exitCode, 1) << line << "\n" << result.err;
        EXPECT_FALSE(result.err.empty()) << line;
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(png));
}

TEST_F(CliUsage, FilesThatCantBeReadOrWrittenExitWith2) {
    auto in = File("in.bin", {0, 0, 0, 4, 0x07});
    const std::string missing = Path("missing.bin"), noFolder = Path("no/folder/out.bin");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        // and the file named
        {{"lzh-encode", missing, Path("out.bin")}, missing},
        {{"rle-decode", in, noFolder}, noFolder},
        {{"rle-decode", in, Path("out.bin"), "--at", "5"}, in}, // at the end of the file
        {{"lzh-extract", missing, Path("out.bin")}, missing},
        {{"rle-insert", missing, in, "--yes"}, missing},
        {{"render", missing, Path("out.png"), "--title"}, missing},
    };
    for (const auto& [arguments, named] : cases) {
        CliResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments[0] << "\n" << result.err;
        EXPECT_NE(result.err.find(named), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(Path("out.bin")));
    EXPECT_FALSE(fs::exists(missing));

    // A block cut short fails after OUT was named: the old OUT is kept.
    auto out = File("old.bin", {9, 9, 9});
    EXPECT_EQ(Run({"rle-decode", File("short.bin", {0, 0, 0, 8, 0x07}), out}).exitCode, 2);
    EXPECT_EQ(ReadBytes(out), (Bytes{9, 9, 9}));
}

} // namespace
} // namespace drovak::testing
