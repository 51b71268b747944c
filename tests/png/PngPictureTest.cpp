#include "png/PngPicture.h"
#include "base/Errors.h"
#include "base/WholeFile.h"
#include "png/IdatPieceWriter.h"
#include "png/PngReader.h"
#include "support/LibpngCodec.h"
#include "support/PngReading.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

namespace drovak {
namespace {

using namespace test;
namespace fs = std::filesystem;

TEST(PngPicture, ChunkLayoutAndSixteenBitSamples) {
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 16, 3, 4));
    picture.SetFilters(TPngFilterSet::Empty);
    picture.SetPixel(1, 2, 32 + 224 * 65536);
    picture.AlphaRow(2)[1] = 255;
    for (auto [x, y] : {std::pair<int64_t, int64_t>{-1, 0}, {0, -1}, {3, 0}, {0, 4}})
        picture.SetPixel(x, y, 0xFFFFFF); // outside: ignored
    MemoryStream out;
    picture.SaveToStream(out);
    const Bytes& file = out.Data();

    // The signature, IHDR (3 x 4, 16 bits, colour type 6) and IEND with its CRC.
    const Bytes head =
                    Hex("89 50 4E 47 0D 0A 1A 0A 00 00 00 0D 49 48 44 52 00 00 00 03 00 00 00 04 "
                        "10 06 00 00 00"),
                tail = Hex("00 00 00 00 49 45 4E 44 AE 42 60 82");
    ASSERT_GT(file.size(), head.size() + tail.size());
    EXPECT_EQ(Slice(file, 0, head.size()), head);
    EXPECT_EQ(Slice(file, file.size() - 12, 12), tail);
    const auto chunks = ReadChunks(file);
    std::vector<std::string> names;
    for (const auto& chunk : chunks) {
        names.push_back(chunk.name);
        EXPECT_EQ(chunk.storedCrc, chunk.computedCrc) << chunk.name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

    // Each row is filter byte 0 and 8 bytes a pixel, each 16-bit sample the 8-bit value in both
    // bytes; a pixel never set is all zeros.
    Bytes expected(4 * 25, 0);
    const uint8_t set[] = {0x20, 0x20, 0x00, 0x00, 0xE0, 0xE0, 0xFF, 0xFF};
    std::copy(std::begin(set), std::end(set), expected.begin() + 2 * 25 + 1 + 8);
    EXPECT_EQ(Inflate(JoinedImageData(chunks), expected.size()), expected);
}

TEST(PngPicture, CreateBlankAcceptsOnlyWhatItCanWriteAndNothingElseIsSaved) {
    const std::tuple<int, int, uint32_t, uint32_t, bool> cases[] = {
        {6, 16, 1, 1, true},  {2, 8, 5, 2, true},
        {2, 4, 5, 2, false},  {3, 8, 5, 2, true},
        {3, 4, 5, 2, true},   {3, 16, 5, 2, false},
        {3, 2, 5, 2, false},  {4, 8, 5, 2, false},
        {6, 16, 0, 2, false}, {6, 16, 0x80000000u, 1, false}};
    for (const auto& [type, depth, width, height, accepted] : cases) {
        TPngPicture picture;
        EXPECT_EQ(picture.CreateBlank(uint8_t(type), uint8_t(depth), width, height), accepted)
            << type << "/" << depth << " " << width << "x" << height;
        if (accepted) continue;
        MemoryStream out;
        EXPECT_THROW(picture.SaveToStream(out), RefusedError);
        EXPECT_EQ(out.Size(), 0u);
    }
}

// Depth 4 is read back in the tile sheets' tests; here 8 bits, an odd width and the checks.
TEST(PngPicture, PaletteImagesReadBackWithLibpngAndIndicesStayInThePalette) {
    // 8 and 4 bits a pixel; 4-bit rows of an odd width end in half a byte.
    for (const uint8_t depth : {8, 4}) {
        SCOPED_TRACE(int(depth));
        TPngPicture picture;
        ASSERT_TRUE(picture.CreateBlank(3, depth, 5, 3));
        EXPECT_NO_THROW(picture.SetPalette(std::vector<uint32_t>(size_t(1) << depth)));
        EXPECT_THROW(picture.SetPalette(std::vector<uint32_t>((size_t(1) << depth) + 1)),
                     RefusedError);
        const std::vector<uint32_t> colours = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
        picture.SetPalette(colours);
        for (uint32_t i = 0; i < 15; ++i) picture.SetIndex(i % 5, i / 5, uint8_t(i % 4));
        picture.SetPixel(0, 0, 0xFFFFFF); // a palette image has no colours: ignored
        MemoryStream out;
        picture.SaveToStream(out);
        const LibpngPicture read = DecodeWithLibpng(out.Data());
        EXPECT_EQ(std::tie(read.width, read.height, read.colourType, read.bitDepth, read.interlace),
                  std::tuple(5u, 3u, 3, int(depth), 0));
        ASSERT_EQ(read.palette.size(), 4u);
        for (size_t v = 0; v < 4; ++v) {
            const png_color& c = read.palette[v];
            EXPECT_EQ(uint32_t(c.red | c.green << 8 | c.blue << 16), colours[v]);
        }
        for (uint32_t i = 0; i < 15; ++i) EXPECT_EQ(read.samples.at(i), i % 4);
        // The program's own reader gives the same colours and indices.
        const TDecodedPng ours = ReadPng(out.Data(), "p.png");
        EXPECT_EQ(ours.palette, colours);
        for (uint32_t i = 0; i < 15; ++i) EXPECT_EQ(ours.Sample(i % 5, i / 5, 0), i % 4);
        picture.SetIndex(4, 2, 4); // beyond the 4 colours
        EXPECT_NE(MessageOf<RefusedError>([&] { picture.SaveToStream(out); }).find("x 4, y 2"),
                  std::string::npos);
    }
    TPngPicture picture;
    EXPECT_THROW(picture.AddText("two  spaces", ""), RefusedError);
}

TEST(PngIdatPieceWriter, CutsIntoFullPiecesAndNeverWritesAnEmptyOne) {
    const std::pair<size_t, std::vector<size_t>> cases[] = {
        {1, {1}}, {65535, {65535}}, {131070, {65535, 65535}}, {131071, {65535, 65535, 1}}};
    for (const auto& [size, pieceSizes] : cases) {
        Bytes compressed(size);
        for (size_t i = 0; i < size; ++i) compressed[i] = uint8_t(i * 7);
        MemoryStream out;
        out.Seek(8, SeekOrigin::Begin); // where a signature would be
        TIdatPieceWriter pieces(out, 65535);
        for (size_t at = 0; at < size; at += 40000) // uneven parts, as a compressor gives them
            pieces.Append(compressed.data() + at, std::min<size_t>(40000, size - at));
        pieces.Finish();
        std::vector<size_t> sizes;
        for (const auto& chunk : ReadChunks(out.Data())) {
            EXPECT_EQ(chunk.name, "IDAT");
            EXPECT_EQ(chunk.storedCrc, chunk.computedCrc);
            sizes.push_back(chunk.data.size());
        }
        EXPECT_EQ(sizes, pieceSizes) << size;
        EXPECT_EQ(JoinedImageData(ReadChunks(out.Data())), compressed);
    }
}

TEST(PngSaveFile, ReplacesAnOldFileOrFailsLeavingEverythingAsItWas) {
    const TempDir dir;
    const fs::path folder = dir.path;
    TPngPicture picture;
    ASSERT_TRUE(picture.CreateBlank(6, 16, 4, 4));

    const std::string path = (folder / "out.png").string();
    std::ofstream(path) << std::string(100000, 'x');
    picture.SaveToFile(path);
    MemoryStream expected;
    picture.SaveToStream(expected);
    EXPECT_EQ(ReadWholeFile(path), expected.Data());

    const std::string missingFolder = (folder / "no such folder" / "out.png").string();
    try {
        picture.SaveToFile(missingFolder);
        ADD_FAILURE() << "saved into a missing folder";
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find(missingFolder), std::string::npos);
    }
    TPngPicture empty; // nothing to save: the old file stays
    EXPECT_THROW(empty.SaveToFile(path), RefusedError);
    EXPECT_EQ(ReadWholeFile(path), expected.Data());
    // No temporary file is left beside them.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

} // namespace
} // namespace drovak
