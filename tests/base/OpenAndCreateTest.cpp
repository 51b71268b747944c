// Opening and creating files: what a failed open says (reading or writing), and a temporary
// created only where nothing is.
#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/TemporaryFiles.h"
#include "support/TestSupport.h"
#include "support/WordsOf.h"

#include <gtest/gtest.h>

#include <fcntl.h>

namespace drovak {
namespace {

using namespace test;

class OpenAndCreate : public ScratchTest {};

TEST_F(OpenAndCreate, AFailedOpenSaysWhatItWasFor) {
    const std::string missing = File("missing.bin");
    const std::pair<int, std::string> cases[] = {
        {O_RDONLY, missing + ": cannot open for reading: No such file or directory"},
        {O_WRONLY, missing + ": cannot open for writing: No such file or directory"},
        {O_RDWR, missing + ": cannot open for writing: No such file or directory"},
    };
    for (const auto& [flags, words] : cases) {
        EXPECT_EQ(WordsOf<FileError>([&, flags = flags] { FileHandle::Open(missing, flags); }),
                  words);
    }
    EXPECT_EQ(WordsOf<FileError>([] { FileHandle::Open("", O_RDONLY); }), "No file name given");
}

// A file already at the name a temporary would take is left as it is; the next name is taken.

TEST_F(OpenAndCreate, AFileAtATemporarysNameIsLeftAlone) {
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
