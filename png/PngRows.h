#pragma once

#include <cstddef>
#include <cstdint>

namespace drovak {

// Bytes per pixel of the colour formats the writer encodes (RGB and RGB with alpha, 8 or 16
// bits per sample); 0 for any other colour type and bit depth.
size_t PngPixelSize(uint8_t colourType, uint8_t bitDepth);

// The raw bytes of a row of colour type 2 or 6 (PngPixelSize bytes a pixel), before filtering,
// from `width` pixels red + green x 256 + blue x 65536 + alpha x 2^24: per pixel red, green,
// blue and, for colour type 6, alpha (colour type 2 ignores the top byte). A 16-bit sample is the
// 8-bit value times 257, the value in both bytes (224 becomes E0 E0, 255 becomes FF FF), so that
// reducing it to 8 bits gives the value back.
void PackPngRow(const uint32_t* pixels, uint32_t width, uint8_t colourType, uint8_t bitDepth,
                uint8_t* out);

} // namespace drovak
