#include "png/PngReader.h"
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "support/LibpngCodec.h"
#include "support/WordsOf.h"

#include <zlib.h>

namespace drovak {
namespace {

using namespace test;

Bytes Chunk(const std::string& name, const Bytes& data) {
    Bytes chunk = Cat(Bytes(4, 0), Text(name), data);
    Put32(chunk, 0, uint32_t(data.size()));
    Put32(chunk, chunk.size(), uint32_t(crc32(0, chunk.data() + 4, uInt(chunk.size() - 4))));
    return chunk;
}

// The signature, a header and an empty image; the CRCs right.
Bytes Headed(uint32_t width, uint32_t height, uint8_t depth, uint8_t type) {
    Bytes header(8, 0);
    Put32(header, 0, width);
    Put32(header, 4, height);
    return Cat(Hex("89 50 4E 47 0D 0A 1A 0A"),
               Chunk("IHDR", Cat(header, Bytes{depth, type, 0, 0, 0})),
               Chunk("IDAT", Hex("78 9C 03 00")), Chunk("IEND", {}));
}

// Rewrites the CRC of every chunk, so that damage reaches past the CRC checks.
void FixCrcs(Bytes& file) {
    for (size_t at = 8, length; at + 12 <= file.size(); at += 12 + length) {
        length = LoadBigEndian32(&file[at]);
        if (length > file.size() - at - 12) return;
        Put32(file, at + 8 + length, uint32_t(crc32(0, &file[at + 4], uInt(4 + length))));
    }
}

TEST(PngReader, RefusesWhatItCannotReadAndSurvivesAnyDamage) {
    const Bytes good = EncodeWithLibpng({8, 8, 2, 8, 0, std::vector<uint16_t>(192, 7), {}, {}});
    Bytes badCrc = Headed(8, 8, 8, 2);
    badCrc[29] ^= 1;
    const std::tuple<Bytes, bool, std::string> cases[] = {
        // file, FileError (else RefusedError), message
        {{}, false, "not a PNG file (it is empty)"},
        {Hex("FF D8 FF E0 00 10 4A 46 49 46 00"), false, "not a PNG file"},
        {Slice(good, 0, 8), true, "too short"},
        {Slice(good, 0, good.size() - 20), true, "too short"},
        {badCrc, false, "not a PNG picture this program can read"},
        {Headed(100000, 100000, 8, 6), false, "a picture of 100000 x 100000 pixels is larger"},
        {Headed(16384, 2049, 8, 6), false, "a picture of 16384 x 2049 pixels is larger"},
        {Headed(4096, 8192, 16, 6), true, "too short: 61 bytes can't hold the image data"},
        {Cat(Headed(5236, 13, 8, 0), Bytes{0}), true, // a byte a pixel: 68081, 62's most + 1
         "too short: 62 bytes can't hold the image data of a picture of 5236 x 13 pixels"},
        {Headed(8380, 8, 8, 0), false, // 67048 bytes, exactly 61's most: read, its rows missing
         "not a PNG picture this program can read"},
        {Headed(16384, 2048, 8, 6), true, // the largest picture read
         "too short: 61 bytes can't hold the image data of a picture of 16384 x 2048 pixels"},
        {Slice(Headed(8, 8, 8, 2), 0, 48), true, // the IDAT chunk's CRC without its last byte
         "too short: a chunk of 4 bytes at byte 33 runs past the end of the data at byte 48"},
        {Slice(Headed(8, 8, 8, 2), 0, 41), true, // the IDAT chunk's length and type alone
         "too short: a chunk of 4 bytes at byte 33 runs past the end of the data at byte 41"},
        {Slice(Headed(8, 8, 8, 2), 0, 40), true, // the IDAT chunk's length and type less a byte
         "too short: the PNG data ends at byte 40 before the picture does"},
        // Found by fuzzing: a chunk that claims 1.9 GB made libpng set aside (and clear) that
        // much memory for a file of 61 bytes.
        {Cat(Slice(Headed(8, 8, 8, 2), 0, 49), Hex("76 00 00 22 74 45 58 74 44 72 6F 76")), true,
         "too short: a chunk of 1979711522 bytes at byte 49 runs past the end"},
    };
    for (const auto& [file, fileError, message] : cases) {
        try {
            ReadPng(file, "bad.png");
            ADD_FAILURE() << message;
        } catch (const DrovakError& error) {
            EXPECT_EQ(dynamic_cast<const FileError*>(&error) != nullptr, fileError) << message;
            EXPECT_TRUE(Holds(ErrorText(error), "bad.png: " + message)) << ErrorText(error);
        }
    }
    // A row of fewer than 8 bits still takes a byte: a 1-bit picture of one pixel is read.
    EXPECT_EQ(ReadPng(EncodeWithLibpng({1, 1, 0, 1, 0, {1}, {}, {}}), "dot.png").width, 1u);
    // What follows IEND is not the picture's, even a chunk that claims more than there is.
    EXPECT_EQ(ReadPng(Cat(good, Hex("FF FF FF FF 41 42 43 44")), "tail.png").data,
              ReadPng(good, "good.png").data);
    // 64 tEXt chunks are read at most: not the 70th.
    Bytes texts;
    for (int k = 0; k < 70; ++k) {
        const std::string text = "k" + std::to_string(k) + '\0' + std::to_string(k);
        texts = Cat(texts, Chunk("tEXt", Text(text)));
    }
    const DecodedPng read =
        ReadPng(Cat(Slice(good, 0, 33), texts, Slice(good, 33, good.size() - 33)), "t.png");
    EXPECT_EQ(std::tuple(read.Text("k0"), read.texts.size(), read.Text("k69")),
              std::tuple("0", size_t(62), std::nullopt));
    // Every cut, and every flipped bit with the CRCs made right, of a good file: read or
    // refused, never worse (the sanitizers watch).
    for (size_t size = 0; size < good.size(); ++size)
        EXPECT_THROW(ReadPng(Slice(good, 0, size), "cut"), DrovakError);
    for (size_t bit = 64; bit < 8 * good.size(); ++bit) {
        Bytes damaged = good;
        damaged[bit / 8] ^= uint8_t(1 << bit % 8);
        FixCrcs(damaged);
        WordsOf<DrovakError>([&] { ReadPng(damaged, "damaged"); });
    }
}

} // namespace
} // namespace drovak
