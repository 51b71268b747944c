#include "png/PngPicture.h"
#include "compression/Errors.h"
#include "png/PngReading.h"

#include <gtest/gtest.h>

#include <tuple>

namespace drovak {
namespace {

using testing::Inflate;
using testing::JoinedImageData;
using testing::ReadChunks;

std::vector<uint8_t> Save(TPngPicture& picture) {
    MemoryStream stream;
    picture.SaveToStream(stream);
    return stream.Take();
}

// The raw rows (filter byte + pixels) of a saved picture.
std::vector<uint8_t> RawRows(TPngPicture& picture, size_t pixelSize) {
    auto chunks = ReadChunks(Save(picture));
    size_t size = picture.Height() * (1 + picture.Width() * pixelSize);
    return Inflate(JoinedImageData(chunks), size);
}

TEST(PngPicture, ExportFormatFileLayout) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 16, 16384, 512));
    picture.SetCompressionLevel(9);
    picture.SetFilters(0);
    auto file = Save(picture);

    const uint8_t head[] = {0x89, 'P',  'N',  'G', 0x0D, 0x0A, 0x1A, 0x0A, 0,    0,
                            0,    0x0D, 'I',  'H', 'D',  'R',  0,    0,    0x40, 0x00,
                            0,    0,    0x02, 0,   16,   6,    0,    0,    0};
    ASSERT_GE(file.size(), sizeof head + 4 + 12);
    EXPECT_TRUE(std::equal(std::begin(head), std::end(head), file.begin()));
    uint32_t ihdrCrc = uint32_t(crc32(0, file.data() + 12, 17));
    EXPECT_EQ(LoadBigEndian32(file.data() + 29), ihdrCrc);

    const uint8_t tail[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    EXPECT_TRUE(std::equal(std::begin(tail), std::end(tail), file.end() - 12));

    // IHDR, the image data, IEND and nothing else; every CRC right.
    auto chunks = ReadChunks(file);
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks.front().name, "IHDR");
    EXPECT_EQ(chunks.back().name, "IEND");
    for (size_t i = 1; i + 1 < chunks.size(); ++i) EXPECT_EQ(chunks[i].name, "IDAT");
    for (const auto& chunk : chunks) EXPECT_EQ(chunk.storedCrc, chunk.computedCrc) << chunk.name;
}

TEST(PngPicture, SixteenBitRgbaSamplesAndUnfilteredRows) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 16, 3, 4));
    picture.SetCompressionLevel(9);
    picture.SetFilters(0);
    picture.SetPixel(1, 2, 32 + 0 * 256 + 224 * 65536);
    picture.AlphaRow(2)[1] = 255;

    auto raw = RawRows(picture, 8);
    ASSERT_EQ(raw.size(), 4u * 25);
    for (size_t y = 0; y < 4; ++y) EXPECT_EQ(raw[y * 25], 0) << "filter byte of row " << y;
    const uint8_t set[] = {0x20, 0x00, 0x00, 0x00, 0xE0, 0x00, 0xFF, 0x00};
    EXPECT_TRUE(std::equal(std::begin(set), std::end(set), raw.begin() + 2 * 25 + 1 + 8));
    // Every other pixel was never set: colour 0, alpha 0.
    for (size_t i = 0; i < raw.size(); ++i) {
        bool inSetPixel = i >= 2 * 25 + 9 && i < 2 * 25 + 17;
        if (!inSetPixel && i % 25 != 0) {
            EXPECT_EQ(raw[i], 0) << "byte " << i;
        }
    }
}

TEST(PngPicture, EightBitFormats) {
    struct Case {
        uint8_t colourType;
        size_t pixelSize;
        std::vector<uint8_t> pixel; // the bytes of pixel (1, 0)
    };
    const Case cases[] = {
        {2, 3, {0x11, 0x22, 0x33}},
        {6, 4, {0x11, 0x22, 0x33, 0x80}},
    };
    for (const auto& c : cases) {
        TPngPicture picture;
        ASSERT_TRUE(picture.CreateBlank(c.colourType, 8, 2, 1));
        picture.SetFilters(pfNone);
        picture.SetPixel(1, 0, 0x11 + 0x22 * 256 + 0x33 * 65536);
        if (uint8_t* alpha = picture.AlphaRow(0)) alpha[1] = 0x80;
        EXPECT_EQ(picture.AlphaRow(0) != nullptr, c.colourType == 6);

        auto raw = RawRows(picture, c.pixelSize);
        ASSERT_EQ(raw.size(), 1 + 2 * c.pixelSize) << int(c.colourType);
        std::vector<uint8_t> expected(1 + c.pixelSize, 0);
        expected.insert(expected.end(), c.pixel.begin(), c.pixel.end());
        EXPECT_EQ(raw, expected) << "colour type " << int(c.colourType);
    }
}

TEST(PngPicture, PixelsOutsideTheImageAreIgnored) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(2, 8, 4, 3));
    for (auto [x, y] : {std::pair<int64_t, int64_t>{-1, 0}, {0, -1}, {4, 0}, {0, 3}, {1 << 20, 1}})
        picture.SetPixel(x, y, 0xFFFFFF);
    for (int64_t y = 0; y < 3; ++y)
        for (int64_t x = 0; x < 4; ++x) EXPECT_EQ(picture.Pixel(x, y), 0u);
    picture.SetPixel(3, 2, 0x123456);
    EXPECT_EQ(picture.Pixel(3, 2), 0x123456u);
    EXPECT_EQ(picture.AlphaRow(0), nullptr); // no alpha in colour type 2
}

TEST(PngPicture, CreateBlankAcceptsOnlyWhatItCanWrite) {
    using Combination = std::tuple<int, int, uint32_t, uint32_t, bool>;
    const Combination cases[] = {
        {6, 16, 1, 1, true},  {6, 8, 5, 2, true},
        {2, 8, 5, 2, true},   {2, 16, 5, 2, true},
        {2, 4, 5, 2, false},  {6, 1, 5, 2, false},
        {3, 8, 5, 2, false},  {0, 8, 5, 2, false},
        {4, 8, 5, 2, false},  {5, 8, 5, 2, false},
        {6, 12, 5, 2, false}, {6, 16, 0, 2, false},
        {6, 16, 2, 0, false}, {6, 16, 0x80000000u, 1, false},
    };
    for (auto [type, depth, width, height, accepted] : cases) {
        TPngPicture picture;
        EXPECT_EQ(picture.CreateBlank(uint8_t(type), uint8_t(depth), width, height), accepted)
            << type << "/" << depth << " " << width << "x" << height;
        EXPECT_EQ(picture.Chunks().Count(), accepted ? 3u : 0u);
        if (!accepted) {
            MemoryStream out;
            EXPECT_THROW(picture.SaveToStream(out), RefusedError);
            EXPECT_EQ(out.Size(), 0u);
        }
    }
}

TEST(PngPicture, CreateBlankAgainStartsAFreshImage) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 8, 2, 2));
    picture.SetPixel(0, 0, 0xABCDEF);
    ASSERT_TRUE(picture.CreateBlank(6, 8, 3, 3));
    EXPECT_EQ(picture.Chunks().Count(), 3u);
    EXPECT_EQ(picture.Pixel(0, 0), 0u);
    EXPECT_FALSE(picture.CreateBlank(3, 8, 3, 3));
    EXPECT_EQ(picture.Header(), nullptr);
    picture.SetPixel(0, 0, 1); // no image: ignored, no crash
    EXPECT_EQ(picture.AlphaRow(0), nullptr);
}

TEST(PngChunkList, OrderRuleWhateverTheOrderOfAdding) {
    TPngChunkList list;
    list.Add(std::make_unique<TPngChunk>("tEXt"));
    list.Add(std::make_unique<TIendChunk>());
    list.Add(std::make_unique<TPngChunk>("IDAT"));
    list.Add(std::make_unique<TIhdrChunk>());
    list.Add(std::make_unique<TPngChunk>("gAMA"));
    std::vector<std::string> names;
    for (size_t i = 0; i < list.Count(); ++i) names.push_back(list.Item(i).Name());
    EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "tEXt", "IDAT", "gAMA", "IEND"}));
    EXPECT_EQ(list.Find("IDAT"), &list.Item(2));
    EXPECT_EQ(list.Find("PLTE"), nullptr);
}

TEST(PngChunk, FramingOfAPlainChunk) {
    TPngChunk chunk("tEXt");
    chunk.Data() = {'a', 0, 'b'};
    MemoryStream out;
    chunk.SaveToStream(out);
    const auto& bytes = out.Data();
    ASSERT_EQ(bytes.size(), 15u);
    EXPECT_EQ(LoadBigEndian32(bytes.data()), 3u);
    EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 11), std::string("tEXta\0b", 7));
    EXPECT_EQ(LoadBigEndian32(bytes.data() + 11), uint32_t(crc32(0, bytes.data() + 4, 7)));
    EXPECT_THROW(TPngChunk("IDA"), RefusedError);
}

} // namespace
} // namespace drovak
