// The ROM commands on the demo ROM: extract, insert with and without --yes, and what an insert
// leaves behind.
#include "CliRunner.h"

#include <random>

namespace drovak::testing {
namespace {

uint32_t BigEndian32(const Bytes& bytes, size_t at) {
    return uint32_t(bytes.at(at)) << 24 | uint32_t(bytes.at(at + 1)) << 16 |
           uint32_t(bytes.at(at + 2)) << 8 | bytes.at(at + 3);
}

Bytes Noise(size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (auto& byte : bytes) byte = uint8_t(random());
    return bytes;
}

class CliRom : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        rom_ = Path("demo.bin");
        CliResult made = Run({"make-demo-rom", rom_});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        ASSERT_GT(ReadBytes(rom_).size(), 0x6DDB4u);
    }

    std::string rom_;
};

TEST_F(CliRom, LzhInsertThenExtractGivesTheFileBack) {
    const Bytes original = ReadBytes(rom_);
    const uint32_t decodedSize = BigEndian32(original, 0x20006);
    const uint32_t packedSize = BigEndian32(original, 0x2000A);

    CliResult extracted = Run({"lzh-extract", rom_, Path("entry0.bin")});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    EXPECT_EQ(extracted.out, std::to_string(packedSize) + "\n");
    Bytes entry0 = ReadBytes(Path("entry0.bin"));
    ASSERT_GE(entry0.size(), decodedSize);
    entry0.resize(decodedSize);
    ASSERT_EQ(Run({"lzh-extract", rom_, Path("entry1.bin"), "--index", "1"}).exitCode, 0);

    // Noise packs larger than the entry's data: refused without --yes, the ROM untouched.
    auto larger = File("larger.bin", Noise(decodedSize, 7));
    CliResult refused = Run({"lzh-insert", rom_, larger});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadBytes(rom_), original);

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

    // Back to the original data: smaller, so no --yes is needed.
    CliResult restored = Run({"lzh-insert", rom_, File("entry0.bin", entry0)});
    ASSERT_EQ(restored.exitCode, 0) << restored.err;
    ASSERT_EQ(Run({"lzh-extract", rom_, Path("again.bin")}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Path("again.bin")), entry0);
}

// A table of one entry at 0: the stream of "abc" behind it.
const Bytes ONE_ENTRY_ROM = {0x00, 0x00, 0x00, 0x00, 0x00, 0x0E, 0x00, 0x00, 0x00, 0x03,
                             0x00, 0x00, 0x00, 0x04, 0xF6, 0xFB, 0xBD, 0xE0, 0x55, 0x55};

TEST_F(CliRom, LzhCommandsOnAHandMadeTable) {
    auto rom = File("small.bin", ONE_ENTRY_ROM);
    CliResult extracted = Run({"lzh-extract", rom, Path("abc.bin"), "--table", "0"});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    EXPECT_EQ(extracted.out, "4\n");
    EXPECT_EQ(ReadBytes(Path("abc.bin")), (Bytes{0x61, 0x62, 0x63}));

    // An index beyond the table's one entry writes nothing, even with --yes.
    auto data = File("data.bin", Bytes(64, 0x42));
    CliResult beyond = Run({"lzh-insert", rom, data, "--table", "0", "--index", "1", "--yes"});
    EXPECT_EQ(beyond.exitCode, 3) << beyond.err;
    EXPECT_EQ(ReadBytes(rom), ONE_ENTRY_ROM);

    // Growth without --yes: refused, the ROM identical.
    auto larger = File("larger.bin", Noise(40, 1));
    CliResult refused = Run({"lzh-insert", rom, larger, "--table", "0"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_EQ(ReadBytes(rom), ONE_ENTRY_ROM);

    // The same size: written without a question, the table keeps its numbers.
    CliResult same = Run({"lzh-insert", rom, File("same.bin", {0x61, 0x62, 0x63}), "--table", "0"});
    ASSERT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(same.out, "4 4\n");
    EXPECT_EQ(ReadBytes(rom), ONE_ENTRY_ROM);
}

TEST_F(CliRom, RleExtractAndInsert) {
    const Bytes original = ReadBytes(rom_);
    CliResult extracted = Run({"rle-extract", rom_, Path("block.bin")});
    ASSERT_EQ(extracted.exitCode, 0) << extracted.err;
    size_t blockSize = std::stoul(extracted.out);
    EXPECT_GT(blockSize, 4u);
    EXPECT_EQ(BigEndian32(original, 0x48120) / 4 * 4, ReadBytes(Path("block.bin")).size());

    // Noise takes about two bytes per byte: longer than the block there.
    auto noise = File("noise.bin", Noise(blockSize / 4 * 4, 3));
    CliResult refused = Run({"rle-insert", rom_, noise, "--at", "48120"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos) << refused.err;
    EXPECT_EQ(ReadBytes(rom_), original);

    CliResult inserted = Run({"rle-insert", rom_, noise, "--yes"});
    ASSERT_EQ(inserted.exitCode, 0) << inserted.err;
    CliResult back = Run({"rle-extract", rom_, Path("back.bin")});
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.out, inserted.out);
    EXPECT_EQ(ReadBytes(Path("back.bin")), ReadBytes(noise));
    // Only the block's bytes changed.
    Bytes now = ReadBytes(rom_);
    size_t blockEnd = 0x48120 + std::stoul(inserted.out);
    EXPECT_TRUE(std::equal(original.begin(), original.begin() + 0x48120, now.begin()));
    EXPECT_TRUE(std::equal(original.begin() + long(blockEnd), original.end(),
                           now.begin() + long(blockEnd)));

    // A shorter block needs no --yes.
    CliResult shorter = Run({"rle-insert", rom_, File("small.bin", {0x01, 0x11, 0x10, 0x00})});
    ASSERT_EQ(shorter.exitCode, 0) << shorter.err;
    EXPECT_EQ(shorter.out, "7\n");
}

TEST_F(CliRom, RleInsertOfARunTooLongWritesNothing) {
    const Bytes original = ReadBytes(rom_);
    CliResult result = Run({"rle-insert", rom_, File("zeros.bin", Bytes(65540, 0)), "--yes"});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Unsupported repeat count: 131079"), std::string::npos) << result.err;
    EXPECT_EQ(ReadBytes(rom_), original);
}

} // namespace
} // namespace drovak::testing
