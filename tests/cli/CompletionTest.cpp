// drovak-cli's bash completion: an option's values as its usage shows them, and the built
// script run by bash on command lines being written.
#include "CliRunner.h"
#include "cli/BashCompletion.h"
#include "cli/Command.h"

#include <cstdio>
#include <sys/wait.h>
#include <tuple>

namespace drovak::test {
namespace {

using cli::OptionValues;
using Kind = OptionValues::Kind;
using Args = std::vector<std::string>;

TEST(CliCompletion, AnOptionsValuesAreWhatItsPlaceholderSays) {
    struct Case {
        std::string usage, option;
        Kind kind;
        Args choices;
    };
    const Case cases[] = {
        {"ROM OUT.png (--level N --plane A|B) | ROM DIR --all", "--plane", Kind::Choices,
         Args{"A", "B"}},
        {"ROM OUT.png (--level N --plane A|B) | ROM DIR --all", "--level", Kind::Number, {}},
        {"DATA [--rom ROM] [--palette-at HEX] [--line N]", "--rom", Kind::Files, {}},
        {"DATA [--rom ROM] [--palette-at HEX] [--line N]", "--palette-at", Kind::Number, {}},
        // The placeholder ends at a bracket or parenthesis.
        {"ROM OUT.png (--title | --rle-sheet [--at OFFSET])", "--at", Kind::Number, {}},
        {"IN [--mode fast|small|best]", "--mode", Kind::Choices, {"fast", "small", "best"}},
        {"IN [--patch PATCH.ips]", "--patch", Kind::Files, {}},
        // An option that merely starts like another is not taken for it.
        {"IN [--atlas ATLAS.png] [--at OFFSET]", "--at", Kind::Number, {}},
        {"IN [--atlas ATLAS.png] [--at OFFSET]", "--atlas", Kind::Files, {}},
        // An option the usage does not show, or shows without a value: files.
        {"IN", "--out", Kind::Files, {}},
        {"IN --size", "--size", Kind::Files, {}},
        {"--line N", "--line", Kind::Number, {}}, // first in the usage
    };
    for (const Case& c : cases) {
        const cli::Command made{"made-up", c.usage, "", "", {{"IN"}, {c.option}, {}}, nullptr};
        const OptionValues values = cli::ValuesOf(made, c.option);
        EXPECT_EQ(values.kind, c.kind) << c.usage << " " << c.option;
        EXPECT_EQ(values.choices, c.choices) << c.usage << " " << c.option;
    }
}

// A script that can't be written whole fails its build step instead of being installed short;
// a build step without the file to write is a usage fault.
const char* const BASH_COMPLETION_LIBRARY = "/usr/share/bash-completion/bash_completion";

class CliCompletionScript : public ScratchTest {
protected:
    // What the built script offers for the words of a command line, the last one being written
    // (one offer a line, sorted), run by bash in the scratch folder; `library` first loads the
    // bash-completion library.
    std::string Complete(const std::vector<std::string>& words, bool library = false) const {
        std::string command = "cd '" + File("") + "' && bash --norc --noprofile -c '";
        if (library) command += std::string("source ") + BASH_COMPLETION_LIBRARY + "; ";
        command += "source " DROVAK_COMPLETION "; COMP_WORDS=(\"$@\"); "
                   "COMP_CWORD=$(($# - 1)); _drovak_cli; "
                   "printf \"%s\\n\" \"${COMPREPLY[@]}\" | sort' bash";
        for (const std::string& word : words) command += " '" + word + "'";
        const auto [status, output] = Output(command);
        EXPECT_EQ(status, 0) << command;
        return output;
    }
};

TEST_F(CliCompletionScript, OffersCommandsOptionsValuesAndFiles) {
    Write("tf3.bin", {1});
    Write("tiles.png", {2});
    std::filesystem::create_directory(File("pictures"));
    struct Case {
        std::vector<std::string> words;
        std::string offered;
    };
    const Case cases[] = {
        {{"drovak-cli", "lev"}, "level-png\n"},
        {{"drovak-cli", "--v"}, "--version\n"},
        {{"drovak-cli", "level-png", "--"}, "--all\n--help\n--level\n--plane\n--yes\n"},
        {{"drovak-cli", "level-png", "tf3.bin", "--plane", ""}, "A\nB\n"},
        {{"drovak-cli", "level-png", "tf3.bin", "--plane", "=", ""}, "A\nB\n"},
        {{"drovak-cli", "level-png", "tf3.bin", "--plane", "=", "b"}, "\n"},
        {{"drovak-cli", "render", "tf3.bin", "--table", ""}, "\n"}, // a number
        {{"drovak-cli", "tiles-to-png", "x", "y", "--rom", "t"}, "tf3.bin\ntiles.png\n"},
        {{"drovak-cli", "level-png", "tf3.bin", "p"}, "pictures\n"},
        // After "--" an option's name is a file name being written.
        {{"drovak-cli", "lzh-list", "--", "--t"}, "\n"},
        {{"drovak-cli", "no-such-command", ""}, "\n"},
    };
    for (const Case& c : cases) {
        std::string line;
        for (const std::string& word : c.words) line += word + " ";
        EXPECT_EQ(Complete(c.words), c.offered) << line;
    }
    // With the bash-completion library loaded, file names come from it.
    if (std::filesystem::exists(BASH_COMPLETION_LIBRARY)) {
        EXPECT_EQ(Complete({"drovak-cli", "undo", "tf"}, true), "tf3.bin\n");
        EXPECT_EQ(Complete({"drovak-cli", "level-png", "--l"}, true), "--level\n");
    }
}

TEST_F(CliCompletionScript, OffersEveryCommandAndEachOfItsOptions) {
    const std::string commands = Complete({"drovak-cli", ""});
    for (const cli::Command& command : cli::AllCommands()) {
        EXPECT_TRUE(Holds(commands, command.name + "\n")) << command.name;
        const std::string options = Complete({"drovak-cli", command.name, "-"});
        for (const auto* list : {&command.arguments.valueOptions, &command.arguments.flags})
            for (const std::string& option : *list)
                EXPECT_TRUE(Holds(options, option + "\n")) << command.name << " " << option;
    }
}

} // namespace
} // namespace drovak::test
