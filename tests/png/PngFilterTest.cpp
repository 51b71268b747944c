#include "png/PngRows.h"
#include "png/PngWriter.h"
#include "support/LibpngCodec.h"
#include "support/PngReading.h"

#include <gtest/gtest.h>

#include <map>

namespace drovak {
namespace {

using namespace test;

// Tall enough that the image data is more than deflate's window, and compressed in parts of a
// few rows: each part must be primed with the filtered rows before it. libpng reads the rows
// back, undoing the filters.
TEST(PngRowFilter, EveryFilterSetReadsBackUnchangedWhateverThePartsAndThreads) {
    const PngFilterSet sets[] = {PngFilterSet::Empty,   PngFilterSet::Sub,   PngFilterSet::Up,
                                 PngFilterSet::Average, PngFilterSet::Paeth, PngFilterSet::All};
    constexpr uint32_t width = 9, height = 600;
    for (auto [colourType, depth] : {std::pair<uint8_t, uint8_t>{2, 8}, {6, 8}, {6, 16}}) {
        const PngHeader header{width, height, colourType, depth};
        std::vector<uint32_t> pixels;
        std::vector<uint16_t> expected; // as libpng reads them: 16-bit samples v x 257
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                // Smooth areas and edges, so that every filter is chosen somewhere.
                const uint32_t red = x < 4 ? 200 : x * 9, green = (x * y * 37) & 0xFF;
                const uint32_t blue = y * 30 & 0xFF, alpha = (x + y) % 3 * 100;
                pixels.push_back(red | green << 8 | blue << 16 | alpha << 24);
                const uint32_t samples[4] = {red, green, blue, alpha};
                for (int s = 0; s < (colourType == 6 ? 4 : 3); ++s)
                    expected.push_back(uint16_t(samples[s] * (depth == 16 ? 257 : 1)));
            }
        }
        const auto rows = [&, type = colourType, bits = depth](uint32_t y, uint8_t* out) {
            PackPngRow(&pixels[size_t(y) * width], width, type, bits, out);
        };
        const size_t rowBytes = 1 + width * (colourType == 6 ? 4 : 3) * depth / 8;
        for (PngFilterSet set : sets) {
            PngCompression settings;
            settings.filters = set;
            Bytes whole;                     // the filtered rows in one part: the same for all
            std::map<size_t, Bytes> written; // by part size: the same for any number of threads
            for (auto [rowsPerPart, threads] :
                 {std::pair<size_t, unsigned>{height, 1}, {40, 1}, {40, 3}, {9, 2}}) {
                settings.partSize = rowsPerPart * rowBytes;
                settings.threads = threads;
                MemoryStream out;
                PngWriter png(out, header);
                png.ImageData(rows, settings);
                png.End();
                const Bytes& file = out.Data();
                EXPECT_EQ(DecodeWithLibpng(file).samples, expected)
                    << int(colourType) << "/" << int(depth) << " filters " << int(set) << ", "
                    << rowsPerPart << " rows a part";
                const Bytes data = JoinedImageData(ReadChunks(file));
                const Bytes raw = Inflate(data, height * rowBytes);
                ASSERT_FALSE(raw.empty()) << rowsPerPart << " rows a part";
                if (rowsPerPart == height) whole = raw;
                EXPECT_EQ(raw, whole) << "filters chosen differently in parts";
                const auto [same, first] = written.emplace(rowsPerPart, data);
                EXPECT_EQ(data, same->second) << threads << " threads";
            }
        }
    }
}

} // namespace
} // namespace drovak
