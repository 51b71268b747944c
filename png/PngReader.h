#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace drovak {

// The largest picture the reader takes: at most 16384 pixels a side, and at most as many pixels
// as 16 MiB of 4-bit tile data make (32 Mi). Larger ones are refused before any pixel is read.
constexpr uint32_t PNG_READ_MAX_SIDE = 16384;
constexpr uint64_t PNG_READ_MAX_PIXELS = uint64_t(32) << 20;
// The largest PNG file that ReadPngFile reads.
constexpr uint64_t PNG_READ_MAX_FILE_SIZE = uint64_t(512) << 20;

// How the pixels of a read picture are held.
enum class PngPixels : uint8_t {
    Indices,  // palette images: one byte per pixel, the palette index (any bit depth)
    Rgb,      // three samples per pixel: red, green, blue (grey images too, grey in all three)
    RgbAlpha, // four samples per pixel: red, green, blue, alpha (grey with alpha too)
};

// A picture as read from a PNG file. Grey samples of 1, 2 or 4 bits are scaled to 8 bits as the
// PNG standard does (a 4-bit grey g becomes g x 17). Gamma, colour profiles, tRNS and every
// ancillary chunk but tEXt are ignored: samples are as stored.
struct DecodedPng {
    uint32_t width = 0;
    uint32_t height = 0;
    PngPixels pixels = PngPixels::Rgb;
    // Bits per sample in `data`: 8, or 16 for Rgb and RgbAlpha pictures stored at 16 bits.
    uint8_t sampleBits = 8;
    // The file's own header.
    uint8_t colourType = 0;
    uint8_t bitDepth = 0;
    uint8_t interlaceMethod = 0;
    // Indices: the PLTE colours, each red + green x 256 + blue x 65536.
    std::vector<uint32_t> palette;
    // The rows, top first, without padding; a 16-bit sample is two bytes, high byte first.
    std::vector<uint8_t> data;
    // The tEXt chunks, keyword and text, in file order.
    std::vector<std::pair<std::string, std::string>> texts;

    size_t BytesPerPixel() const;
    // Sample s (0 red or index, 1 green, 2 blue, 3 alpha) of the pixel at (x, y).
    uint32_t Sample(uint32_t x, uint32_t y, unsigned s) const;
    // The text of the first tEXt chunk with that keyword.
    std::optional<std::string> Text(std::string_view keyword) const;
};

// Whether the bytes start with the PNG signature.
bool HasPngSignature(std::span<const uint8_t> bytes);

// Reads a PNG file held in memory with libpng; `name` names it in messages. Any input is safe:
// RefusedError for what is not a PNG file, is damaged, or is larger than the limits above;
// FileError when the data ends before the picture does.
DecodedPng ReadPng(std::span<const uint8_t> bytes, const std::string& name);
// The same for a file (FileError when it can't be read).
DecodedPng ReadPngFile(const std::string& path);

} // namespace drovak
