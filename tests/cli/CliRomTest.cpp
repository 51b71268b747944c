// The ROM commands: extract, insert with and without --yes, and what an insert leaves behind.
#include "CliRunner.h"

#include <random>

namespace drovak::testing {
namespace {

uint32_t BigEndian32(const Bytes& bytes, size_t at) {
    return uint32_t(bytes.at(at)) << 24 | uint32_t(bytes.at(at + 1)) << 16 |
           uint32_t(bytes.at(at + 2)) << 8 | bytes.at(at + 3);
}

Bytes Noise(size_t size) {
    std::mt19937 random(7);
    Bytes bytes(size);
    for (auto& byte : bytes) byte = uint8_t(random());
    return bytes;
}

class CliRom : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        rom_ = Path("demo.bin");
        ASSERT_EQ(Run({"make-demo-rom", rom_}).exitCode, 0);
        original_ = ReadBytes(rom_);
    }
    std::string rom_;
    Bytes original_;
};

TEST_F(CliRom, LzhInsertThenExtractGivesTheFileBack) {
    const uint32_t decodedSize = BigEndian32(original_, 0x20006);
    const uint32_t packedSize = BigEndian32(original_, 0x2000A);
    CliResult extracted = Run({"lzh-extract", rom_, Path("entry0.bin")});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    EXPECT_EQ(extracted.out, std::to_string(packedSize) + "\n");
    ASSERT_EQ(Run({"lzh-extract", rom_, Path("entry1.bin"), "--index", "1"}).exitCode, 0);

    // Noise packs larger than the entry's data: refused without --yes, the ROM untouched.
    auto larger = File("larger.bin", Noise(decodedSize));
    CliResult refused = Run({"lzh-insert", rom_, larger});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadBytes(rom_), original_);

    CliResult inserted = Run({"lzh-insert", rom_, larger, "--yes"});
    ASSERT_EQ(inserted.exitCode, 0) << inserted.err;
    unsigned newSize = 0, oldSize = 0;
    ASSERT_EQ(std::sscanf(inserted.out.c_str(), "%u %u", &newSize, &oldSize), 2) << inserted.out;
    EXPECT_EQ(oldSize, packedSize);
    EXPECT_GT(newSize, oldSize);

    CliResult back = Run({"lzh-extract", rom_, Path("back.bin"), "--table", "20000"});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.out, std::to_string(newSize) + "\n");
    EXPECT_EQ(ReadBytes(Path("back.bin")), ReadBytes(larger));
    // The following entry moved with its data intact.
    ASSERT_EQ(Run({"lzh-extract", rom_, Path("moved.bin"), "--index", "1"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Path("moved.bin")), ReadBytes(Path("entry1.bin")));
}

TEST_F(CliRom, LzhInsertOnAHandMadeTable) {
    // A table of one entry at 0 with the stream of "abc" behind it.
    const Bytes small = {0, 0, 0, 0, 0, 0x0E, 0, 0, 0, 3, 0, 0, 0, 4, 0xF6, 0xFB, 0xBD, 0xE0};
    auto rom = File("small.bin", small);
    // An index beyond the table's one entry writes nothing, even with --yes.
    CliResult beyond = Run({"lzh-insert", rom, File("data.bin", Bytes(64, 0x42)), "--table", "0",
                            "--index", "1", "--yes"});
    EXPECT_EQ(beyond.exitCode, 3) << beyond.err;
    EXPECT_EQ(ReadBytes(rom), small);
    // The same size: written without a question; the ROM keeps its bytes.
    CliResult same = Run({"lzh-insert", rom, File("abc.bin", {0x61, 0x62, 0x63}), "--table", "0"});
    EXPECT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "4 4\n");
    EXPECT_EQ(ReadBytes(rom), small);
}

TEST_F(CliRom, RleExtractAndInsert) {
    CliResult extracted = Run({"rle-extract", rom_, Path("block.bin")});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    const size_t blockSize = std::stoul(extracted.out);
    EXPECT_EQ(BigEndian32(original_, 0x48120) / 4 * 4, ReadBytes(Path("block.bin")).size());

    // A run the encoder can't write: refused even with --yes.
    CliResult tooLong = Run({"rle-insert", rom_, File("zeros.bin", Bytes(65540, 0)), "--yes"});
    EXPECT_EQ(tooLong.exitCode, 3);
    EXPECT_NE(tooLong.err.find("Unsupported repeat count: 131079"), std::string::npos);
    EXPECT_EQ(ReadBytes(rom_), original_);

    // Noise takes about two bytes per byte: longer than the block there.
    auto noise = File("noise.bin", Noise(blockSize / 4 * 4));
    CliResult refused = Run({"rle-insert", rom_, noise, "--at", "48120"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadBytes(rom_), original_);

    CliResult inserted = Run({"rle-insert", rom_, noise, "--yes"});
    ASSERT_EQ(inserted.exitCode, 0) << inserted.err;
    CliResult back = Run({"rle-extract", rom_, Path("back.bin")});
    EXPECT_EQ(back.out, inserted.out);
    EXPECT_EQ(ReadBytes(Path("back.bin")), ReadBytes(noise));
}

} // namespace
} // namespace drovak::testing
