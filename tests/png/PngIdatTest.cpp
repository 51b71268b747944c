#include "png/IdatPieceWriter.h"
#include "png/PngPicture.h"
#include "png/PngReading.h"

#include <gtest/gtest.h>

#include <random>

namespace drovak {
namespace {

using testing::Inflate;
using testing::JoinedImageData;
using testing::ReadChunk;
using testing::ReadChunks;

std::vector<size_t> IdatSizes(const std::vector<ReadChunk>& chunks) {
    std::vector<size_t> sizes;
    for (const auto& chunk : chunks) {
        if (chunk.name == "IDAT") sizes.push_back(chunk.data.size());
    }
    return sizes;
}

TEST(IdatPieceWriter, CutsIntoFullPiecesAndNeverWritesAnEmptyOne) {
    struct Case {
        size_t compressedSize;
        std::vector<size_t> chunkSizes;
    };
    const Case cases[] = {
        {1, {1}},
        {65535, {65535}},
        {65536, {65535, 1}},
        {131070, {65535, 65535}},
        {131071, {65535, 65535, 1}},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> compressed(c.compressedSize);
        for (size_t i = 0; i < compressed.size(); ++i) compressed[i] = uint8_t(i * 7);
        MemoryStream out;
        TIdatPieceWriter pieces(out, 65535);
        // Fed in uneven parts, as a compressor hands them over.
        for (size_t at = 0; at < compressed.size(); at += 40000) {
            pieces.Append(compressed.data() + at, std::min<size_t>(40000, compressed.size() - at));
        }
        pieces.Finish();

        std::vector<uint8_t> file(8, 0); // ReadChunks skips a signature
        file.insert(file.end(), out.Data().begin(), out.Data().end());
        auto chunks = ReadChunks(file);
        EXPECT_EQ(IdatSizes(chunks), c.chunkSizes) << c.compressedSize;
        EXPECT_EQ(pieces.ChunksWritten(), c.chunkSizes.size());
        EXPECT_EQ(JoinedImageData(chunks), compressed);
        for (const auto& chunk : chunks) EXPECT_EQ(chunk.storedCrc, chunk.computedCrc);
    }
}

// A picture whose image data does not compress well, so that it spans several chunks.
void FillWithNoise(TPngPicture& picture) {
    std::mt19937 random(12345);
    for (uint32_t y = 0; y < picture.Height(); ++y) {
        for (uint32_t x = 0; x < picture.Width(); ++x) {
            picture.SetPixel(x, y, random() & 0xFFFFFF);
            picture.AlphaRow(y)[x] = uint8_t(random());
        }
    }
}

TEST(PngIdat, LargeImageDataComesInChunksOf65535) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 16, 128, 160)); // about 110 KB that hardly compresses
    FillWithNoise(picture);
    picture.SetFilters(0);
    MemoryStream out;
    picture.SaveToStream(out);
    auto chunks = ReadChunks(out.Data());
    auto sizes = IdatSizes(chunks);
    ASSERT_GE(sizes.size(), 2u);
    for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 65535u);
    EXPECT_GE(sizes.back(), 1u);
    EXPECT_EQ(Inflate(JoinedImageData(chunks), 160 * (1 + 128 * 8)).size(), 160u * 1025);
}

// The compressed stream ending exactly at a chunk boundary gives no empty chunk after it.
TEST(PngIdat, StreamEndingOnAChunkBoundary) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 8, 64, 64));
    FillWithNoise(picture);
    MemoryStream whole;
    picture.SaveToStream(whole);
    size_t compressedSize = JoinedImageData(ReadChunks(whole.Data())).size();
    ASSERT_GT(compressedSize, 2u);

    struct Case {
        uint32_t maxSize;
        std::vector<size_t> sizes;
    };
    const Case cases[] = {
        {uint32_t(compressedSize), {compressedSize}},
        {uint32_t(compressedSize - 1), {compressedSize - 1, 1}},
        {uint32_t(compressedSize + 1), {compressedSize}},
    };
    for (const auto& c : cases) {
        picture.SetMaxIdatSize(c.maxSize);
        MemoryStream out;
        picture.SaveToStream(out);
        auto chunks = ReadChunks(out.Data());
        EXPECT_EQ(IdatSizes(chunks), c.sizes) << c.maxSize;
        EXPECT_EQ(JoinedImageData(chunks), JoinedImageData(ReadChunks(whole.Data())));
        EXPECT_EQ(chunks.back().name, "IEND");
    }
}

} // namespace
} // namespace drovak
