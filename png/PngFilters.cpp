#include "png/PngFilters.h"

#include <bit>
#include <cstdlib>

namespace drovak {

namespace {

uint8_t Paeth(int left, int up, int upLeft) {
    int estimate = left + up - upLeft;
    int toLeft = std::abs(estimate - left);
    int toUp = std::abs(estimate - up);
    int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft) return uint8_t(left);
    if (toUp <= toUpLeft) return uint8_t(up);
    return uint8_t(upLeft);
}

} // namespace

void FilterRow(PngFilterType type, const uint8_t* row, const uint8_t* previous, size_t length,
               size_t pixelSize, uint8_t* out) {
    for (size_t j = 0; j < length; ++j) {
        int left = j >= pixelSize ? row[j - pixelSize] : 0;
        int up = previous[j];
        int upLeft = j >= pixelSize ? previous[j - pixelSize] : 0;
        int predicted = 0;
        switch (type) {
        case PngFilterType::None:
            predicted = 0;
            break;
        case PngFilterType::Sub:
            predicted = left;
            break;
        case PngFilterType::Up:
            predicted = up;
            break;
        case PngFilterType::Average:
            predicted = (left + up) / 2;
            break;
        case PngFilterType::Paeth:
            predicted = Paeth(left, up, upLeft);
            break;
        }
        out[j] = uint8_t(row[j] - predicted);
    }
}

size_t RepeatCount(const uint8_t* bytes, size_t length) {
    size_t count = 0;
    for (size_t j = 2; j < length; ++j) {
        if (bytes[j] == bytes[j - 1] || bytes[j] == bytes[j - 2]) ++count;
    }
    return count;
}

PngRowFilter::PngRowFilter(PngFilterSet filters, size_t rowLength, size_t pixelSize)
    : filters_(filters & PngFilterSet::All), rowLength_(rowLength), pixelSize_(pixelSize) {
    if (filters_ != PngFilterSet::Empty && filters_ != PngFilterSet::None) {
        best_.resize(rowLength);
    }
    if (std::popcount(unsigned(filters_)) > 1) trial_.resize(rowLength);
}

FilteredRow PngRowFilter::Apply(const uint8_t* row, const uint8_t* previous) {
    if (filters_ == PngFilterSet::Empty || filters_ == PngFilterSet::None) {
        return {PngFilterType::None, row};
    }
    if (std::popcount(unsigned(filters_)) == 1) {
        auto type = PngFilterType(std::countr_zero(unsigned(filters_)));
        FilterRow(type, row, previous, rowLength_, pixelSize_, best_.data());
        return {type, best_.data()};
    }
    PngFilterType bestType = PngFilterType::None;
    size_t bestCount = 0;
    for (unsigned t = 0; t < PNG_FILTER_TYPE_COUNT; ++t) {
        if (!Contains(filters_, PngFilterType(t))) continue;
        FilterRow(PngFilterType(t), row, previous, rowLength_, pixelSize_, trial_.data());
        size_t count = RepeatCount(trial_.data(), rowLength_);
        if (count > bestCount) {
            bestCount = count;
            bestType = PngFilterType(t);
            best_.swap(trial_);
        }
    }
    if (bestCount == 0 || bestType == PngFilterType::None) return {PngFilterType::None, row};
    return {bestType, best_.data()};
}

} // namespace drovak
