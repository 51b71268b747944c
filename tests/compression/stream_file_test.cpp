#include "compression/Stream.h"
#include "compression/test_support.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

// Writes through a file opened for patching land in its read buffer and past its end.
TEST(StreamFile, PatchReadsWhatItWrote) {
    test::TempDir dir;
    const std::string path = dir.File("image.bin");
    const test::Bytes bytes = test::Pattern(200000);
    test::WriteBytes(path, bytes);
    {
        FileStream file(path, FileMode::Patch);
        uint8_t first[4];
        file.ReadExact(first, 4); // fills the read buffer
        file.Seek(2, SeekOrigin::Begin);
        file.WriteBigEndian32(0xA1B2C3D4);
        file.Seek(1, SeekOrigin::Begin);
        EXPECT_EQ(file.ReadByte(), bytes[1]);
        EXPECT_EQ(file.ReadBigEndian32(), 0xA1B2C3D4u);
        file.Seek(int64_t(bytes.size()) + 2, SeekOrigin::Begin);
        file.WriteByte(0x77);
        EXPECT_EQ(file.Size(), bytes.size() + 3);
    }
    test::Bytes expected = bytes;
    test::Put32(expected, 2, 0xA1B2C3D4);
    test::Put(expected, bytes.size(), {0, 0, 0x77});
    EXPECT_EQ(test::ReadBytes(path), expected);
}

} // namespace
} // namespace drovak
