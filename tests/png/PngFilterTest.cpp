#include "png/PngPicture.h"
#include "support/PngReading.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace drovak {
namespace {

using Row = std::vector<uint8_t>;

// Undoes the filters the way a PNG reader does.
Row Unfilter(const Row& raw, size_t rowLength, size_t pixelSize) {
    Row image, above(rowLength, 0);
    for (size_t at = 0; at < raw.size(); at += rowLength + 1) {
        Row row(raw.begin() + long(at + 1), raw.begin() + long(at + 1 + rowLength));
        for (size_t j = 0; j < rowLength; ++j) {
            const int a = j >= pixelSize ? row[j - pixelSize] : 0, b = above[j];
            const int c = j >= pixelSize ? above[j - pixelSize] : 0, p = a + b - c;
            const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            const int predictions[5] = {0, a, b, (a + b) / 2,
                                        pa <= pb && pa <= pc ? a
                                        : pb <= pc           ? b
                                                             : c};
            row[j] = uint8_t(row[j] + predictions[raw[at] % 5]);
        }
        image.insert(image.end(), row.begin(), row.end());
        above = row;
    }
    return image;
}

// Tall enough that the image data is more than deflate's window, and compressed in parts of a
// few rows: each part must be primed with the filtered rows before it.
TEST(PngRowFilter, EveryFilterSetReadsBackUnchangedWhateverThePartsAndThreads) {
    const TPngFilterSet sets[] = {TPngFilterSet::Empty,   TPngFilterSet::Sub,   TPngFilterSet::Up,
                                  TPngFilterSet::Average, TPngFilterSet::Paeth, TPngFilterSet::All};
    constexpr uint32_t width = 9, height = 600;
    for (auto [colourType, depth] : {std::pair<uint8_t, uint8_t>{2, 8}, {6, 8}, {6, 16}}) {
        TPngPicture picture;
        ASSERT_TRUE(picture.CreateBlank(colourType, depth, width, height));
        Row expected;
        for (uint32_t y = 0; y < height; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                // Smooth areas and edges, so that every filter is chosen somewhere.
                const uint32_t red = x < 4 ? 200 : x * 9, green = (x * y * 37) & 0xFF;
                const uint32_t blue = y * 30 & 0xFF, alpha = (x + y) % 3 * 100;
                picture.SetPixel(x, y, red | green << 8 | blue << 16);
                if (colourType == 6) picture.AlphaRow(y)[x] = uint8_t(alpha);
                const uint32_t samples[4] = {red, green, blue, alpha};
                for (int s = 0; s < (colourType == 6 ? 4 : 3); ++s) {
                    expected.push_back(uint8_t(samples[s]));
                    if (depth == 16) expected.push_back(uint8_t(samples[s]));
                }
            }
        }
        const size_t pixelSize = (colourType == 6 ? 4 : 3) * depth / 8;
        const size_t rowBytes = 1 + width * pixelSize;
        for (TPngFilterSet set : sets) {
            TIdatSettings settings;
            settings.filters = set;
            Row whole;                     // the filtered rows in one part: the same for all
            std::map<size_t, Row> written; // by part size: the same for any number of threads
            for (auto [rowsPerPart, threads] :
                 {std::pair<size_t, unsigned>{height, 1}, {40, 1}, {40, 3}, {9, 2}}) {
                settings.partSize = rowsPerPart * rowBytes;
                settings.threads = threads;
                MemoryStream out;
                out.Seek(8, SeekOrigin::Begin); // where the signature would be
                WriteImageData(*picture.Header(), picture.ToneTable(), settings, out);
                const Row data = test::JoinedImageData(test::ReadChunks(out.Data()));
                const Row raw = test::Inflate(data, height * rowBytes);
                ASSERT_FALSE(raw.empty()) << rowsPerPart << " rows a part";
                EXPECT_EQ(Unfilter(raw, width * pixelSize, pixelSize), expected)
                    << int(colourType) << "/" << int(depth) << " filters " << int(set) << ", "
                    << rowsPerPart << " rows a part";
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
