#pragma once

#include <cstdint>
#include <vector>

namespace drovak {

// A deterministic synthetic ROM image with the layout the program reads: the pointer table at
// 0x20000 (level tile art at entries 8.., block data at 16..), level palettes at 0x5FC00,
// the preview palette at 0x5A000, an RLE block at 0x48120 and the title data at 0x6DA56,
// 0x6DA78 and 0x6DDB4. Its pictures show "DEMO" lettering, patterns and several palettes.
std::vector<uint8_t> MakeDemoRom();

} // namespace drovak
