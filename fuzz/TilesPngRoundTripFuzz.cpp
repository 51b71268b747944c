// Tiles -> PNG -> tiles: any tile data, any sheet width, the grey ramp or any palette line made
// from colour words. The indexed PNG gives the data back exactly, with the palette as its PLTE;
// an RGB copy of the picture gives each value back as the lowest value of the same colour.
#include "base/Stream.h"
#include "fuzz/FuzzCheck.h"
#include "graphics/PngToTiles.h"
#include "graphics/Renderer.h"
#include "graphics/TilePalette.h"
#include "graphics/TilesToPng.h"
#include "png/PngReader.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

drovak::TilePalette PaletteFrom(FuzzedDataProvider& in) {
    if (in.ConsumeBool()) return drovak::GreyRampPalette();
    drovak::TilePalette palette;
    for (uint32_t& colour : palette.colours)
        colour = drovak::ConvertColourWord(in.ConsumeIntegral<uint16_t>());
    palette.source = drovak::PaletteOrigin{0, 0, "fuzz"};
    return palette;
}

// The picture with each pixel's colour instead of its value, 8 bits a sample.
drovak::DecodedPng RgbCopy(const drovak::DecodedPng& indexed) {
    drovak::DecodedPng rgb = indexed;
    rgb.pixels = drovak::PngPixels::Rgb;
    rgb.colourType = 2;
    rgb.bitDepth = 8;
    rgb.palette.clear();
    rgb.texts.clear();
    rgb.data.clear();
    for (uint8_t index : indexed.data) {
        const uint32_t colour = indexed.palette.at(index);
        for (unsigned s = 0; s < 3; ++s) rgb.data.push_back(uint8_t(colour >> (8 * s)));
    }
    return rgb;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const unsigned columns = in.ConsumeIntegralInRange<unsigned>(1, 64);
    const drovak::TilePalette palette = PaletteFrom(in);
    const std::vector<uint8_t> tiles = in.ConsumeRemainingBytes<uint8_t>();

    drovak::MemoryStream file;
    drovak::WriteTilesPng(tiles, palette, columns, file);
    const drovak::DecodedPng image = drovak::ReadPng(file.Data(), "tiles.png");
    FUZZ_CHECK(image.colourType == 3 && image.pixels == drovak::PngPixels::Indices);
    FUZZ_CHECK(image.palette.size() == 16);
    FUZZ_CHECK(std::equal(image.palette.begin(), image.palette.end(), palette.colours.begin()));

    const drovak::TilesFromPng back = drovak::PngToTiles(image, "tiles.png", palette, std::nullopt);
    FUZZ_CHECK(back.lengthRecorded && back.data == tiles);
    FUZZ_CHECK(!back.droppedPixel && !back.paletteDifference);

    // Through RGB, values of one colour come back as the lowest of them.
    unsigned lowest[16];
    for (unsigned v = 0; v < 16; ++v) {
        lowest[v] = v;
        for (unsigned u = 0; u < v && lowest[v] == v; ++u)
            if (palette.colours[u] == palette.colours[v]) lowest[v] = u;
    }
    const drovak::TilesFromPng rgb =
        drovak::PngToTiles(RgbCopy(image), "tiles-rgb.png", palette, tiles.size());
    FUZZ_CHECK(rgb.data.size() == tiles.size());
    for (size_t i = 0; i < tiles.size(); ++i)
        FUZZ_CHECK(rgb.data[i] == (lowest[tiles[i] >> 4] << 4 | lowest[tiles[i] & 15]));
    return 0;
}
