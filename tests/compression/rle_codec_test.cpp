#include "compression/Lzh.h"
#include "compression/Rle.h"
#include "compression/rle_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace drovak {
namespace {

using test::Concat;
using test::Hex;
using test::PackNibbles;
using test::Repeat;

struct DecodedBlock {
    std::vector<uint8_t> data;
    int32_t consumed;
    uint64_t sourcePosition;
};

DecodedBlock Decode(const std::vector<uint8_t>& block) {
    MemoryStream source(block);
    MemoryStream destination;
    int32_t consumed = RleDecode(source, destination);
    return {destination.Data(), consumed, source.Position()};
}

struct EncodedBlock {
    std::vector<uint8_t> block;
    RleEncodeResult result;
};

EncodedBlock Encode(const std::vector<uint8_t>& input) {
    MemoryStream source(input);
    MemoryStream destination;
    RleEncodeResult result = RleEncode(source, destination, uint32_t(input.size()));
    return {destination.Data(), result};
}

// Blocks and the data they stand for; each pair holds in both directions.
struct CodecCase {
    const char* name;
    std::vector<uint8_t> data;
    std::vector<uint8_t> block;
};

std::vector<CodecCase> CodecCases() {
    return {
        {"one run of zeros", Hex("00 00 00 00"), Hex("00 00 00 04 07")},
        {"a run per nibble", Hex("12 34 56 78"), Hex("00 00 00 04 10 20 30 40 50 60 70 80")},
        {"one-byte count", Repeat(0xFF, 16), Hex("00 00 00 10 FD 1F")},
        {"two-byte count", Repeat(0x11, 256), Hex("00 00 01 00 1E 01 FF")},
        {"high two-byte count", Repeat(0x00, 40000), Hex("00 00 9C 40 0F 38 7F")},
        {"longest run", Repeat(0x00, 65536), Hex("00 01 00 00 0F FF FF")},
        {"runs across bytes", Hex("01 11 10 00"), Hex("00 00 00 04 00 13 02")},
    };
}

TEST(RleCodec, KnownBlocksDecodeAndEncode) {
    for (const CodecCase& c : CodecCases()) {
        SCOPED_TRACE(c.name);
        DecodedBlock decoded = Decode(c.block);
        EXPECT_EQ(decoded.data, c.data);
        EXPECT_EQ(decoded.consumed, int32_t(c.block.size()));

        EncodedBlock encoded = Encode(c.data);
        EXPECT_EQ(encoded.block, c.block);
        EXPECT_EQ(encoded.result.size, int32_t(c.block.size()));
        EXPECT_FALSE(encoded.result.unsupportedRepeatCount);
    }
}

// Each run takes the shortest item form that holds its count (length - 1); the boundaries of
// the four forms, as a run of 5s followed by As up to a whole word.
TEST(RleCodec, ItemFormBoundaries) {
    struct FormCase {
        uint32_t runLength;
        std::vector<uint8_t> item;
    };
    const FormCase cases[] = {
        {1, Hex("50")},           {13, Hex("5C")},           {14, Hex("5D 0D")},
        {256, Hex("5D FF")},      {257, Hex("5E 01 00")},    {65536, Hex("5E FF FF")},
        {65537, Hex("5F 00 00")}, {131072, Hex("5F FF FF")},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(c.runLength);
        std::vector<uint8_t> nibbles(c.runLength, 5);
        nibbles.push_back(0xA);
        while (nibbles.size() % 8 != 0) nibbles.push_back(0xA);
        uint32_t tail = uint32_t(nibbles.size() - c.runLength);
        std::vector<uint8_t> data = PackNibbles(nibbles);

        EncodedBlock encoded = Encode(data);
        ASSERT_GE(encoded.block.size(), 4 + c.item.size());
        std::vector<uint8_t> firstItem(encoded.block.begin() + 4,
                                       encoded.block.begin() + 4 + long(c.item.size()));
        EXPECT_EQ(firstItem, c.item);
        // The tail run of As (1 to 8 nibbles) follows directly and ends the block.
        std::vector<uint8_t> rest(encoded.block.begin() + 4 + long(c.item.size()),
                                  encoded.block.end());
        EXPECT_EQ(rest, std::vector<uint8_t>{uint8_t(0xA0 + tail - 1)});
        EXPECT_EQ(Decode(encoded.block).data, data);
    }
}

TEST(RleDecode, RunsAreCountedInNibbles) {
    struct Case {
        const char* name;
        std::vector<uint8_t> block;
        std::vector<uint8_t> data;
        int32_t consumed;
    };
    const Case cases[] = {
        // The last run is cut at the last word; nothing after its item is read.
        {"cut run", Hex("00 00 00 04 0F 00 00 AA"), Hex("00 00 00 00"), 7},
        {"straddles bytes and is cut", Hex("00 00 00 04 02 13 22 AA"), Hex("00 01 11 12"), 7},
        {"length not a multiple of 4", Hex("00 00 00 06 07 AA"), Hex("00 00 00 00"), 5},
        {"header below 4", Hex("00 00 00 03 AA"), {}, 4},
        {"header 0", Hex("00 00 00 00 AA"), {}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedBlock decoded = Decode(c.block);
        EXPECT_EQ(decoded.data, c.data);
        EXPECT_EQ(decoded.consumed, c.consumed);
        EXPECT_EQ(decoded.sourcePosition, uint64_t(c.consumed));
    }
}

TEST(RleDecode, SourceEndingEarlyIsAFileErrorAndWritesNothing) {
    const std::vector<uint8_t> blocks[] = {
        Hex("00 00"),             // header cut
        Hex("00 00 00 08 07"),    // one word of two
        Hex("00 00 00 04 0E 00"), // two-byte count cut
        Hex("00 00 00 04 0D"),    // one-byte count missing
    };
    for (const auto& block : blocks) {
        MemoryStream source(block);
        MemoryStream destination;
        try {
            RleDecode(source, destination);
            ADD_FAILURE() << "no error for a block of " << block.size() << " bytes";
        } catch (const FileError& e) {
            EXPECT_NE(std::string(e.what()).find("memory"), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(HexText(block.size())), std::string::npos)
                << e.what();
        }
        EXPECT_EQ(destination.Size(), 0u);
    }
}

TEST(RleDecode, HeaderOverTheLimitIsRefused) {
    MemoryStream over(Hex("01 00 00 01 07"));
    MemoryStream destination;
    EXPECT_THROW(RleDecode(over, destination), RefusedError);
    EXPECT_EQ(destination.Size(), 0u);
}

TEST(RleEncode, EdgeInputs) {
    struct Case {
        const char* name;
        std::vector<uint8_t> input;
        std::vector<uint8_t> block;
    };
    const Case cases[] = {
        {"empty input gives the header alone", {}, Hex("00 00 00 00")},
        // Padded with a zero byte: the runs cover the whole announced length.
        {"three bytes", Hex("12 34 56"), Hex("00 00 00 04 10 20 30 40 50 60 01")},
        {"five bytes", Hex("11 11 11 11 11"), Hex("00 00 00 08 19 05")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EncodedBlock encoded = Encode(c.input);
        EXPECT_EQ(encoded.block, c.block);
        EXPECT_EQ(encoded.result.size, int32_t(c.block.size()));
    }
}

TEST(RleEncode, UnsupportedRunStopsTheItemsAndKeepsTheHeader) {
    // 65,537 zero bytes are padded to 65,540: one run of 131,080 nibbles.
    EncodedBlock zeros = Encode(Repeat(0x00, 65537));
    EXPECT_EQ(zeros.block, Hex("00 01 00 04"));
    EXPECT_EQ(zeros.result.size, 4);
    ASSERT_TRUE(zeros.result.unsupportedRepeatCount);
    EXPECT_EQ(*zeros.result.unsupportedRepeatCount, 131079u);
    EXPECT_EQ(UnsupportedRepeatMessage(131079), "Unsupported repeat count: 131079");

    // The runs before the long one are written, none after it.
    std::vector<uint8_t> input =
        Concat(Concat(Hex("11 11"), Repeat(0x00, 65538)), Hex("22 22 22 22"));
    EncodedBlock mixed = Encode(input);
    EXPECT_EQ(mixed.block, Hex("00 01 00 08 13"));
    ASSERT_TRUE(mixed.result.unsupportedRepeatCount);
    EXPECT_EQ(*mixed.result.unsupportedRepeatCount, 131075u);
}

TEST(RleEncode, RewindsTheSourceAndRefusesWhatItCannotRead) {
    MemoryStream source(Hex("12 34 56 78"));
    source.Seek(0, SeekOrigin::End);
    MemoryStream destination;
    EXPECT_EQ(RleEncode(source, destination, 4).size, 12);

    MemoryStream shortSource(Hex("12 34"));
    MemoryStream untouched;
    EXPECT_THROW(RleEncode(shortSource, untouched, 4), FileError);
    EXPECT_EQ(untouched.Size(), 0u);

    EXPECT_THROW(RleEncode(shortSource, untouched, MAX_DECODED_SIZE + 1), RefusedError);
    EXPECT_EQ(untouched.Size(), 0u);
}

// Random data of every kind round-trips: the block decodes to the input padded with zeros to
// a whole word, and the decoder consumes exactly the encoder's result.
TEST(RleCodec, RandomRoundTrips) {
    std::mt19937 random(20240611);
    auto check = [](const std::vector<uint8_t>& input) {
        EncodedBlock encoded = Encode(input);
        ASSERT_FALSE(encoded.result.unsupportedRepeatCount);
        DecodedBlock decoded = Decode(encoded.block);
        std::vector<uint8_t> padded = input;
        padded.resize((input.size() + 3) / 4 * 4, 0);
        ASSERT_EQ(decoded.data, padded);
        ASSERT_EQ(decoded.consumed, encoded.result.size);
    };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        size_t length = random() % 600;
        std::vector<uint8_t> bytes(length);
        for (auto& b : bytes) b = uint8_t(random());
        check(bytes);

        // Nibble runs of every size up to the longest an item holds.
        std::vector<uint8_t> nibbles;
        uint8_t previous = 0x10;
        size_t target = random() % 2 ? random() % 3000 : random() % 600000;
        while (nibbles.size() < target) {
            uint8_t v = uint8_t(random() % 16);
            if (v == previous) continue;
            size_t run = random() % 4 ? 1 + random() % 20 : 1 + random() % 131072;
            nibbles.insert(nibbles.end(), run, v);
            previous = v;
        }
        nibbles.resize(target);
        std::vector<uint8_t> packed = PackNibbles(nibbles);
        // Keep the zero padding from lengthening a final zero run past the limit.
        if (!packed.empty()) packed.back() |= 0x01;
        check(packed);
    }
}

} // namespace
} // namespace drovak
