#include "compression/Stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace drovak {
namespace {

class StreamFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "drovak-stream-XXXXXX");
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        path = (dir / "image.bin").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void Write(const std::vector<uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    std::vector<uint8_t> Read() {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path dir;
    std::string path;
};

TEST_F(StreamFile, PatchReadsWhatItWrote) {
    std::vector<uint8_t> bytes(200000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 13);
    Write(bytes);
    {
        FileStream file(path, FileMode::Patch);
        uint8_t first[4];
        file.ReadExact(first, 4); // fills the read buffer
        file.Seek(2, SeekOrigin::Begin);
        file.WriteBigEndian32(0xA1B2C3D4);
        file.Seek(0, SeekOrigin::Begin);
        EXPECT_EQ(file.ReadByte(), bytes[0]);
        EXPECT_EQ(file.ReadByte(), bytes[1]);
        EXPECT_EQ(file.ReadBigEndian32(), 0xA1B2C3D4u);
        // A write past the end extends the file.
        file.Seek(int64_t(bytes.size()) + 2, SeekOrigin::Begin);
        file.WriteByte(0x77);
        EXPECT_EQ(file.Size(), bytes.size() + 3);
    }
    std::vector<uint8_t> after = Read();
    ASSERT_EQ(after.size(), bytes.size() + 3);
    EXPECT_EQ(after[2], 0xA1);
    EXPECT_EQ(after[5], 0xD4);
    EXPECT_EQ(after[6], bytes[6]);
    EXPECT_EQ(after[bytes.size()], 0);
    EXPECT_EQ(after.back(), 0x77);
}

} // namespace
} // namespace drovak
