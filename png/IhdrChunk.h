#pragma once

#include "png/PngChunk.h"

#include <cstdint>
#include <vector>

namespace drovak {

// The image header, which also holds the image itself: three colour bytes per pixel (blue,
// green, red) and, for the colour types with alpha, one alpha byte per pixel. Colours and alpha
// are 8-bit in memory whatever the bit depth; 16-bit samples are made when the file is written.
// A palette image (colour type 3) holds one index byte per pixel instead, and no colours.
class TIhdrChunk final : public TPngChunk {
public:
    TIhdrChunk() : TPngChunk("IHDR") {}

    // Sets the header fields and allocates zero-filled storage.
    void CreateImage(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType);

    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    uint8_t BitDepth() const { return bitDepth_; }
    uint8_t ColourType() const { return colourType_; }
    uint8_t CompressionMethod() const { return 0; }
    uint8_t FilterMethod() const { return 0; }
    uint8_t InterlaceMethod() const { return interlaceMethod_; }
    bool HasAlpha() const { return colourType_ == 4 || colourType_ == 6; }
    bool IsPalette() const { return colourType_ == 3; }

    // colour = red + green * 256 + blue * 65536; a pixel outside the image, or any pixel of a
    // palette image, is ignored.
    void SetPixel(int64_t x, int64_t y, uint32_t colour) {
        if (x < 0 || y < 0 || x >= int64_t(width_) || y >= int64_t(height_) || IsPalette()) return;
        uint8_t* p = colours_.data() + (size_t(y) * width_ + size_t(x)) * 3;
        p[0] = uint8_t(colour >> 16);
        p[1] = uint8_t(colour >> 8);
        p[2] = uint8_t(colour);
    }
    // The colour at (x, y) in SetPixel's form; 0 outside the image.
    uint32_t Pixel(int64_t x, int64_t y) const;

    // The palette index at (x, y) of a palette image; other images and pixels outside are
    // ignored (SetIndex) or give 0 (Index).
    void SetIndex(int64_t x, int64_t y, uint8_t index);
    uint8_t Index(int64_t x, int64_t y) const;
    // The width index bytes of row y of a palette image, or nullptr.
    const uint8_t* IndexRow(uint32_t y) const;

    // The blue, green, red bytes of row y, or nullptr outside the image or for a palette image.
    const uint8_t* ColourRow(uint32_t y) const;
    // The width alpha bytes of row y, or nullptr outside the image or without alpha.
    uint8_t* AlphaRow(uint32_t y);
    const uint8_t* AlphaRow(uint32_t y) const;

    void SaveToStream(Stream& stream) override;

private:
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint8_t bitDepth_ = 0;
    uint8_t colourType_ = 0;
    uint8_t interlaceMethod_ = 0;
    std::vector<uint8_t> colours_;
    std::vector<uint8_t> alpha_;
    std::vector<uint8_t> indices_;
};

} // namespace drovak
