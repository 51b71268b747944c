#pragma once

#include <cstdint>
#include <vector>

namespace drovak {

// A deterministic synthetic ROM image with the layout the program reads (rom/RomLayout.h): the
// pointer table with the levels' tile art and block data and a tile sheet in every other
// entry, the level palettes, the preview palette, an RLE sprite sheet and the title-screen data.
// Its pictures show "DEMO" lettering, patterns and several palettes. Its header checksum is right.
std::vector<uint8_t> MakeDemoRom();

} // namespace drovak
