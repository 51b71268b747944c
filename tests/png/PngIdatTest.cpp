#include "png/IdatPieceWriter.h"
#include "png/PngPicture.h"
#include "png/PngReading.h"

#include <gtest/gtest.h>

#include <random>

namespace drovak {
namespace {

using namespace testing;

std::vector<size_t> IdatSizes(const std::vector<ReadChunk>& chunks) {
    std::vector<size_t> sizes;
    for (const auto& chunk : chunks) {
        if (chunk.name == "IDAT") sizes.push_back(chunk.data.size());
    }
    return sizes;
}

TEST(IdatPieceWriter, CutsIntoFullPiecesAndNeverWritesAnEmptyOne) {
    const std::pair<size_t, std::vector<size_t>> cases[] = {
        {1, {1}},
        {65535, {65535}},
        {131070, {65535, 65535}},
        {131071, {65535, 65535, 1}},
    };
    for (const auto& [size, chunkSizes] : cases) {
        std::vector<uint8_t> compressed(size);
        for (size_t i = 0; i < size; ++i) compressed[i] = uint8_t(i * 7);
        MemoryStream out;
        out.Seek(8, SeekOrigin::Begin); // where a signature would be
        TIdatPieceWriter pieces(out, 65535);
        for (size_t at = 0; at < size; at += 40000) { // uneven parts, as a compressor gives them
            pieces.Append(compressed.data() + at, std::min<size_t>(40000, size - at));
        }
        pieces.Finish();

        auto chunks = ReadChunks(out.Data());
        EXPECT_EQ(IdatSizes(chunks), chunkSizes) << size;
        EXPECT_EQ(JoinedImageData(chunks), compressed);
        for (const auto& chunk : chunks) EXPECT_EQ(chunk.storedCrc, chunk.computedCrc);
    }
}

// A real compressed stream that ends exactly at a chunk boundary gives no empty chunk after it.
TEST(PngIdat, StreamEndingOnAChunkBoundary) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 8, 64, 64));
    std::mt19937 random(12345);
    for (uint32_t y = 0; y < 64; ++y) {
        for (uint32_t x = 0; x < 64; ++x) picture.SetPixel(x, y, random() & 0xFFFFFF);
    }
    MemoryStream whole;
    picture.SaveToStream(whole);
    const auto compressed = JoinedImageData(ReadChunks(whole.Data()));
    const size_t size = compressed.size();
    ASSERT_GT(size, 2u);

    const std::pair<uint32_t, std::vector<size_t>> cases[] = {
        {uint32_t(size), {size}},
        {uint32_t(size - 1), {size - 1, 1}},
        {uint32_t(size / 2), {size / 2, size / 2, size % 2}},
    };
    for (const auto& [maxSize, sizes] : cases) {
        picture.SetMaxIdatSize(maxSize);
        MemoryStream out;
        picture.SaveToStream(out);
        auto chunks = ReadChunks(out.Data());
        std::vector<size_t> expected = sizes;
        if (expected.back() == 0) expected.pop_back();
        EXPECT_EQ(IdatSizes(chunks), expected) << maxSize;
        EXPECT_EQ(JoinedImageData(chunks), compressed);
        EXPECT_EQ(chunks.back().name, "IEND");
    }
}

} // namespace
} // namespace drovak
