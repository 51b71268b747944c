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

void FilterRow(TPngFilterType type, const uint8_t* row, const uint8_t* previous, size_t length,
               size_t pixelSize, uint8_t* out) {
    for (size_t j = 0; j < length; ++j) {
        int left = j >= pixelSize ? row[j - pixelSize] : 0;
        int up = previous[j];
        int upLeft = j >= pixelSize ? previous[j - pixelSize] : 0;
        int predicted = 0;
        switch (type) {
        case TPngFilterType::None:
            predicted = 0;
            break;
        case TPngFilterType::Sub:
            predicted = left;
            break;
        case TPngFilterType::Up:
            predicted = up;
            break;
        case TPngFilterType::Average:
            predicted = (left + up) / 2;
            break;
        case TPngFilterType::Paeth:
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

TPngRowFilter::TPngRowFilter(TPngFilterSet filters, size_t rowLength, size_t pixelSize)
    : filters_(filters & TPngFilterSet::All), rowLength_(rowLength), pixelSize_(pixelSize) {
    if (filters_ != TPngFilterSet::Empty && filters_ != TPngFilterSet::None) {
        best_.resize(rowLength);
    }
    if (std::popcount(unsigned(filters_)) > 1) trial_.resize(rowLength);
}

TFilteredRow TPngRowFilter::Apply(const uint8_t* row, const uint8_t* previous) {
    if (filters_ == TPngFilterSet::Empty || filters_ == TPngFilterSet::None) {
        return {TPngFilterType::None, row};
    }
    if (std::popcount(unsigned(filters_)) == 1) {
        auto type = TPngFilterType(std::countr_zero(unsigned(filters_)));
        FilterRow(type, row, previous, rowLength_, pixelSize_, best_.data());
        return {type, best_.data()};
    }
    TPngFilterType bestType = TPngFilterType::None;
    size_t bestCount = 0;
    for (unsigned t = 0; t < PNG_FILTER_TYPE_COUNT; ++t) {
        if (!Contains(filters_, TPngFilterType(t))) continue;
        FilterRow(TPngFilterType(t), row, previous, rowLength_, pixelSize_, trial_.data());
        size_t count = RepeatCount(trial_.data(), rowLength_);
        if (count > bestCount) {
            bestCount = count;
            bestType = TPngFilterType(t);
            best_.swap(trial_);
        }
    }
    if (bestCount == 0 || bestType == TPngFilterType::None) return {TPngFilterType::None, row};
    return {bestType, best_.data()};
}

} // namespace drovak
