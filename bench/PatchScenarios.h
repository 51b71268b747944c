#pragma once

// The changes bench_patch makes patches of: a 4 MiB image (the demo ROM followed by generated
// code-like and tile-like data and blank space) before and after one, three, or an RLE edit.

#include "demo/DemoRom.h"
#include "rom/LzhPage.h"
#include "rom/RlePage.h"
#include "rom/RomLayout.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace drovak::bench {

constexpr size_t SCENARIO_ROM_SIZE = 4u << 20;

inline std::vector<uint8_t> FourMegabyteRom() {
    std::vector<uint8_t> rom = MakeDemoRom();
    std::mt19937 random(7);
    while (rom.size() < SCENARIO_ROM_SIZE) {
        const size_t chunk = 4096 + random() % 60000;
        switch (random() % 4) {
        case 0: // code-like: a few hundred distinct instruction words, each used a lot
            for (size_t i = 0; i < chunk / 2; ++i) {
                const uint32_t word = random() % 400;
                rom.push_back(uint8_t(0x40 + word / 8));
                rom.push_back(uint8_t(word * 37));
            }
            break;
        case 1: // pieces of what came before (repeated tables and art)
            for (size_t i = 0, from = random() % (rom.size() - chunk); i < chunk; ++i) {
                rom.push_back(rom[from + i]);
            }
            break;
        case 2: // tile rows of a few patterns
            for (size_t i = 0; i < chunk / 4; ++i) {
                const uint32_t row =
                    0x11111111u * (random() % 16) ^ (random() % 8 == 0 ? random() : 0);
                for (int shift = 24; shift >= 0; shift -= 8) rom.push_back(uint8_t(row >> shift));
            }
            break;
        default: // blank space
            rom.insert(rom.end(), chunk, 0xFF);
        }
    }
    rom.resize(SCENARIO_ROM_SIZE);
    return rom;
}

// The ROM with the LZHUF entries `indexes` of the main table decoded, changed in a few places
// (a run of tiles drawn over, a few pixels) and compressed back as "Compress" does: the entries
// after each one move when its size changes.
inline std::vector<uint8_t> EditEntries(std::vector<uint8_t> rom,
                                        const std::vector<uint32_t>& indexes) {
    for (const uint32_t index : indexes) {
        const RomBytes image{"rom", rom};
        std::vector<uint8_t> data = LzhExtractEntry(image, POINTER_TABLE_OFFSET, index).data;
        data.resize(LzhTargetEntry(image, POINTER_TABLE_OFFSET, index).DecodedSize);
        for (size_t i = data.size() / 3; i < data.size() / 3 + 256 && i < data.size(); ++i) {
            data[i] = uint8_t(0x12 + (i & 3));
        }
        for (size_t i = data.size() / 2; i < data.size(); i += 1500) data[i] ^= 0x0F;
        const LzhInsertPlan plan = PlanLzhInsert(image, data, POINTER_TABLE_OFFSET, index);
        rom = ApplyLzhInsert(plan, image);
    }
    return rom;
}

// The ROM with the RLE block the RLE page starts on changed: a few rows of the sprite sheet
// cleared, a stripe drawn.
inline std::vector<uint8_t> EditRleBlock(std::vector<uint8_t> rom) {
    const RomBytes image{"rom", rom};
    std::vector<uint8_t> data = RleExtractAt(image, DEFAULT_RLE_OFFSET).data;
    for (size_t i = data.size() / 4; i < data.size() / 4 + 512 && i < data.size(); ++i) data[i] = 0;
    for (size_t i = data.size() / 2; i < data.size(); i += 64) data[i] = 0x77;
    return ApplyRleInsert(PlanRleInsert(image, data, DEFAULT_RLE_OFFSET), image);
}

} // namespace drovak::bench
