#pragma once

#include "base/Progress.h"
#include "base/Stream.h"
#include "png/ParallelDeflate.h"
#include "png/Png.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

namespace drovak {

// The picture a PngWriter writes: colour type 2 (RGB) or 6 (RGB with alpha) at 8 or 16 bits per
// sample, or 3 (palette) at 4 or 8 bits; each side 1 to 2^31 - 1 pixels; not interlaced.
struct PngHeader {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t colourType = PNG_COLOUR_RGB;
    uint8_t bitDepth = 8;
};

// Whether the writer writes pictures of this header.
bool PngWritable(const PngHeader& header);
// The bytes of one raw row without its filter-type byte: PngPixelSize (png/PngRows.h) per pixel,
// or the packed indices of a palette image (two a byte at 4 bits, the left pixel in the high
// half, an odd last pixel padded with 0). 0 for a header the writer doesn't write.
size_t PngRowLength(const PngHeader& header);

// How the image data is filtered and compressed: one zlib stream (15-bit window, memory level 8,
// default strategy) of the filtered rows, compressed in parts of whole rows of about partSize raw
// bytes (at least one row) side by side on `threads` threads (0: one per core), and cut into IDAT
// chunks of maxIdatSize bytes (the last one shorter). The file depends on the part size, not on
// the number of threads. Only the rows of the parts in hand are held raw, never the whole image.
struct PngCompression {
    int level = 7; // 0 (store) to 9 (smallest); values outside are clamped
    // See PngRowFilter (png/PngFilters.h) for how a row's filter is chosen.
    PngFilterSet filters = PngFilterSet::Sub;
    uint32_t maxIdatSize = PNG_DEFAULT_IDAT_SIZE; // at least 1
    size_t partSize = PNG_DEFAULT_PART_SIZE;
    unsigned threads = 0;
    Level9Search search = Level9Search::Quick;
};

// Puts raw row y (PngRowLength bytes, before filtering) at out. Called on the compressing
// threads, several rows at once, so it must only read what it shares.
using PngRowSource = std::function<void(uint32_t y, uint8_t* out)>;

// One framed chunk in a single Write: data length (big-endian), name, data, and the CRC-32 of
// the name and the data. RefusedError for data longer than a chunk holds.
void WritePngChunk(Stream& out, const char* name, std::span<const uint8_t> data);

// Writes a PNG file in file order:
//
//     PngWriter png(stream, {width, height, PNG_COLOUR_RGB_ALPHA, 16}); // signature, IHDR
//     png.Palette(colours);              // PLTE: palette images, before the image data
//     png.ImageData(rows, compression);  // IDAT chunks
//     png.Text(keyword, text);           // tEXt chunks
//     png.End();                         // IEND
class PngWriter {
public:
    // RefusedError, before anything is written, for a header the writer doesn't write.
    PngWriter(Stream& out, const PngHeader& header);

    // 1 to 2^bitDepth colours, each red + green x 256 + blue x 65536; RefusedError for another
    // count or for a picture that has no palette.
    void Palette(std::span<const uint32_t> colours);
    // RefusedError, before any IDAT is written, for a palette image without its palette or with
    // a pixel whose index is beyond it. After each compressed part is written, on the calling
    // thread, progress hears of the rows written so far (of the image's height, "rows") and is
    // asked whether to go on: CancelledError when it says stop.
    void ImageData(const PngRowSource& rows, const PngCompression& compression, Progress& progress);
    void ImageData(const PngRowSource& rows, const PngCompression& compression);
    // Keyword 1 to 79 printable Latin-1 characters without leading, trailing or double spaces,
    // text without NUL; RefusedError otherwise.
    void Text(std::string_view keyword, std::string_view text);
    void End();

private:
    Stream& out_;
    PngHeader header_;
    size_t paletteSize_ = 0;
};

} // namespace drovak
