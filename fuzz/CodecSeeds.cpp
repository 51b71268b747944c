// Seeds of the codec and hexadecimal-field targets.
#include "base/Stream.h"
#include "compression/Lzh.h"
#include "compression/MaskedTileEncoder.h"
#include "compression/Rle.h"
#include "demo/DemoRom.h"
#include "fuzz/Seeds.h"
#include "rom/LzhPage.h"
#include "rom/RomLayout.h"

#include <string>
#include <vector>

namespace drovak::fuzz {

namespace {

// A piece of real-looking tile data: the start of the demo ROM's first tile sheet.
Bytes DemoTiles(size_t length) {
    const RomBytes rom{"demo", MakeDemoRom()};
    Bytes tiles = LzhExtractEntry(rom, POINTER_TABLE_OFFSET, TILE_ART_ENTRY).data;
    tiles.resize(length);
    return tiles;
}

} // namespace

void AddCodecSeeds(SeedSet& seeds) {
    const Bytes tiles = DemoTiles(1024);

    // Decoded size (16 bits, big-endian), then the stream.
    auto& lzh = seeds["lzh_decode"];
    lzh["abc"] = {0x00, 0x03, 0xF6, 0xFB, 0xBD, 0xE0};
    lzh["a-times-10"] = {0x00, 0x0A, 0xF6, 0xC9, 0x00, 0x00};
    lzh["abc-times-4"] = {0x00, 0x0C, 0xF6, 0xFB, 0xBD, 0xF2, 0x40, 0x20};
    lzh["tiles"] = Cat({0x04, 0x00}, LzhEncode(tiles));

    // A whole block; the decoded length is its header's low 16 bits.
    auto& rle = seeds["rle_decode"];
    rle["zero-word"] = {0x00, 0x00, 0x00, 0x04, 0x07};
    rle["12345678"] = {0x00, 0x00, 0x00, 0x04, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80};
    rle["ff-times-16"] = {0x00, 0x00, 0x00, 0x10, 0xFD, 0x1F};
    rle["11-times-256"] = {0x00, 0x00, 0x01, 0x00, 0x1E, 0x01, 0xFF};
    rle["zeros-40000"] = {0x00, 0x00, 0x9C, 0x40, 0x0F, 0x38, 0x7F};
    rle["run-cut"] = {0x00, 0x00, 0x00, 0x04, 0x0F, 0x00, 0x00};
    rle["tiles"] = RleEncode(tiles).bytes;

    // Offset byte, then the records.
    auto& masked = seeds["masked_tile_decode"];
    masked["end"] = {0x00, 0x80};
    masked["literals"] = Cat({0x00, 0x00}, Bytes(tiles.begin(), tiles.begin() + 32), Bytes{0x80});
    masked["one-mask"] = {0x00, 0x01, 0x05, 0xFF, 0xFF, 0xFF, 0xFF, 0x80};
    masked["two-masks"] =
        Cat({0x00, 0x02, 0x01, 0xF0, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01},
            Bytes(27, 0x33), Bytes{0x80});
    masked["tiles"] = Cat({0x00}, MaskedTileEncode(tiles));

    // A form byte (see RunsInput.h: as they are, runs, or drawn from an alphabet), then the data.
    for (const char* target : {"lzh_round_trip", "rle_round_trip"}) {
        auto& trip = seeds[target];
        trip["abc"] = Cat({0x00}, Text("abc"));
        trip["abc-times-4"] = Cat({0x00}, Text("abcabcabcabc"));
        trip["nibble-runs"] = {0x00, 0x01, 0x11, 0x10, 0x00};
        trip["tiles"] = Cat({0x00}, tiles);
        trip["zeros-65536"] = {0x80, 0x00, 0xFF, 0xFF};
        trip["zeros-65537"] = {0x80, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00};
        trip["long-mixed"] = {0x80, 0x20, 0x7F, 0xFF, 0x41, 0x00, 0x10, 0x20, 0x7F, 0xFF};
        // 44 KiB drawn from every byte value (past the LZH model's rebuild), and from twelve.
        Bytes everyValue = {0x40, 0xD4, 0x43};
        for (unsigned v = 0; v < 256; ++v) everyValue.push_back(uint8_t(v));
        trip["drawn-every-value"] = everyValue;
        trip["drawn-twelve"] = Cat({0x40, 0xD4, 0x43}, Text("abcdefghijkl"));
    }

    auto& hex = seeds["hex_field"];
    const char* texts[] = {"20000", "$1f", "0x10", "0X10", " 48120\t", "123456789",
                           "1Fg7",  "",    "x10",  "-5",   "FFFFFFFF", "0x"};
    for (unsigned i = 0; i < sizeof texts / sizeof *texts; ++i)
        hex["text-" + std::to_string(i)] = Text(texts[i]);
}

} // namespace drovak::fuzz
