#include "png/PngPicture.h"
#include "compression/Errors.h"
#include "png/PngReading.h"

#include <gtest/gtest.h>

namespace drovak {
namespace {

using namespace testing;

std::vector<uint8_t> Save(TPngPicture& picture) {
    MemoryStream stream;
    picture.SaveToStream(stream);
    return stream.Take();
}

// The inflated rows (filter byte + pixels) of a saved picture.
std::vector<uint8_t> RawRows(TPngPicture& picture, size_t pixelSize) {
    size_t size = picture.Height() * (1 + picture.Width() * pixelSize);
    return Inflate(JoinedImageData(ReadChunks(Save(picture))), size);
}

TEST(PngPicture, ExportFormatFileLayout) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 16, 16384, 512));
    picture.SetCompressionLevel(9);
    picture.SetFilters(0);
    auto file = Save(picture);

    const uint8_t head[] = {
        0x89, 'P', 'N',  'G', 0x0D, 0x0A, 0x1A, 0x0A, // signature
        0,    0,   0,    13,  'I',  'H',  'D',  'R',  // IHDR, 13 bytes
        0,    0,   0x40, 0,   0,    0,    0x02, 0,    16, 6, 0, 0, 0,
    };
    ASSERT_GT(file.size(), sizeof head + 16);
    EXPECT_TRUE(std::equal(std::begin(head), std::end(head), file.begin()));
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

TEST(PngPicture, SixteenBitSamplesUnsetPixelsAndFilterBytes) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 16, 3, 4));
    picture.SetFilters(0);
    picture.SetPixel(1, 2, 32 + 0 * 256 + 224 * 65536);
    picture.AlphaRow(2)[1] = 255;
    for (auto [x, y] : {std::pair<int64_t, int64_t>{-1, 0}, {0, -1}, {3, 0}, {0, 4}}) {
        picture.SetPixel(x, y, 0xFFFFFF); // outside: ignored
    }

    std::vector<uint8_t> expected(4 * 25, 0); // filter byte 0 and zeros everywhere else
    const uint8_t set[] = {0x20, 0x00, 0x00, 0x00, 0xE0, 0x00, 0xFF, 0x00};
    std::copy(std::begin(set), std::end(set), expected.begin() + 2 * 25 + 1 + 8);
    EXPECT_EQ(RawRows(picture, 8), expected);
}

TEST(PngPicture, EightBitFormats) {
    for (uint8_t colourType : {uint8_t(2), uint8_t(6)}) {
        TPngPicture picture;
        ASSERT_TRUE(picture.CreateBlank(colourType, 8, 2, 1));
        picture.SetFilters(pfNone);
        picture.SetPixel(1, 0, 0x11 + 0x22 * 256 + 0x33 * 65536);
        EXPECT_EQ(picture.AlphaRow(0) != nullptr, colourType == 6);
        std::vector<uint8_t> expected = {0, 0, 0, 0, 0x11, 0x22, 0x33};
        if (colourType == 6) {
            picture.AlphaRow(0)[1] = 0x80;
            expected = {0, 0, 0, 0, 0, 0x11, 0x22, 0x33, 0x80};
        }
        EXPECT_EQ(RawRows(picture, colourType == 6 ? 4 : 3), expected) << int(colourType);
    }
}

TEST(PngPicture, CreateBlankAcceptsOnlyWhatItCanWrite) {
    struct Case {
        int type, depth;
        uint32_t width, height;
        bool accepted;
    };
    const Case cases[] = {
        {6, 16, 1, 1, true},
        {2, 8, 5, 2, true},
        {2, 4, 5, 2, false},
        {3, 8, 5, 2, false},
        {4, 8, 5, 2, false},
        {6, 16, 0, 2, false},
        {6, 16, 0x80000000u, 1, false},
    };
    TPngPicture picture;
    for (const auto& c : cases) {
        picture.SetPixel(0, 0, 0x123456); // into the image of the case before, if any
        EXPECT_EQ(picture.CreateBlank(uint8_t(c.type), uint8_t(c.depth), c.width, c.height),
                  c.accepted)
            << c.type << "/" << c.depth << " " << c.width << "x" << c.height;
        EXPECT_EQ(picture.Chunks().Count(), c.accepted ? 3u : 0u);
        EXPECT_EQ(picture.Pixel(0, 0), 0u); // a fresh image, or none
        if (!c.accepted) {
            MemoryStream out;
            EXPECT_THROW(picture.SaveToStream(out), RefusedError);
            EXPECT_EQ(out.Size(), 0u);
        }
    }
}

TEST(PngChunkList, OrderRuleWhateverTheOrderOfAdding) {
    TPngChunkList list;
    for (const char* name : {"tEXt", "IEND", "IDAT", "IHDR", "gAMA"}) {
        list.Add(std::make_unique<TPngChunk>(name));
    }
    std::vector<std::string> names;
    for (size_t i = 0; i < list.Count(); ++i) names.push_back(list.Item(i).Name());
    EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "tEXt", "IDAT", "gAMA", "IEND"}));
}

} // namespace
} // namespace drovak
