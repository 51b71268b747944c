// drovak-cli's manual page and bash completion script, written at build time from the help's
// own texts and command tables.
#include "CliRunner.h"
#include "cli/Command.h"
#include "cli/Help.h"

#include <regex>
#include <sstream>
#include <tuple>

namespace drovak::test {
namespace {

// The words of a text with every run of white space made one space.
std::string Flat(const std::string& text) {
    std::istringstream words(text);
    std::string flat, word;
    while (words >> word) flat += (flat.empty() ? "" : " ") + word;
    return flat;
}

// groff reads the page without a warning and shows the help's texts word for word: each
// command's summary, usage and description, the environment and every exit code.
TEST(CliManPage, ShowsTheHelpWordForWord) {
    const auto [status, shown] =
        Output("groff -man -Tascii -rLL=300n -rHY=0 -ww " DROVAK_MAN_PAGE " 2>&1 | col -b");
    ASSERT_EQ(status, 0);
    const std::string flat = Flat(shown);
    std::vector<std::string> expected = {"Drovak " DROVAK_VERSION, cli::TOOL_DESCRIPTION,
                                         cli::NUMBERS_TEXT, cli::ENVIRONMENT_TEXT};
    for (const cli::Command& command : cli::AllCommands()) {
        expected.push_back(command.name + "\n" + command.summary + ".");
        expected.push_back("drovak-cli " + command.name + " " + command.usage);
        expected.push_back(command.description);
    }
    for (const cli::ExitCodeMeaning& exit : cli::ExitCodeMeanings())
        expected.push_back(std::to_string(exit.code) + " " + exit.meaning);
    for (const std::string& text : expected)
        EXPECT_NE(flat.find(Flat(text)), std::string::npos) << text;
    EXPECT_FALSE(Holds(shown, "warning")) << shown;
    // No line of text starts with a control character; "\&" guards only such a start.
    std::istringstream page(ReadText(DROVAK_MAN_PAGE));
    const std::regex request(R"(\.(TH|SH|B|I|br|PP|TP|RS|RE|nf|fi)( .*)?|\\&[.'].*|[^.'].*|)");
    for (std::string line; std::getline(page, line);) {
        EXPECT_TRUE(std::regex_match(line, request)) << line;
        EXPECT_EQ(line.find("\\&", 1), std::string::npos) << line;
    }
}

// A page or script that cannot be written fails its build step.
TEST(CliManPage, APageOrScriptThatCannotBeWrittenFailsItsBuildStep) {
    const std::tuple<std::string, int, std::string> cases[] = {
        {DROVAK_MAN_PAGE_TOOL " /dev/full", 2, "drovak-man-page: cannot write /dev/full\n"},
        {DROVAK_MAN_PAGE_TOOL, 1, "usage: drovak-man-page OUT\n"},
        {DROVAK_COMPLETION_TOOL " /dev/full", 2, "drovak-completion: cannot write /dev/full\n"},
        {DROVAK_COMPLETION_TOOL, 1, "usage: drovak-completion OUT\n"},
    };
    for (const auto& [command, code, words] : cases)
        EXPECT_EQ(Output(command + " 2>&1"), std::pair(code, words));
}

} // namespace
} // namespace drovak::test
