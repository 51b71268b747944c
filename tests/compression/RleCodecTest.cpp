#include "base/Crc32.h"
#include "compression/CodecProblem.h"
#include "compression/Rle.h"
#include "support/TestSupport.h"

#include <random>

namespace drovak {
namespace {

using namespace test;

Bytes PaddedToAWord(const Bytes& bytes) {
    return Cat(bytes, Bytes(-bytes.size() % 4, 0));
}

// Each input encodes to its block, and the block decodes to the input padded with zeros to a
// whole word, consuming the whole block. Blocks with a `consumed` count are only decoded.
TEST(CompressionRle, KnownBlocks) {
    const Bytes fives(32768, 0x55);
    const struct {
        const char* name;
        Bytes data;
        Bytes block;
        size_t consumed = 0;
        uint32_t unsupported = 0; // the run the encoder can't hold: nothing after it is written
    } cases[] = {
        {"one run of zeros", Hex("00 00 00 00"), Hex("00 00 00 04 07")},
        {"a run per nibble", Hex("12 34 56 78"), Hex("00 00 00 04 10 20 30 40 50 60 70 80")},
        {"one-byte count", Bytes(16, 0xFF), Hex("00 00 00 10 FD 1F")},
        {"two-byte count", Bytes(256, 0x11), Hex("00 00 01 00 1E 01 FF")},
        {"high two-byte count", Bytes(40000, 0), Hex("00 00 9C 40 0F 38 7F")},
        {"longest run", Bytes(65536, 0), Hex("00 01 00 00 0F FF FF")},
        {"runs across bytes", Hex("01 11 10 00"), Hex("00 00 00 04 00 13 02")},
        // The shortest item form that holds the run, at each form's limits.
        {"13 nibbles", Hex("55 55 55 55 55 55 5A AA"), Hex("00 00 00 08 5C A2")},
        {"14 nibbles", Hex("55 55 55 55 55 55 55 AA"), Hex("00 00 00 08 5D 0D A1")},
        {"256 nibbles", Cat(Bytes(128, 0x55), Hex("AA AA AA AA")), Hex("00 00 00 84 5D FF A7")},
        {"257 nibbles", Cat(Bytes(128, 0x55), Hex("5A AA AA AA")), Hex("00 00 00 84 5E 01 00 A6")},
        {"65536 nibbles", Cat(fives, Hex("AA AA AA AA")), Hex("00 00 80 04 5E FF FF A7")},
        {"65537 nibbles", Cat(fives, Hex("5A AA AA AA")), Hex("00 00 80 04 5F 00 00 A6")},
        {"131072 nibbles", Cat(fives, fives, Hex("AA AA AA AA")), Hex("00 01 00 04 5F FF FF A7")},
        // Inputs that are not whole words are padded with zero bytes.
        {"empty input gives the header alone", {}, Hex("00 00 00 00")},
        {"three bytes", Hex("12 34 56"), Hex("00 00 00 04 10 20 30 40 50 60 01")},
        {"five bytes", Hex("11 11 11 11 11"), Hex("00 00 00 08 19 05")},
        // The longest run an item holds, then the padding: the padding takes an item of its own.
        {"longest run, then padding", Cat(Hex("01"), Bytes(65536, 0)),
         Hex("00 01 00 04 00 10 0F FF FF 05")},
        // 65,537 zero bytes: a run of 131,074 nibbles as given (the padding not counted); the
        // runs before the long one are written, none after it.
        {"a run too long", Bytes(65537, 0), Hex("00 01 00 04"), 0, 131073},
        {"runs, one too long", Cat(Hex("11 11"), Bytes(65538, 0), Hex("22 22 22 22")),
         Hex("00 01 00 08 13"), 0, 131075},
        {"two runs too long: the first is named",
         Cat(Hex("11 11"), Bytes(65538, 0), Bytes(65540, 0x22)), Hex("00 02 00 08 13"), 0, 131075},
        // The last run is cut at the last word; nothing after its item is read.
        {"cut run", Hex("00 00 00 00"), Hex("00 00 00 04 0F 00 00 AA"), 7},
        {"straddles bytes and is cut", Hex("00 01 11 12"), Hex("00 00 00 04 02 13 22 AA"), 7},
        {"length not a multiple of 4", Hex("00 00 00 00"), Hex("00 00 00 06 07 AA"), 5},
        {"header below 4", {}, Hex("00 00 00 03 AA"), 4},
        {"header 0", {}, Hex("00 00 00 00 AA"), 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RleEncodeResult result = RleEncode(c.data);
        EXPECT_EQ(result.unsupportedRepeatCount.value_or(0), c.unsupported);
        if (!c.consumed) {
            EXPECT_EQ(result.bytes, c.block);
        }
        if (c.unsupported) continue;
        const RleDecodeResult decoded = RleDecode(c.block, 0);
        EXPECT_EQ(decoded.bytes, PaddedToAWord(c.data));
        EXPECT_EQ(decoded.consumed, c.consumed ? c.consumed : c.block.size());
    }
}

// Cut or oversized blocks and oversized sources are refused; the problems name the source and,
// for a block further on in it, where the block and the source end.
TEST(CompressionRle, ShortOrOversizedInputsAreRefused) {
    const auto problem = [](auto&& action) {
        try {
            action();
        } catch (const DrovakError& error) {
            if (const CodecProblem* problem = CodecProblemOf(error)) return *problem;
        }
        ADD_FAILURE() << "no codec problem";
        return CodecProblem{};
    };
    for (const char* cut : {"00 00 00", "00 00 00 08 07", "00 00 00 04 0E 00", "00 00 00 04 0D"}) {
        const CodecProblem whole = problem([&] { RleDecode(Hex(cut), 0); });
        EXPECT_EQ(std::tie(whole.source, whole.at, whole.end),
                  std::tuple("memory", 0u, Hex(cut).size()))
            << cut;
        const CodecProblem later =
            problem([&] { RleDecode(Cat(Hex("AA BB CC"), Hex(cut)), 3, "a.bin"); });
        EXPECT_EQ(std::tie(later.source, later.at, later.end),
                  std::tuple("a.bin", 3u, Hex(cut).size() + 3))
            << cut;
    }
    for (const std::string cut : {"", " 0D", " 0E", " 0E 00"}) // 4 of 8 bytes, then a count cut
        EXPECT_EQ(problem([&] { RleDecode(Hex("00 00 00 08 07" + cut), 0); }).done, 4u) << cut;
    EXPECT_THROW(RleDecode(Hex("01 00 00 01 07"), 0), RefusedError);
    EXPECT_THROW(RleDecode(Hex("00 00 00 04 07"), 5), FileError); // at the end: no header
    EXPECT_THROW(RleEncode(Bytes(RLE_MAX_DECODED_SIZE + 1)), RefusedError);
    EXPECT_NO_THROW(RleEncode(Bytes(RLE_MAX_DECODED_SIZE))); // the most
    EXPECT_EQ(RleEncode(Hex("01 00 00 01")).bytes, Hex("00 00 00 04 00 10 04 10"));
}

// Random nibble runs, from single nibbles up to the longest an item holds, of lengths that are
// whole words and not, decode back to themselves padded to a word.
TEST(CompressionRle, RandomRoundTrips) {
    std::mt19937 random(20240611);
    Bytes blocks;
    for (int round = 0; round < 300; ++round) {
        Bytes nibbles;
        size_t target = random() % 2 ? random() % 3000 : random() % 600000;
        for (uint8_t v = 0; nibbles.size() < target; v = uint8_t((v + 1 + random() % 15) % 16))
            nibbles.insert(nibbles.end(), random() % 4 ? 1 + random() % 20 : 1 + random() % 131072,
                           v);
        Bytes runs((target + 1) / 2, 0);
        for (size_t i = 0; i < target; ++i) runs[i / 2] |= uint8_t(nibbles[i] << (i % 2 ? 0 : 4));
        // Keep the zero padding from lengthening a final zero run past the limit.
        if (!runs.empty()) runs.back() |= 0x01;

        const RleEncodeResult encoded = RleEncode(runs);
        ASSERT_FALSE(encoded.unsupportedRepeatCount) << round;
        const Bytes& block = encoded.bytes;
        const RleDecodeResult decoded = RleDecode(block, 0);
        ASSERT_EQ(decoded.bytes, PaddedToAWord(runs)) << round;
        ASSERT_EQ(decoded.consumed, block.size()) << round;
        blocks.insert(blocks.end(), block.begin(), block.end());
    }
    EXPECT_EQ(CrcText(Crc32(blocks)), "B1411136"); // the items chosen, byte for byte
}

} // namespace
} // namespace drovak
