// The codec commands: one byte example of each format both ways, to show the wiring (the codecs'
// own tests hold every vector), and what the commands add around the codecs.
#include "CliRunner.h"

namespace drovak::test {
namespace {

using CliCodec = CliTest;

TEST_F(CliCodec, ExamplesOfEachFormat) {
    struct Example {
        std::string format, at; // the stream is found with --at in each hexadecimal spelling
        Bytes plain, packed;
    };
    const Example examples[] = {
        {"lzh", "1F", Hex("61 62 63"), Hex("F6 FB BD E0")},
        {"lzh", "1F", {}, {}}, // an empty IN, and --size 0: empty files
        {"rle", "0x1F", Hex("01 11 10 00"), Hex("00 00 00 04 00 13 02")},
        {"mask", "$1F", Bytes(32, 0x05), Hex("01 05 FF FF FF FF 80")},
    };
    for (const auto& e : examples) {
        const std::string packedSize = std::to_string(e.packed.size()) + "\n";
        if (e.format != "mask") {
            CliResult encoded =
                Run({e.format + "-encode", Write("in.bin", e.plain), File("enc.bin")});
            ASSERT_EQ(encoded.exitCode, 0) << encoded.err;
            EXPECT_EQ(ReadBytes(File("enc.bin")), e.packed) << e.format << " " << e.plain.size();
            EXPECT_EQ(encoded.out, e.format == "rle" ? packedSize : "");
        }
        auto rom = Write("rom.bin", Cat(Bytes(0x1F, 0xEE), e.packed, Hex("EE")));
        Args decode = {e.format + "-decode", rom, File("dec.bin"), "--at", e.at};
        if (e.format == "lzh")
            decode.insert(decode.end(), {"--size", std::to_string(e.plain.size())});
        CliResult decoded = Run(decode);
        ASSERT_EQ(decoded.exitCode, 0) << decoded.err;
        EXPECT_EQ(ReadBytes(File("dec.bin")), e.plain) << e.format << " " << e.plain.size();
        EXPECT_EQ(decoded.out, e.format == "rle" ? packedSize : "");
    }
    // A stream that ends with its file (past the end the decoder reads zero bits), and a match
    // that crosses --size is copied whole: all ten bytes.
    auto tenA = Write("tenA.bin", Hex("F6 C9 00 00"));
    ASSERT_TRUE(Ok(Run({"lzh-decode", tenA, File("dec.bin"), "--size", "2"})));
    EXPECT_EQ(ReadBytes(File("dec.bin")), Bytes(10, 0x61));
    // 65,537 zero bytes are one run of 131,074 nibbles (the padding to a word not counted): too
    // long, refused, the old OUT kept.
    EXPECT_TRUE(Fails(Run({"rle-encode", Write("zeros.bin", Bytes(65537, 0)), File("enc.bin")}), 3,
                      "Unsupported repeat count: 131073"));
    EXPECT_EQ(ReadBytes(File("enc.bin")), Hex("00 00 00 04 00 13 02"));
}

} // namespace
} // namespace drovak::test
