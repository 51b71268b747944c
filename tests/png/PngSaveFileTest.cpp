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
        picture_.SetPixel(1, 1, 0x00E020);
    }
    void TearDown() override { fs::remove_all(folder_); }

    size_t FilesInFolder() const {
        return size_t(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
    TPngPicture picture_;
};

TEST_F(PngSaveFile, WritesTheSameBytesAsTheStreamAndReplacesAnOldFile) {
    std::string path = (folder_ / "out.png").string();
    std::ofstream(path) << std::string(100000, 'x');
    picture_.SaveToFile(path);
    MemoryStream expected;
    picture_.SaveToStream(expected);
    EXPECT_EQ(ReadWholeFile(path), expected.Data());
    EXPECT_EQ(FilesInFolder(), 1u); // no temporary file left beside it
}

TEST_F(PngSaveFile, FailuresNameThePathAndLeaveNothingBehind) {
    std::string missingFolder = (folder_ / "no such folder" / "out.png").string();
    try {
        picture_.SaveToFile(missingFolder);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find(missingFolder), std::string::npos) << error.what();
    }

    // A folder in the way is not replaced.
    fs::path blocking = folder_ / "taken.png";
    fs::create_directory(blocking);
    fs::path inside = blocking / "keep.bin";
    std::ofstream(inside) << "keep";
    EXPECT_THROW(picture_.SaveToFile(blocking.string()), FileError);
    EXPECT_TRUE(fs::is_directory(blocking));
    EXPECT_TRUE(fs::exists(inside));
    EXPECT_EQ(FilesInFolder(), 1u);

    EXPECT_THROW(picture_.SaveToFile(""), FileError);
}

TEST_F(PngSaveFile, APictureWithoutAnImageLeavesTheOldFileAlone) {
    std::string path = (folder_ / "old.png").string();
    std::ofstream(path) << "old contents";
    TPngPicture empty;
    EXPECT_FALSE(empty.CreateBlank(4, 8, 1, 1));
    EXPECT_THROW(empty.SaveToFile(path), RefusedError);
    auto kept = ReadWholeFile(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "old contents");
    EXPECT_EQ(FilesInFolder(), 1u);
}

} // namespace
} // namespace drovak
