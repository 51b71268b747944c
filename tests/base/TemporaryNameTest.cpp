// A temporary file is created only where nothing is: a file already at the name it would take is
// left as it is, and the next name is taken.
#include "base/TemporaryFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using namespace test;

class TemporaryNames : public ScratchTest {};

TEST_F(TemporaryNames, AFileAtTheNextNameIsLeftAlone) {
    const std::string rom = Write("tf3.bin", Pattern(16));
    const std::string seen = TemporaryNameBeside(rom);
    const size_t dash = seen.rfind('-'), dot = seen.rfind('.');
    const auto named = [&](int step) {
        return seen.substr(0, dash + 1) +
               std::to_string(std::stoi(seen.substr(dash + 1, dot - dash - 1)) + step) +
               seen.substr(dot);
    };
    const std::string theirs = named(1);
    WriteBytes(theirs, Pattern(8, 5));
    const TemporaryFile ours = CreateTemporaryBeside(rom);
    EXPECT_EQ(ours.path, named(2));
    EXPECT_EQ(ReadBytes(theirs), Pattern(8, 5));
}

} // namespace
} // namespace drovak
