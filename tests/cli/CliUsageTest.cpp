// Help texts, usage errors and the exit codes of failures.
#include "CliRunner.h"

namespace drovak::testing {
namespace {

using CliUsage = CliTest;

const char* const COMMANDS[] = {"lzh-decode",  "lzh-encode",    "rle-decode", "rle-encode",
                                "mask-decode", "lzh-extract",   "lzh-insert", "rle-extract",
                                "rle-insert",  "make-demo-rom", "level-png",  "render"};

TEST_F(CliUsage, HelpListsEveryCommandAndTheExitCodes) {
    CliResult general = Run({"--help"});
    ASSERT_EQ(general.exitCode, 0);
    for (const char* command : COMMANDS) {
        EXPECT_NE(general.out.find(command), std::string::npos) << command;
        CliResult help = Run({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_NE(help.out.find(std::string("Usage: drovak-cli ") + command), std::string::npos);
        EXPECT_NE(help.out.find("Exit codes"), std::string::npos) << command;
    }
    EXPECT_NE(Run({"lzh-extract", "--help"}).out.find("default 20000"), std::string::npos);
    EXPECT_NE(Run({"rle-extract", "--help"}).out.find("default 48120"), std::string::npos);
}

TEST_F(CliUsage, WrongCommandLinesExitWith1) {
    auto in = File("in.bin", {1, 2, 3, 4});
    auto rom = File("rom.bin", Bytes(16, 0));
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"no-such-command"},
        {"lzh-decode", in, Path("out.bin")},                         // --size missing
        {"lzh-decode", in, Path("out.bin"), "--size", "12x"},        // not decimal
        {"lzh-decode", in, Path("out.bin"), "--size", "-1"},         // no sign
        {"lzh-decode", in, Path("out.bin"), "--size", "4294967296"}, // over 32 bits
        {"lzh-decode", in, Path("out.bin"), "--size", "3", "--size", "3"},
        {"lzh-decode", in, Path("out.bin"), "--size"}, // value missing
        {"lzh-encode", in},                            // OUT missing
        {"lzh-encode", in, Path("out.bin"), Path("extra.bin")},
        {"rle-decode", in, Path("out.bin"), "--offset", "0"}, // unknown option
        {"lzh-insert", rom, in, "--yes=1"},
        {"level-png", rom, Path("out.png"), "--level", "0", "--plane", "A"},
        {"level-png", rom, Path("out.png"), "--level", "9", "--plane", "A"},
        {"level-png", rom, Path("out.png"), "--level", "1", "--plane", "C"},
        {"level-png", rom, Path("out.png"), "--level", "1"},
        {"render", rom, Path("out.png")}, // no picture named
        {"render", rom, Path("out.png"), "--title", "--rle-sheet"},
        {"render", rom, Path("out.png"), "--title", "--at", "10"},
        {"render", rom, Path("out.png"), "--level", "1", "--plane", "A", "--column", "497"},
    };
    for (const auto& arguments : cases) {
        CliResult result = Run(arguments);
        std::string line;
        for (const auto& argument : arguments) line += argument + " ";
        EXPECT_EQ(result.exitCode, 1) << line << "\n" << result.err;
        EXPECT_FALSE(result.err.empty()) << line;
        EXPECT_EQ(result.out, "") << line;
    }
    // Nothing was written by any of them.
    EXPECT_FALSE(fs::exists(Path("out.bin")));
    EXPECT_FALSE(fs::exists(Path("out.png")));
}

TEST_F(CliUsage, FilesThatCantBeReadOrWrittenExitWith2) {
    auto in = File("in.bin", {0, 0, 0, 4, 0x07});
    std::string missing = Path("missing.bin");
    std::string noFolder = Path("no/such/folder/out.bin");
    struct Case {
        std::vector<std::string> arguments;
        std::string named; // the file the message names
    };
    const Case cases[] = {
        {{"lzh-encode", missing, Path("out.bin")}, missing},
        {{"rle-decode", in, noFolder}, noFolder},
        {{"rle-decode", in, Path("out.bin"), "--at", "5"}, in}, // offset at the end
        {{"lzh-decode", in, Path("out.bin"), "--size", "4", "--at", "100"}, in},
        {{"mask-decode", missing, Path("out.bin")}, missing},
        {{"lzh-extract", missing, Path("out.bin")}, missing},
        {{"rle-insert", missing, in, "--yes"}, missing},
        {{"render", missing, Path("out.png"), "--title"}, missing},
        {{"make-demo-rom", noFolder}, noFolder},
    };
    for (const auto& c : cases) {
        CliResult result = Run(c.arguments);
        EXPECT_EQ(result.exitCode, 2) << c.arguments[0] << "\n" << result.err;
        EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(Path("out.bin")));
    EXPECT_FALSE(fs::exists(Path("out.png")));
    EXPECT_FALSE(fs::exists(missing));
}

TEST_F(CliUsage, AFailedWriteKeepsTheOldOutputFile) {
    auto out = File("out.bin", {9, 9, 9});
    // rle-decode fails reading (the block is cut short) after OUT was named.
    CliResult result = Run({"rle-decode", File("short.bin", {0, 0, 0, 8, 0x07}), out});
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_EQ(ReadBytes(out), (Bytes{9, 9, 9}));
}

} // namespace
} // namespace drovak::testing
