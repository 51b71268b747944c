#pragma once

// The small ROM images and inputs the ROM pages' tests share.

#include "compression/Lzh.h"
#include "rom/RomFile.h"
#include "support/TestSupport.h"

#include <map>
#include <random>

namespace drovak::test {

constexpr uint32_t T = 0x400;

// Random bytes whose LZH stream is exactly `size` bytes long (found once per size).
inline Bytes InputPackingTo(uint32_t size) {
    static std::map<uint32_t, Bytes> found;
    Bytes& input = found[size];
    std::mt19937 random(size);
    while (LzhEncode(input).size() != size && input.size() < 4 * size)
        input.push_back(uint8_t(random()));
    EXPECT_EQ(LzhEncode(input).size(), size);
    return input;
}

// The table of three entries at T: data at T + 0x26, 0x126 and 0x226, 0x100 bytes each, with
// DecodedSize 0x1111, 0x2222, 0x3333; pattern bytes all around, 0x40 of them after the data.
inline Bytes ThreeEntryRom(uint32_t table = T) {
    Bytes rom = Pattern(table + 0x366, 0x5A);
    for (uint32_t k = 0; k < 3; ++k) {
        Put32(rom, table + 2 + 12 * k, 0x26 + 0x100 * k);
        Put32(rom, table + 6 + 12 * k, 0x1111 * (k + 1));
        Put32(rom, table + 10 + 12 * k, 0x100);
    }
    return rom;
}

inline RomBytes Image(const Bytes& bytes) {
    return {"tf3.bin", bytes};
}

} // namespace drovak::test
