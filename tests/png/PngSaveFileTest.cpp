#include "compression/Errors.h"
#include "png/PngPicture.h"
#include "rom/RomFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace drovak {
namespace {

namespace fs = std::filesystem;

TEST(PngSaveFile, ReplacesAnOldFileOrFailsLeavingEverythingAsItWas) {
    const fs::path folder =
        fs::temp_directory_path() / ("drovak_png_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "taken.png" / "inside"); // a folder in the way
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 16, 4, 4));

    const std::string path = (folder / "out.png").string();
    std::ofstream(path) << std::string(100000, 'x');
    picture.SaveToFile(path);
    MemoryStream expected;
    picture.SaveToStream(expected);
    EXPECT_EQ(ReadWholeFile(path), expected.Data());

    const std::string missingFolder = (folder / "no such folder" / "out.png").string();
    try {
        picture.SaveToFile(missingFolder);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find(missingFolder), std::string::npos);
    }
    EXPECT_THROW(picture.SaveToFile((folder / "taken.png").string()), FileError);
    EXPECT_TRUE(fs::is_directory(folder / "taken.png" / "inside"));
    TPngPicture empty; // nothing to save: the old file stays
    EXPECT_THROW(empty.SaveToFile(path), RefusedError);
    EXPECT_EQ(ReadWholeFile(path), expected.Data());
    // No temporary file is left beside them.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    fs::remove_all(folder);
}

} // namespace
} // namespace drovak
