#include "compression/Errors.h"
#include "png/PngPicture.h"
#include "rom/RomFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace drovak {
namespace {

namespace fs = std::filesystem;

class PngSaveFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("drovak_png_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        ASSERT_TRUE(picture_.CreateBlank(6, 16, 4, 4));
    }
    void TearDown() override { fs::remove_all(folder_); }

    size_t FilesInFolder() const {
        return size_t(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
    TPngPicture picture_;
};

TEST_F(PngSaveFile, ReplacesAnOldFileWithTheStreamsBytes) {
    std::string path = (folder_ / "out.png").string();
    std::ofstream(path) << std::string(100000, 'x');
    picture_.SaveToFile(path);
    MemoryStream expected;
    picture_.SaveToStream(expected);
    EXPECT_EQ(ReadWholeFile(path), expected.Data());
    EXPECT_EQ(FilesInFolder(), 1u); // no temporary file left beside it
}

TEST_F(PngSaveFile, FailuresNameThePathAndLeaveEverythingAsItWas) {
    std::string missingFolder = (folder_ / "no such folder" / "out.png").string();
    try {
        picture_.SaveToFile(missingFolder);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find(missingFolder), std::string::npos);
    }

    fs::path blocking = folder_ / "taken.png"; // a folder in the way is not replaced
    fs::create_directories(blocking / "inside");
    EXPECT_THROW(picture_.SaveToFile(blocking.string()), FileError);
    EXPECT_TRUE(fs::is_directory(blocking / "inside"));

    std::string old = (folder_ / "old.png").string(); // nothing to save: the old file stays
    std::ofstream(old) << "old contents";
    TPngPicture empty;
    EXPECT_THROW(empty.SaveToFile(old), RefusedError);
    EXPECT_EQ(ReadWholeFile(old).size(), 12u);
    EXPECT_EQ(FilesInFolder(), 2u);
}

} // namespace
} // namespace drovak
