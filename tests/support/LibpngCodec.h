#pragma once

// PNG files made and read with libpng directly, as another program would: pictures in formats
// the project's writer does not make, and an independent reading of what it writes.

#include "support/TestSupport.h"

#include <png.h>

namespace drovak::test {

// A picture: samples row by row (as many a pixel as the colour type has; 8 or 16 bits when
// written); the palette of colour type 3; what a file read held besides.
struct LibpngPicture {
    uint32_t width = 0, height = 0;
    int colourType = 0, bitDepth = 0, interlace = 0;
    std::vector<uint16_t> samples;
    std::vector<png_color> palette;
    std::vector<std::pair<std::string, std::string>> texts;
};

// Runs libpng calls; false when libpng reports an error. The frames libpng leaves with longjmp
// hold nothing with a destructor.
template <class F> bool LibpngCall(png_structp png, F&& call) {
    if (setjmp(png_jmpbuf(png))) return false;
    call();
    return true;
}

inline Bytes EncodeWithLibpng(const LibpngPicture& p) {
    Bytes file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const auto write = [](png_structp s, png_bytep data, size_t size) {
        Bytes& to = *static_cast<Bytes*>(png_get_io_ptr(s));
        to.insert(to.end(), data, data + size);
    };
    png_set_write_fn(png, &file, write, nullptr);
    const size_t bytes = p.bitDepth / 8, rowBytes = p.samples.size() / p.height * bytes;
    Bytes packed;
    for (uint16_t sample : p.samples) {
        if (bytes == 2) packed.push_back(uint8_t(sample >> 8));
        packed.push_back(uint8_t(sample));
    }
    std::vector<png_bytep> rows;
    for (uint32_t y = 0; y < p.height; ++y) rows.push_back(&packed[y * rowBytes]);
    EXPECT_TRUE(LibpngCall(png, [&] {
        png_set_IHDR(png, info, p.width, p.height, p.bitDepth, p.colourType, p.interlace, 0, 0);
        if (!p.palette.empty()) png_set_PLTE(png, info, p.palette.data(), int(p.palette.size()));
        png_write_info(png, info);
        png_write_image(png, rows.data());
        png_write_end(png, nullptr);
    }));
    png_destroy_write_struct(&png, &info);
    return file;
}

// Reads a whole file: header, palette, tEXt chunks, samples (indices one to a sample).
inline LibpngPicture DecodeWithLibpng(const Bytes& file) {
    LibpngPicture p;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::pair<const Bytes*, size_t> source{&file, 0};
    png_set_read_fn(png, &source, [](png_structp s, png_bytep out, size_t size) {
        auto* from = static_cast<std::pair<const Bytes*, size_t>*>(png_get_io_ptr(s));
        if (from->second + size > from->first->size()) png_error(s, "ends early");
        std::copy_n(from->first->begin() + long(from->second), size, out);
        from->second += size;
    });
    Bytes data;
    std::vector<png_bytep> rows;
    png_colorp colours = nullptr;
    png_textp texts = nullptr;
    int colourCount = 0, textCount = 0;
    EXPECT_TRUE(LibpngCall(png, [&] {
        png_read_info(png, info);
        png_get_IHDR(png, info, &p.width, &p.height, &p.bitDepth, &p.colourType, &p.interlace,
                     nullptr, nullptr);
        png_set_packing(png);
        png_read_update_info(png, info);
        data.resize(png_get_rowbytes(png, info) * p.height);
        for (uint32_t y = 0; y < p.height; ++y) rows.push_back(&data[y * data.size() / p.height]);
        png_read_image(png, rows.data());
        png_read_end(png, info);
        png_get_PLTE(png, info, &colours, &colourCount);
        textCount = png_get_text(png, info, &texts, nullptr);
    }));
    if (colours) p.palette.assign(colours, colours + colourCount);
    for (int i = 0; i < textCount; ++i) p.texts.emplace_back(texts[i].key, texts[i].text);
    png_destroy_read_struct(&png, &info, nullptr);
    const size_t step = p.bitDepth == 16 ? 2 : 1;
    for (size_t i = 0; i < data.size(); i += step)
        p.samples.push_back(step == 2 ? uint16_t(data[i] << 8 | data[i + 1]) : data[i]);
    return p;
}

// What an image editor makes of an indexed picture: its colours as grey, RGB, with alpha or
// not, at 8 or 16 bits (16-bit as v x `wide`), maybe interlaced, without the tEXt chunks. Pixel
// number `foreign` gets the colour `colour`.
inline Bytes EditorCopy(const Bytes& indexed, int type, int depth, unsigned wide = 257,
                        int interlace = 0, size_t foreign = SIZE_MAX,
                        png_color colour = {1, 2, 3}) {
    const LibpngPicture read = DecodeWithLibpng(indexed);
    LibpngPicture copy{read.width, read.height, type, depth, interlace, {}, {}, {}};
    const unsigned factor = depth == 16 ? wide : 1;
    for (size_t i = 0; i < read.samples.size(); ++i) {
        const png_color c = i == foreign ? colour : read.palette.at(read.samples[i]);
        copy.samples.push_back(uint16_t(c.red * factor));
        if (type & PNG_COLOR_MASK_COLOR) {
            copy.samples.push_back(uint16_t(c.green * factor));
            copy.samples.push_back(uint16_t(c.blue * factor));
        }
        if (type & PNG_COLOR_MASK_ALPHA) copy.samples.push_back(uint16_t(255 * factor));
    }
    return EncodeWithLibpng(copy);
}

} // namespace drovak::test
