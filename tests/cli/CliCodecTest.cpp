// The codec commands on the byte examples of each format, both ways where there are two.
#include "CliRunner.h"

namespace drovak::testing {
namespace {

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct Example {
    Bytes plain;
    Bytes packed;
};

using CliCodec = CliTest;

TEST_F(CliCodec, LzhExamplesBothWays) {
    const Bytes abc = {0x61, 0x62, 0x63};
    const Example examples[] = {
        {abc, {0xF6, 0xFB, 0xBD, 0xE0}},
        {Bytes(10, 0x61), {0xF6, 0xC9, 0x00, 0x00}},
        {Join({abc, abc, abc, abc}), {0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}},
        {{}, {}},
    };
    for (const auto& example : examples) {
        CliResult encoded = Run({"lzh-encode", File("plain.bin", example.plain), Path("lzh.bin")});
        ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
        EXPECT_EQ(ReadBytes(Path("lzh.bin")), example.packed);

        // The stream behind other bytes, found with --at (hexadecimal).
        auto rom = File("rom.bin", Join({Bytes(0x1F, 0xEE), example.packed, {0xEE}}));
        std::string size = std::to_string(example.plain.size());
        CliResult decoded = Run({"lzh-decode", rom, Path("out.bin"), "--size", size, "--at", "1F"});
        ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
        EXPECT_EQ(ReadBytes(Path("out.bin")), example.plain);
    }
    // A match that crosses the size is copied whole: OUT gets all ten bytes.
    auto tenA = File("tenA.bin", {0xF6, 0xC9, 0x00, 0x00});
    ASSERT_EQ(Run({"lzh-decode", tenA, Path("out.bin"), "--size", "2"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(Path("out.bin")), Bytes(10, 0x61));
}

TEST_F(CliCodec, RleExamplesBothWays) {
    const Example examples[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 4, 0x07}},
        {{0x12, 0x34, 0x56, 0x78}, {0, 0, 0, 4, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80}},
        {Bytes(16, 0xFF), {0, 0, 0, 0x10, 0xFD, 0x1F}},
        {Bytes(256, 0x11), {0, 0, 1, 0, 0x1E, 0x01, 0xFF}},
        {Bytes(40000, 0), {0, 0, 0x9C, 0x40, 0x0F, 0x38, 0x7F}},
        {Bytes(65536, 0), {0, 1, 0, 0, 0x0F, 0xFF, 0xFF}},
        {{0x01, 0x11, 0x10, 0x00}, {0, 0, 0, 4, 0x00, 0x13, 0x02}},
    };
    for (const auto& example : examples) {
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

TEST_F(CliCodec, RleEncodeOfARunTooLongKeepsTheHeaderAndFails) {
    // 65,540 zero bytes: one run of 131,080 nibbles.
    CliResult result = Run({"rle-encode", File("zeros.bin", Bytes(65540, 0)), Path("rle.bin")});
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find("Unsupported repeat count: 131079"), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(ReadBytes(Path("rle.bin")), (Bytes{0x00, 0x01, 0x00, 0x04}));
}

TEST_F(CliCodec, MaskedTileExamples) {
    Bytes literals(32);
    for (size_t i = 0; i < 32; ++i) literals[i] = uint8_t(0xA0 + i);
    const Bytes literals27(literals.begin(), literals.begin() + 27);
    Bytes mixedTile = Join({Bytes(4, 0x01), literals27, {0x02}});
    const Bytes fullMask = {0x01, 0x05, 0xFF, 0xFF, 0xFF, 0xFF};

    const Example examples[] = {
        // stream, tiles
        {{0x80}, {}},
        {Join({{0x00}, literals, {0x80}}), literals},
        {Join({fullMask, {0x80}}), Bytes(32, 0x05)},
        {Join({fullMask, {0x00}, literals, {0x80}}), Join({Bytes(32, 0x05), literals})},
        {Join({{0x02, 0x01, 0xF0, 0, 0, 0, 0x02, 0, 0, 0, 0x01}, literals27, {0x80}}), mixedTile},
        {Join({fullMask, {0xC3, 0x01}}), Bytes(32, 0x05)}, // any count of 0x80 or more ends it
    };
    for (const auto& example : examples) {
        auto rom = File("rom.bin", Join({Bytes(5, 0x00), example.plain}));
        CliResult result = Run({"mask-decode", rom, Path("tiles.bin"), "--at", "$5"});
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(ReadBytes(Path("tiles.bin")), example.packed);
    }
}

} // namespace
} // namespace drovak::testing
