// Seeds of the PNG targets: tile sheets written by the project's writer, and pictures of every
// colour type the reader takes written by libpng.
#include "base/Stream.h"
#include "fuzz/SeedBuilder.h"
#include "fuzz/Seeds.h"
#include "graphics/TilePalette.h"
#include "graphics/TilesToPng.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace drovak::fuzz {

namespace {

Bytes Tiles(size_t length) {
    Bytes tiles(length);
    for (size_t i = 0; i < length; ++i) tiles[i] = uint8_t(i * 37 + i / 32);
    return tiles;
}

Bytes Sheet(const Bytes& tiles, unsigned columns) {
    MemoryStream out;
    WriteTilesPng(tiles, GreyRampPalette(), columns, out);
    return out.Take();
}

// A 16 x 8 picture written by libpng, of any colour type (a palette one: 16 greys) and depth.
Bytes LibpngPicture(int colourType, int bitDepth, int interlace = PNG_INTERLACE_NONE) {
    Bytes file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &file,
        [](png_structp s, png_bytep data, size_t size) {
            Bytes* out = static_cast<Bytes*>(png_get_io_ptr(s));
            out->insert(out->end(), data, data + size);
        },
        nullptr);
    const int channels = colourType == PNG_COLOR_TYPE_RGB         ? 3
                         : colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4
                                                                  : 1;
    const size_t rowBytes = (size_t(16) * channels * bitDepth + 7) / 8;
    const uint8_t mask = colourType == PNG_COLOR_TYPE_PALETTE && bitDepth == 8 ? 0x0F : 0xFF;
    Bytes pixels(rowBytes * 8);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 29) & mask;
    std::vector<png_bytep> rows;
    for (size_t y = 0; y < 8; ++y) rows.push_back(&pixels[y * rowBytes]);
    png_color greys[16];
    for (int v = 0; v < 16; ++v) greys[v] = {uint8_t(v * 17), uint8_t(v * 17), uint8_t(v * 17)};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_IHDR(png, info, 16, 8, bitDepth, colourType, interlace, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, greys, 16);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return file;
}

} // namespace

void AddPngSeeds(SeedSet& seeds) {
    auto& png = seeds["png_to_tiles"];
    png["sheet-4-tiles"] = Sheet(Tiles(4 * 32), 2);
    png["sheet-odd-length"] = Sheet(Tiles(33), 1);
    png["rgb-8"] = LibpngPicture(PNG_COLOR_TYPE_RGB, 8);
    png["rgb-16"] = LibpngPicture(PNG_COLOR_TYPE_RGB, 16);
    png["rgba-8"] = LibpngPicture(PNG_COLOR_TYPE_RGB_ALPHA, 8);
    png["palette-8"] = LibpngPicture(PNG_COLOR_TYPE_PALETTE, 8);
    png["grey-4"] = LibpngPicture(PNG_COLOR_TYPE_GRAY, 4);
    png["grey-16"] = LibpngPicture(PNG_COLOR_TYPE_GRAY, 16);
    png["rgb-interlaced"] = LibpngPicture(PNG_COLOR_TYPE_RGB, 8, PNG_INTERLACE_ADAM7);

    // Columns (1 to 64), grey ramp or a palette line of colour words, then the tile data.
    auto& trip = seeds["tiles_png_round_trip"];
    trip["grey"] = SeedBuilder().Number(2, 1, 64).Bool(true).Rest(Tiles(96)).Bytes();
    SeedBuilder words;
    words.Number(16, 1, 64).Bool(false);
    for (unsigned v = 0; v < 16; ++v) words.Word(uint16_t(v % 5 * 0x222)); // colours repeat
    trip["repeated-colours"] = words.Rest(Tiles(200)).Bytes();
    trip["empty"] = SeedBuilder().Number(1, 1, 64).Bool(true).Bytes();
}

} // namespace drovak::fuzz
