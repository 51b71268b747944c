// The codec commands on the byte examples of each format, both ways where there are two.
#include "CliRunner.h"

#include <numeric>

namespace drovak::test {
namespace {

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

using CliCodec = CliTest;

TEST_F(CliCodec, ExamplesOfEachFormat) {
    const Bytes abc = {0x61, 0x62, 0x63};
    Bytes literals(32);
    std::iota(literals.begin(), literals.end(), uint8_t(0xA0));
    const Bytes literals27(literals.begin(), literals.begin() + 27);
    const Bytes fullMask = {0x01, 0x05, 0xFF, 0xFF, 0xFF, 0xFF};
    struct Example {
        std::string format;
        Bytes plain, packed;
    };
    const Example examples[] = {
        {"lzh", abc, {0xF6, 0xFB, 0xBD, 0xE0}},
        {"lzh", Bytes(10, 0x61), {0xF6, 0xC9, 0x00, 0x00}},
        {"lzh", Join({abc, abc, abc, abc}), {0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20}},
        {"lzh", {}, {}},
        {"rle", {0, 0, 0, 0}, {0, 0, 0, 4, 0x07}},
        {"rle",
         {0x12, 0x34, 0x56, 0x78},
         {0, 0, 0, 4, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80}},
        {"rle", Bytes(16, 0xFF), {0, 0, 0, 0x10, 0xFD, 0x1F}},
        {"rle", Bytes(256, 0x11), {0, 0, 1, 0, 0x1E, 0x01, 0xFF}},
        {"rle", Bytes(40000, 0), {0, 0, 0x9C, 0x40, 0x0F, 0x38, 0x7F}},
        {"rle", Bytes(65536, 0), {0, 1, 0, 0, 0x0F, 0xFF, 0xFF}},
        {"rle", {0x01, 0x11, 0x10, 0x00}, {0, 0, 0, 4, 0x00, 0x13, 0x02}},
        {"mask", {}, {0x80}},
        {"mask", literals, Join({{0x00}, literals, {0x80}})},
        {"mask", Bytes(32, 0x05), Join({fullMask, {0x80}})},
        {"mask", Join({Bytes(32, 0x05), literals}), Join({fullMask, {0x00}, literals, {0x80}})},
        {"mask", Join({Bytes(4, 0x01), literals27, {0x02}}),
         Join({{0x02, 0x01, 0xF0, 0, 0, 0, 0x02, 0, 0, 0, 0x01}, literals27, {0x80}})},
        {"mask", Bytes(32, 0x05), Join({fullMask, {0xC3, 0x01}})}, // any count >= 0x80 ends it
    };
    for (const auto& e : examples) {
        const std::string packedSize = std::to_string(e.packed.size()) + "\n";
        if (e.format != "mask") {
            CliResult encoded =
                Run({e.format + "-encode", Write("in.bin", e.plain), File("enc.bin")});
            ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
            EXPECT_EQ(ReadBytes(File("enc.bin")), e.packed) << e.format << " " << e.plain.size();
            EXPECT_EQ(encoded.out, e.format == "rle" ? packedSize : encoded.out);
        }
        // The stream behind other bytes, found with --at in each hexadecimal spelling.
        const char* at = e.format == "lzh" ? "1F" : e.format == "rle" ? "0x1F" : "$1F";
        auto rom = Write("rom.bin", Join({Bytes(0x1F, 0xEE), e.packed, {0xEE}}));
        std::vector<std::string> decode = {e.format + "-decode", rom, File("dec.bin"), "--at", at};
        if (e.format == "lzh")
            decode.insert(decode.end(), {"--size", std::to_string(e.plain.size())});
        CliResult decoded = Run(decode);
        ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
        EXPECT_EQ(ReadBytes(File("dec.bin")), e.plain) << e.format << " " << e.plain.size();
        EXPECT_EQ(decoded.out, e.format == "rle" ? packedSize : decoded.out);
    }
    // A match that crosses the size is copied whole: all ten bytes.
    auto tenA = Write("tenA.bin", {0xF6, 0xC9, 0x00, 0x00});
    ASSERT_EQ(Run({"lzh-decode", tenA, File("dec.bin"), "--size", "2"}).exitCode, 0);
    EXPECT_EQ(ReadBytes(File("dec.bin")), Bytes(10, 0x61));
    // 65,540 zero bytes are one run of 131,080 nibbles: too long, refused, the old OUT kept.
    CliResult tooLong = Run({"rle-encode", Write("zeros.bin", Bytes(65540, 0)), File("enc.bin")});
    EXPECT_EQ(tooLong.exitCode, 3);
    EXPECT_NE(tooLong.err.find("Unsupported repeat count: 131079"), std::string::npos);
    EXPECT_EQ(ReadBytes(File("enc.bin")), (Bytes{0, 0, 0, 4, 0x00, 0x13, 0x02}));
}

} // namespace
} // namespace drovak::test
