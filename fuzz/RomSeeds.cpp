// Seeds of the page, level and title targets: the numbers each target takes to build and change
// its image, in the order it takes them (see the targets), and the data to compress.
#include "demo/DemoRom.h"
#include "fuzz/SeedBuilder.h"
#include "fuzz/Seeds.h"
#include "rom/RomLayout.h"

#include <string>
#include <vector>

namespace drovak::fuzz {

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Noise(size_t length) {
    Bytes bytes(length);
    uint32_t seed = 1;
    for (uint8_t& byte : bytes) byte = uint8_t((seed = seed * 1103515245u + 12345u) >> 24);
    return bytes;
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

} // namespace

void AddRomSeeds(SeedSet& seeds) {
    auto& lzh = seeds["lzh_insert"];
    const std::vector<std::pair<unsigned, unsigned>> three = {{40, 1}, {120, 2}, {64, 0}};
    // Grows (noise packs larger), shrinks (an empty input), the same input, a changed field.
    lzh["grow"] =
        LzhImage(0x20, three, 16, false).Number(0, 0, 6).Number(1, 0, 8).Rest(Noise(300)).Bytes();
    lzh["shrink"] = LzhImage(0x200, three, 0, true).Number(0, 0, 6).Number(0, 0, 8).Bytes();
    lzh["text"] = LzhImage(0x100, {{300, 1}, {10, 2}, {0, 0}, {200, 2}}, 40, true)
                      .Number(0, 0, 6)
                      .Number(2, 0, 8)
                      .Rest("DROVAK tiles DROVAK tiles DROVAK")
                      .Bytes();
    lzh["field-changed"] = LzhImage(0x40, three, 8, false)
                               .Number(1, 0, 6)
                               .Number(1, 0, 2)
                               .Number(4, 0, 8) // entry 1's DataOffset
                               .Number(uint64_t(-8), uint64_t(-64), 64)
                               .Number(1, 0, 8)
                               .Rest(Noise(50))
                               .Bytes();

    auto& rle = seeds["rle_insert"];
    rle["grow"] = SeedBuilder()
                      .Number(0x300, 0x100, 0x500)
                      .Byte(2)
                      .Number(0x210, 0, 0x308)
                      .Number(40, 0, 300)
                      .Byte(1)
                      .Bool(true)
                      .Number(0, 0, 6)
                      .Rest(Noise(100))
                      .Bytes();
    rle["shrink"] = SeedBuilder()
                        .Number(0x400, 0x100, 0x500)
                        .Byte(0)
                        .Number(0x300, 0, 0x408)
                        .Number(200, 0, 300)
                        .Byte(2)
                        .Bool(false)
                        .Number(0, 0, 6)
                        .Rest(Bytes(16, 0x11))
                        .Bytes();
    rle["at-end"] = SeedBuilder()
                        .Number(0x200, 0x100, 0x500)
                        .Byte(1)
                        .Number(0x1F0, 0, 0x208)
                        .Number(100, 0, 300)
                        .Byte(1)
                        .Bool(true)
                        .Number(0, 0, 6)
                        .Rest("abcd")
                        .Bytes();

    auto& level = seeds["level"];
    for (unsigned k = 0; k < LEVEL_COUNT; ++k) {
        level["level-" + std::to_string(k)] = SeedBuilder()
                                                  .Number(k, 0, LEVEL_COUNT)
                                                  .Bool(k % 2)
                                                  .Number(k * 60, 0, 1023)
                                                  .Number(0, 0, 6)
                                                  .Bytes();
    }

    auto& title = seeds["title_screen"];
    const size_t romSize = MakeDemoRom().size();
    title["whole"] = SeedBuilder()
                         .Number(romSize, TITLE_ART_OFFSET, romSize)
                         .Number(0, 0, 6)
                         .Bool(false)
                         .Bytes();
    title["art-cut"] = SeedBuilder()
                           .Number(TITLE_ART_OFFSET + 0x100, TITLE_ART_OFFSET, romSize)
                           .Number(0, 0, 6)
                           .Bool(true)
                           .Bytes();
}

} // namespace drovak::fuzz
