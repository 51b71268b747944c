#pragma once

#include <cstdint>
#include <vector>

namespace drovak::demo {

// The uncompressed title-screen data: the tile art and the 40 x 28 name table (1120
// big-endian words, row by row). The picture: a striped background inside a frame whose corners
// and far edges are flipped tiles, big "DEMO" letters and the line "TITLE SCREEN".
struct DemoTitle {
    std::vector<uint8_t> art;
    std::vector<uint8_t> nameTable;
};

DemoTitle MakeDemoTitle();

} // namespace drovak::demo
