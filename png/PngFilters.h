#pragma once

#include "png/Png.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak {

// Filters one row with a PNG filter type. previous is the row above (all zeros for the first
// row); pixelSize is the distance in bytes that Sub, Average and Paeth look back.
void FilterRow(PngFilterType type, const uint8_t* row, const uint8_t* previous, size_t length,
               size_t pixelSize, uint8_t* out);

// How well a filtered row is likely to compress: the positions j from 2 on whose byte equals
// the byte at j - 1 or at j - 2.
size_t RepeatCount(const uint8_t* bytes, size_t length);

struct FilteredRow {
    PngFilterType type = PngFilterType::None;
    const uint8_t* bytes = nullptr; // length bytes, valid until the next Apply
};

// Chooses each row's filter from a filter set and filters the row.
// - An empty set, or the set {None}: type None, the row unchanged.
// - A set of exactly one filter: that filter.
// - Otherwise each filter of the set is tried in type order; the highest RepeatCount wins, the
//   earlier type on a tie, and when no filter counts above 0 the type is None (also when None
//   is not in the set).
class PngRowFilter {
public:
    PngRowFilter(PngFilterSet filters, size_t rowLength, size_t pixelSize);

    FilteredRow Apply(const uint8_t* row, const uint8_t* previous);

private:
    PngFilterSet filters_;
    size_t rowLength_;
    size_t pixelSize_;
    std::vector<uint8_t> best_;
    std::vector<uint8_t> trial_;
};

} // namespace drovak
