#include "png/PngRows.h"

#include "png/Png.h"

#include <stdexcept>

namespace drovak {

size_t PngPixelSize(uint8_t colourType, uint8_t bitDepth) {
    if (bitDepth != 8 && bitDepth != 16) return 0;
    size_t samples = colourType == PNG_COLOUR_RGB ? 3 : colourType == PNG_COLOUR_RGB_ALPHA ? 4 : 0;
    return samples * (bitDepth / 8);
}

namespace {

// Samples per pixel and bytes per sample are template constants so that the loop over the
// export's 8 million pixels stays tight.
template <bool withAlpha, bool wide>
void PackRow(const uint32_t* pixels, uint32_t width, uint8_t* out) {
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t pixel = pixels[x];
        for (int s = 0; s < (withAlpha ? 4 : 3); ++s) {
            const auto sample = uint8_t(pixel >> (8 * s));
            *out++ = sample;
            if (wide) *out++ = sample;
        }
    }
}

} // namespace

void PackPngRow(const uint32_t* pixels, uint32_t width, uint8_t colourType, uint8_t bitDepth,
                uint8_t* out) {
    if (bitDepth != 8 && bitDepth != 16) throw std::logic_error("PNG samples of 8 or 16 bits only");
    const bool wide = bitDepth == 16;
    if (colourType == PNG_COLOUR_RGB_ALPHA) {
        if (wide)
            PackRow<true, true>(pixels, width, out);
        else
            PackRow<true, false>(pixels, width, out);
    } else {
        if (wide)
            PackRow<false, true>(pixels, width, out);
        else
            PackRow<false, false>(pixels, width, out);
    }
}

} // namespace drovak
