#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using namespace test;

TEST(BaseFiles, PatchingAndSaving) {
    TempDir dir;
    const std::string path = dir.File("tf3.bin");

    // Writes through a patched file land in its read buffer and past its end.
    const Bytes bytes = Pattern(200000);
    WriteBytes(path, bytes);
    {
        FileStream file(path, FileMode::Patch);
        EXPECT_EQ(file.ReadByte(), bytes[0]); // fills the read buffer
        file.Seek(2, SeekOrigin::Begin);
        file.WriteBigEndian32(0xA1B2C3D4);
        file.Seek(1, SeekOrigin::Begin);
        EXPECT_EQ(file.ReadByte(), bytes[1]);
        EXPECT_EQ(file.ReadBigEndian32(), 0xA1B2C3D4u);
        file.Seek(int64_t(bytes.size()) + 2, SeekOrigin::Begin);
        file.WriteByte(0x77);
    }
    Bytes expected = bytes;
    Put32(expected, 2, 0xA1B2C3D4);
    EXPECT_EQ(ReadBytes(path), Put(expected, bytes.size(), {0, 0, 0x77}));

    // Saving over a longer file leaves exactly the stream, and the stream's position alone.
    MemoryStream data(Bytes{1, 2, 3});
    data.Seek(2, SeekOrigin::Begin);
    SaveStreamToFile(data, path);
    EXPECT_EQ(ReadBytes(path), (Bytes{1, 2, 3}));
    EXPECT_EQ(data.Position(), 2u);
}

} // namespace
} // namespace drovak
