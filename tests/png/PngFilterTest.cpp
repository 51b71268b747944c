#include "png/PngFilters.h"
#include "png/PngPicture.h"
#include "png/PngReading.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace drovak {
namespace {

TEST(PngRowFilter, ChoiceRule) {
    using Row = std::vector<uint8_t>;
    const Row zeros(6, 0), fives(6, 5), tens(6, 10), ones(6, 1);
    const Row ramp = {10, 20, 30, 40, 50, 60};
    const Row spread = {0, 1, 3, 6, 10, 15}; // no repeats raw, nor after Sub or Paeth
    const Row above = {2, 89, 16, 199, 44, 119}, belowIt = {3, 90, 17, 200, 45, 120};
    const Row averaged = {10, 15, 20, 25, 30, 35};
    struct Case {
        TPngFilterSet set;
        const Row& previous;
        const Row& row;
        TPngFilterType type;
        const Row& filtered;
    };
    const Case cases[] = {
        {0, zeros, ramp, ftNone, ramp},                      // empty set
        {pfNone, zeros, ramp, ftNone, ramp},                 // only None
        {pfAverage, zeros, ramp, ftAverage, averaged},       // one filter is simply used
        {pfUp, zeros, spread, ftUp, spread},                 // even with nothing to gain
        {pfUp | pfSub, zeros, ramp, ftSub, tens},            // the most repeats win
        {pfNone | pfSub | pfUp, above, belowIt, ftUp, ones}, // against the row above
        {pfNone | pfSub, zeros, fives, ftNone, fives},       // a tie: the earlier type
        {pfUp | pfPaeth, zeros, spread, ftNone, spread},     // no repeats: None, not in set
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        TPngRowFilter filter(c.set, c.row.size(), 1);
        TFilteredRow result = filter.Apply(c.row.data(), c.previous.data());
        EXPECT_EQ(result.type, c.type) << "case " << i;
        EXPECT_EQ(Row(result.bytes, result.bytes + c.row.size()), c.filtered) << "case " << i;
    }
}

// Undoes the filters the way a PNG reader does, to check the written rows.
std::vector<uint8_t> Unfilter(const std::vector<uint8_t>& raw, size_t rowLength, size_t pixelSize) {
    std::vector<uint8_t> image;
    std::vector<uint8_t> above(rowLength, 0);
    for (size_t at = 0; at < raw.size(); at += rowLength + 1) {
        uint8_t type = raw[at];
        std::vector<uint8_t> row(raw.begin() + long(at + 1),
                                 raw.begin() + long(at + 1 + rowLength));
        for (size_t j = 0; j < rowLength; ++j) {
            int a = j >= pixelSize ? row[j - pixelSize] : 0;
            int b = above[j];
            int c = j >= pixelSize ? above[j - pixelSize] : 0;
            int p = a + b - c;
            int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
            int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            int add = type == 1   ? a
                      : type == 2 ? b
                      : type == 3 ? (a + b) / 2
                      : type == 4 ? paeth
                                  : 0;
            row[j] = uint8_t(row[j] + add);
        }
        image.insert(image.end(), row.begin(), row.end());
        above = row;
    }
    return image;
}

TEST(PngRowFilter, FilteredImagesReadBackUnchanged) {
    const TPngFilterSet sets[] = {pfSub, pfUp, pfAverage, pfPaeth,
                                  pfNone | pfSub | pfUp | pfAverage | pfPaeth};
    for (uint8_t depth : {uint8_t(8), uint8_t(16)}) {
        TPngPicture picture;
        ASSERT_TRUE(picture.CreateBlank(6, depth, 9, 7));
        std::vector<uint8_t> expected;
        for (uint32_t y = 0; y < 7; ++y) {
            for (uint32_t x = 0; x < 9; ++x) {
                // Smooth areas and edges, so that every filter is chosen somewhere.
                uint32_t red = x < 4 ? 200 : x * 9, green = (x * y * 37) & 0xFF, blue = y * 30;
                uint8_t alpha = uint8_t((x + y) % 3 * 100);
                picture.SetPixel(x, y, red | green << 8 | blue << 16);
                picture.AlphaRow(y)[x] = alpha;
                for (uint32_t sample : {red, green, blue, uint32_t(alpha)}) {
                    expected.push_back(uint8_t(sample));
                    if (depth == 16) expected.push_back(0);
                }
            }
        }
        size_t pixelSize = depth / 2;
        for (TPngFilterSet set : sets) {
            picture.SetFilters(set);
            MemoryStream out;
            picture.SaveToStream(out);
            auto raw = testing::Inflate(testing::JoinedImageData(testing::ReadChunks(out.Data())),
                                        7 * (1 + 9 * pixelSize));
            ASSERT_FALSE(raw.empty());
            EXPECT_EQ(Unfilter(raw, 9 * pixelSize, pixelSize), expected)
                << "depth " << int(depth) << " filters " << int(set);
        }
    }
}

} // namespace
} // namespace drovak
