#include "png/IhdrChunk.h"

#include "base/ByteOrder.h"

namespace drovak {

void TIhdrChunk::CreateImage(uint32_t width, uint32_t height, uint8_t bitDepth,
                             uint8_t colourType) {
    width_ = width;
    height_ = height;
    bitDepth_ = bitDepth;
    colourType_ = colourType;
    size_t pixels = size_t(width) * height;
    colours_.assign(IsPalette() ? 0 : pixels * 3, 0);
    alpha_.assign(HasAlpha() ? pixels : 0, 0);
    indices_.assign(IsPalette() ? pixels : 0, 0);
}

uint32_t TIhdrChunk::Pixel(int64_t x, int64_t y) const {
    if (x < 0 || y < 0 || x >= int64_t(width_) || y >= int64_t(height_) || IsPalette()) return 0;
    const uint8_t* p = colours_.data() + (size_t(y) * width_ + size_t(x)) * 3;
    return uint32_t(p[2]) | uint32_t(p[1]) << 8 | uint32_t(p[0]) << 16;
}

void TIhdrChunk::SetIndex(int64_t x, int64_t y, uint8_t index) {
    if (x < 0 || y < 0 || x >= int64_t(width_) || y >= int64_t(height_) || !IsPalette()) return;
    indices_[size_t(y) * width_ + size_t(x)] = index;
}

uint8_t TIhdrChunk::Index(int64_t x, int64_t y) const {
    if (x < 0 || y < 0 || x >= int64_t(width_) || y >= int64_t(height_) || !IsPalette()) return 0;
    return indices_[size_t(y) * width_ + size_t(x)];
}

const uint8_t* TIhdrChunk::IndexRow(uint32_t y) const {
    if (y >= height_ || !IsPalette()) return nullptr;
    return indices_.data() + size_t(y) * width_;
}

const uint8_t* TIhdrChunk::ColourRow(uint32_t y) const {
    if (y >= height_ || IsPalette()) return nullptr;
    return colours_.data() + size_t(y) * width_ * 3;
}

uint8_t* TIhdrChunk::AlphaRow(uint32_t y) {
    if (y >= height_ || alpha_.empty()) return nullptr;
    return alpha_.data() + size_t(y) * width_;
}

const uint8_t* TIhdrChunk::AlphaRow(uint32_t y) const {
    return const_cast<TIhdrChunk*>(this)->AlphaRow(y);
}

void TIhdrChunk::SaveToStream(Stream& stream) {
    std::vector<uint8_t>& data = Data();
    data.assign(13, 0);
    StoreBigEndian32(data.data(), width_);
    StoreBigEndian32(data.data() + 4, height_);
    data[8] = bitDepth_;
    data[9] = colourType_;
    data[10] = CompressionMethod();
    data[11] = FilterMethod();
    data[12] = interlaceMethod_;
    TPngChunk::SaveToStream(stream);
}

} // namespace drovak
