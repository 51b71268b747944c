// Seeds of the page, level and title targets: the numbers each target takes to build and change
// its image, in the order it takes them (see the targets), and the data to compress.
#include "demo/DemoRom.h"
#include "fuzz/FuzzRom.h"
#include "fuzz/SeedBuilder.h"
#include "fuzz/Seeds.h"
#include "rom/RomLayout.h"

#include <string>
#include <vector>

namespace drovak::fuzz {

namespace {

// Bytes with no repeats to speak of.
Bytes Noise(size_t length) {
    return Content(length, 2, 1);
}

// A table of `count` entries at `table` (lengths and kinds of content), what follows its data,
// and whether a right checksum is stored.
SeedBuilder LzhImage(uint32_t table, const std::vector<std::pair<unsigned, unsigned>>& entries,
                     unsigned tail, bool checksum) {
    SeedBuilder seed;
    seed.Number(table, 0, 0x300).Number(entries.size(), 1, 8);
    for (const auto& [length, kind] : entries) seed.Number(length, 0, 300).Byte(uint8_t(kind));
    seed.Number(tail, 0, 96).Byte(2).Bool(checksum);
    return seed;
}

// An image of `size` bytes (of a kind of content), a block of `length` bytes at `offset`, a right
// checksum or not, no change, then the data to compress.
Bytes RleImage(uint64_t size, uint8_t kind, uint64_t offset, uint64_t length, uint8_t blockKind,
               bool checksum, const Bytes& input) {
    SeedBuilder seed;
    seed.Number(size, 0x100, 0x500).Byte(kind).Number(offset, 0, size + 8).Number(length, 0, 300);
    return seed.Byte(blockKind).Bool(checksum).Number(0, 0, 6).Rest(input).Bytes();
}

} // namespace

void AddRomSeeds(SeedSet& seeds) {
    auto& lzh = seeds["lzh_insert"];
    const std::vector<std::pair<unsigned, unsigned>> three = {{40, 1}, {120, 2}, {64, 0}};
    // Grows (noise packs larger), shrinks (an empty input), the same input, a changed field.
    lzh["grow"] =
        LzhImage(0x20, three, 16, false).Number(0, 0, 6).Number(1, 0, 8).Rest(Noise(300)).Bytes();
    lzh["shrink"] = LzhImage(0x200, three, 0, true).Number(0, 0, 6).Number(0, 0, 8).Bytes();
    SeedBuilder text = LzhImage(0x100, {{300, 1}, {10, 2}, {0, 0}, {200, 2}}, 40, true);
    lzh["text"] =
        text.Number(0, 0, 6).Number(2, 0, 8).Rest("DROVAK tiles DROVAK tiles DROVAK").Bytes();
    // Entry 1's DataOffset changed by -8.
    SeedBuilder changed = LzhImage(0x40, three, 8, false);
    changed.Number(1, 0, 6).Number(1, 0, 2).Number(4, 0, 8).Number(uint64_t(-8), uint64_t(-64), 64);
    lzh["field-changed"] = changed.Number(1, 0, 8).Rest(Noise(50)).Bytes();

    // Grows, shrinks, runs past the end of the image.
    auto& rle = seeds["rle_insert"];
    rle["grow"] = RleImage(0x300, 2, 0x210, 40, 1, true, Noise(100));
    rle["shrink"] = RleImage(0x400, 0, 0x300, 200, 2, false, Bytes(16, 0x11));
    rle["at-end"] = RleImage(0x200, 1, 0x1F0, 100, 1, true, Text("abcd"));

    auto& level = seeds["level"];
    for (unsigned k = 0; k < LEVEL_COUNT; ++k) {
        SeedBuilder seed;
        seed.Number(k, 0, LEVEL_COUNT).Bool(k % 2).Number(k * 60, 0, 1023).Number(0, 0, 6);
        level["level-" + std::to_string(k)] = seed.Bytes();
    }

    auto& title = seeds["title_screen"];
    const size_t romSize = MakeDemoRom().size();
    for (const bool cut : {false, true}) {
        SeedBuilder seed;
        seed.Number(cut ? TITLE_ART_OFFSET + 0x100 : romSize, TITLE_ART_OFFSET, romSize);
        title[cut ? "art-cut" : "whole"] = seed.Number(0, 0, 6).Bool(cut).Bytes();
    }
}

} // namespace drovak::fuzz
