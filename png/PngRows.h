#pragma once

#include "png/IhdrChunk.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace drovak {

// Every colour byte passes through this table on its way to the file.
using TPngToneTable = std::array<uint8_t, 256>;
TPngToneTable IdentityToneTable();

// Bytes per pixel of the formats this writer encodes (RGB and RGB with alpha, 8 or 16 bits per
// sample); 0 for any other colour type and bit depth.
size_t PngPixelSize(uint8_t colourType, uint8_t bitDepth);

// The raw bytes of row y, before filtering: per pixel red, green, blue and, with alpha, alpha.
// A 16-bit sample is the 8-bit value times 257, the value in both bytes (224 becomes E0 E0,
// 255 becomes FF FF), so that reducing it to 8 bits gives the value back. out holds Width() x
// PngPixelSize bytes.
void BuildPngRow(const TIhdrChunk& header, const TPngToneTable& tones, uint32_t y, uint8_t* out);

} // namespace drovak
