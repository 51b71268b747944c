// The command line as the commands read it: "--option value" and "--option=value" alike, what
// "--" ends, and each refusal worded whole.
#include "cli/Arguments.h"

#include <gtest/gtest.h>

namespace drovak::cli {
namespace {

// What a parse gave, in one line: the positional arguments, the table's value, the flag; or
// the refusal.
std::string Parsed(const std::vector<std::string>& arguments) {
    try {
        const ParsedArguments parsed = ParseArguments(arguments, {{"rom"}, {"--table"}, {"--fix"}});
        return parsed.Positional(0) + " table=" + parsed.Text("--table").value_or("(none)") +
               (parsed.Has("--fix") ? " fix" : "");
    } catch (const UsageError& error) {
        return std::string("refused: ") + error.what();
    }
}

TEST(CliArguments, BothFormsOfAValueAndEachRefusal) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"a.bin", "--table", "20000"}, "a.bin table=20000"},
        {{"--table=20000", "a.bin"}, "a.bin table=20000"},
        {{"a.bin", "--table=--fix"}, "a.bin table=--fix"},
        {{"a.bin", "--table="}, "a.bin table="},
        {{"--fix", "a-b.bin"}, "a-b.bin table=(none) fix"},
        {{"--", "-a.bin"}, "-a.bin table=(none)"},
        {{"-"}, "- table=(none)"},
        {{"a.bin", "--table"}, "refused: --table needs a value"},
        {{"a.bin", "--fix=yes"}, "refused: --fix takes no value"},
        {{"a.bin", "--table=1", "--table", "2"}, "refused: --table is given twice"},
        {{"a.bin", "--fix", "--fix"}, "refused: --fix is given twice"},
        {{"a.bin", "--size=1"}, "refused: unknown option --size"},
        {{}, "refused: expected 1 arguments (rom), got 0"},
        {{"a.bin", "--", "--fix"}, "refused: expected 1 arguments (rom), got 2"},
    };
    for (const auto& [arguments, parsed] : cases)
        EXPECT_EQ(Parsed(arguments), parsed) << testing::PrintToString(arguments);
}

} // namespace
} // namespace drovak::cli
