#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace drovak {

// Expands the masked-tile records from offset `offset` of source into 32-byte tiles, until a
// count byte of 0x80 or more. A source that ends before the end marker keeps the whole tiles
// decoded so far (the unfinished one is dropped); an offset at or past the source's end decodes
// nothing.
std::vector<uint8_t> MaskedTileDecode(std::span<const uint8_t> source, uint32_t offset);

} // namespace drovak
