#pragma once

#include "base/Stream.h"

#include <cstdint>

namespace drovak {

// Seeks the source to offset and expands masked-tile records into 32-byte tiles appended at the
// destination's position, until a count byte of 0x80 or more. A source that ends before the end
// marker keeps the whole tiles decoded so far (the unfinished one is dropped); an offset at or
// past the source's end decodes nothing (and does not grow a memory source).
void MaskedTileDecode(Stream& source, Stream& destination, uint32_t offset);

} // namespace drovak
