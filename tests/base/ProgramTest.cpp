// A user's command line split into words as a shell splits it, without a shell's expansions,
// and a file's path put in as one word.
#include "base/Program.h"
#include "base/Errors.h"

#include <gtest/gtest.h>

namespace drovak::test {
namespace {

using Words = std::vector<std::string>;

TEST(Program, CommandLinesSplitAsAShellSplitsThemAndTheFileIsOneWord) {
    const struct {
        const char* line;
        Words words; // with the file "my rom;$(x).bin"
    } cases[] = {
        {"blastem %f", {"blastem", "my rom;$(x).bin"}},
        {"  mednafen\t-force_module md  ", {"mednafen", "-force_module", "md", "my rom;$(x).bin"}},
        {"'/opt/my emu/run' --rom=%f -v", {"/opt/my emu/run", "--rom=my rom;$(x).bin", "-v"}},
        {R"(emu "a \"b\" c" a\ b 'it''s' %f)",
         {"emu", R"(a "b" c)", "a b", "its", "my rom;$(x).bin"}},
        {R"(emu '$HOME \n' "")", {"emu", R"($HOME \n)", "", "my rom;$(x).bin"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(WithFile(SplitCommandLine(c.line), "my rom;$(x).bin"), c.words);
    }
    for (const char* wrong : {"", "   ", "emu 'open", "emu \"open"})
        EXPECT_THROW(SplitCommandLine(wrong), RefusedError) << wrong;
}

} // namespace
} // namespace drovak::test
