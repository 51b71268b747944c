#pragma once

#include "base/Stream.h"
#include "rom/PointerTable.h"

#include <cstdint>
#include <vector>

namespace drovak {

// The DecodedSize an entry gets when `input` replaces its data. The game unpacks DecodedSize
// bytes into a buffer made for them, and a decompress saves what the decoder wrote, which runs
// up to 59 bytes past DecodedSize to the end of its last item. So the old DecodedSize stays
// when the input is longer than it and every byte past it is the byte the old stream decodes
// there (that overshoot, unedited; what lies inside the first DecodedSize bytes may have been
// edited); otherwise it is the input's length. `rom` holds the old stream at
// table + old.DataOffset; a stream that does not decode counts as no overshoot.
uint32_t NewDecodedSize(Stream& rom, uint32_t table, const TableEntry& old,
                        const std::vector<uint8_t>& input);

} // namespace drovak
