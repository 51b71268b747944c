#include "png/PngRows.h"

#include "png/Png.h"

namespace drovak {

TPngToneTable IdentityToneTable() {
    TPngToneTable tones{};
    for (size_t i = 0; i < tones.size(); ++i) tones[i] = uint8_t(i);
    return tones;
}

size_t PngPixelSize(uint8_t colourType, uint8_t bitDepth) {
    if (bitDepth != 8 && bitDepth != 16) return 0;
    size_t samples = colourType == PNG_COLOUR_RGB ? 3 : colourType == PNG_COLOUR_RGB_ALPHA ? 4 : 0;
    return samples * (bitDepth / 8);
}

namespace {

// Samples per pixel and bytes per sample are template constants so that the loop over the
// export's 8 million pixels stays tight.
template <bool withAlpha, bool wide>
void BuildRow(const uint8_t* bgr, const uint8_t* alpha, uint32_t width, const TPngToneTable& tones,
              uint8_t* out) {
    for (uint32_t x = 0; x < width; ++x, bgr += 3) {
        uint8_t samples[4] = {tones[bgr[2]], tones[bgr[1]], tones[bgr[0]],
                              withAlpha ? alpha[x] : uint8_t(0)};
        for (int s = 0; s < (withAlpha ? 4 : 3); ++s) {
            *out++ = samples[s];
            if (wide) *out++ = samples[s];
        }
    }
}

} // namespace

void BuildPngRow(const TIhdrChunk& header, const TPngToneTable& tones, uint32_t y, uint8_t* out) {
    const uint8_t* bgr = header.ColourRow(y);
    const uint8_t* alpha = header.AlphaRow(y);
    uint32_t width = header.Width();
    bool wide = header.BitDepth() == 16;
    if (header.ColourType() == PNG_COLOUR_RGB_ALPHA) {
        if (wide)
            BuildRow<true, true>(bgr, alpha, width, tones, out);
        else
            BuildRow<true, false>(bgr, alpha, width, tones, out);
    } else {
        if (wide)
            BuildRow<false, true>(bgr, alpha, width, tones, out);
        else
            BuildRow<false, false>(bgr, alpha, width, tones, out);
    }
}

} // namespace drovak
