// The codec commands on the byte examples of each format, both ways where there are two.
#include "CliRunner.h"

namespace drovak::testing {
namespace {

Bytes Repeat(const Bytes& part, size_t times) {
    Bytes all;
    for (size_t i = 0; i < times; ++i) all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const Bytes ABC = {0x61, 0x62, 0x63};

struct LzhExample {
    Bytes plain;
    Bytes packed;
};
const LzhExample LZH_EXAMPLES[] = {
    {ABC, {0xF6, 0xFB, 0xBD, 0xE0}},
    {Bytes(10, 0x61), {0xF6, 0xC9, 0x00, 0x00}},
    {Repeat(ABC, 4), {0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}},
};

using CliCodec = CliTest;

TEST_F(CliCodec, LzhExamplesBothWays) {
    for (const auto& example : LZH_EXAMPLES) {
        auto plain = File("plain.bin", example.plain);
        auto packed = Path("packed.bin");
        CliResult encoded = Run({"lzh-encode", plain, packed});
        ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
        EXPECT_EQ(ReadBytes(packed), example.packed);

        // The stream behind other bytes, found with --at (hexadecimal).
        auto rom = File("rom.bin", Join({Bytes(0x1F, 0xEE), example.packed, Bytes(4, 0xEE)}));
        auto decoded = Path("decoded.bin");
        CliResult result = Run({"lzh-decode", rom, decoded, "--size",
                                std::to_string(example.plain.size()), "--at", "1F"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ReadBytes(decoded), example.plain);
    }
}

TEST_F(CliCodec, LzhEdges) {
    // Nothing in, nothing out.
    auto empty = File("empty.bin", {});
    ASSERT_EQ(Run({"lzh-encode", empty, Path("packed.bin")}).exitCode, 0);
    EXPECT_TRUE(ReadBytes(Path("packed.bin")).empty());
    ASSERT_EQ(Run({"lzh-decode", empty, Path("out.bin"), "--size", "0"}).exitCode, 0);
    EXPECT_TRUE(ReadBytes(Path("out.bin")).empty());

    // A match that crosses the size is copied whole: OUT gets all ten bytes.
    auto tenA = File("tenA.bin", {0xF6, 0xC9, 0x00, 0x00});
    ASSERT_EQ(Run({"lzh-decode", tenA, Path("out.bin"), "--size", "2"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Path("out.bin")), Bytes(10, 0x61));

    // A larger file of every kind of byte goes through and back.
    Bytes mixed;
    for (size_t i = 0; i < 20000; ++i) mixed.push_back(uint8_t(i % 7 == 0 ? i * 31 : i / 50));
    auto source = File("mixed.bin", mixed);
    ASSERT_EQ(Run({"lzh-encode", source, Path("mixed.lzh")}).exitCode, 0);
    ASSERT_EQ(Run({"lzh-decode", Path("mixed.lzh"), Path("back.bin"), "--size", "20000"}).exitCode,
              0);
    EXPECT_EQ(ReadBytes(Path("back.bin")), mixed);
}

struct RleExample {
    Bytes plain;
    Bytes packed;
};
const RleExample RLE_EXAMPLES[] = {
    {{0, 0, 0, 0}, {0, 0, 0, 4, 0x07}},
    {{0x12, 0x34, 0x56, 0x78}, {0, 0, 0, 4, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80}},
    {Bytes(16, 0xFF), {0, 0, 0, 0x10, 0xFD, 0x1F}},
    {Bytes(256, 0x11), {0, 0, 1, 0, 0x1E, 0x01, 0xFF}},
    {Bytes(40000, 0), {0, 0, 0x9C, 0x40, 0x0F, 0x38, 0x7F}},
    {Bytes(65536, 0), {0, 1, 0, 0, 0x0F, 0xFF, 0xFF}},
    {{0x01, 0x11, 0x10, 0x00}, {0, 0, 0, 4, 0x00, 0x13, 0x02}},
};

TEST_F(CliCodec, RleExamplesBothWays) {
    for (const auto& example : RLE_EXAMPLES) {
        std::string size = std::to_string(example.packed.size()) + "\n";
        CliResult encoded = Run({"rle-encode", File("plain.bin", example.plain), Path("rle.bin")});
        ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
        EXPECT_EQ(encoded.out, size);
        EXPECT_EQ(ReadBytes(Path("rle.bin")), example.packed);

        auto rom = File("rom.bin", Join({Bytes(0x10, 0xAA), example.packed, Bytes(3, 0xAA)}));
        CliResult decoded = Run({"rle-decode", rom, Path("out.bin"), "--at", "0x10"});
        ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
        EXPECT_EQ(decoded.out, size);
        EXPECT_EQ(ReadBytes(Path("out.bin")), example.plain);
    }
}

TEST_F(CliCodec, RleDecodeCutsTheLastRun) {
    // A run longer than what is missing: four zero bytes, 7 bytes used.
    auto block = File("block.bin", {0, 0, 0, 4, 0x0F, 0, 0, 0x55});
    CliResult result = Run({"rle-decode", block, Path("out.bin")});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "7\n");
    EXPECT_EQ(ReadBytes(Path("out.bin")), Bytes(4, 0));
}

TEST_F(CliCodec, RleEncodeOfARunTooLongKeepsTheHeaderAndFails) {
    // 65,540 zero bytes: one run of 131,080 nibbles.
    CliResult result = Run({"rle-encode", File("zeros.bin", Bytes(65540, 0)), Path("rle.bin")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Unsupported repeat count: 131079"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadBytes(Path("rle.bin")), (Bytes{0x00, 0x01, 0x00, 0x04}));
}

TEST_F(CliCodec, MaskedTileExamples) {
    Bytes literals32(32);
    for (size_t i = 0; i < 32; ++i) literals32[i] = uint8_t(0xA0 + i);
    Bytes literals27(literals32.begin(), literals32.begin() + 27);
    Bytes mixedTile(32, 0);
    for (int i = 0; i < 4; ++i) mixedTile[i] = 0x01;
    std::copy(literals27.begin(), literals27.end(), mixedTile.begin() + 4);
    mixedTile[31] = 0x02;

    struct Case {
        Bytes stream;
        Bytes tiles;
    };
    const Case cases[] = {
        {{0x80}, {}},
        {Join({{0x00}, literals32, {0x80}}), literals32},
        {{0x01, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0x80}, Bytes(32, 0x05)},
        {Join({{0x01, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0x00}, literals32, {0x80}}),
         Join({Bytes(32, 0x05), literals32})},
        {Join({{0x02, 0x01, 0xF0, 0, 0, 0, 0x02, 0, 0, 0, 0x01}, literals27, {0x80}}), mixedTile},
        {{0x01, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0xC3, 0x01}, Bytes(32, 0x05)}, // any count >= 0x80
    };
    for (const auto& c : cases) {
        auto rom = File("rom.bin", Join({Bytes(5, 0x00), c.stream}));
        CliResult result = Run({"mask-decode", rom, Path("tiles.bin"), "--at", "$5"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ReadBytes(Path("tiles.bin")), c.tiles);
    }
}

} // namespace
} // namespace drovak::testing
