#include "demo/DemoRom.h"

#include "base/ByteOrder.h"
#include "compression/Lzh.h"
#include "compression/MaskedTileEncoder.h"
#include "compression/Rle.h"
#include "demo/DemoLevel.h"
#include "demo/DemoPalettes.h"
#include "demo/DemoSheets.h"
#include "demo/DemoTitle.h"
#include "rom/HeaderChecksum.h"
#include "rom/PointerTable.h"
#include "rom/RomLayout.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace drovak {

namespace {

constexpr size_t ROM_SIZE = 0x80000;
constexpr uint32_t TABLE_ENTRIES = WORK_TABLE_CAPACITY;
constexpr uint32_t TABLE_END =
    POINTER_TABLE_OFFSET + TABLE_LEADING_WORD_SIZE + TABLE_ENTRY_SIZE * TABLE_ENTRIES;
// The table's streams must end before the RLE block.
constexpr uint32_t TABLE_DATA_LIMIT = DEFAULT_RLE_OFFSET;
constexpr uint32_t RLE_LIMIT = PREVIEW_PALETTE_OFFSET;
constexpr std::string_view TAG = "DROVAK DEMO ROM - SYNTHETIC DATA";
constexpr uint32_t TAG_OFFSET = 0x100;

void Place(std::vector<uint8_t>& rom, uint32_t offset, const std::vector<uint8_t>& bytes,
           uint32_t limit, const char* what) {
    if (offset + bytes.size() > limit) {
        throw std::logic_error(std::string("demo ROM: ") + what + " does not fit before " +
                               HexText(limit));
    }
    std::copy(bytes.begin(), bytes.end(), rom.begin() + offset);
}

std::vector<uint8_t> LzhPack(const std::vector<uint8_t>& data) {
    return LzhEncode(data);
}

std::vector<uint8_t> RlePack(const std::vector<uint8_t>& data) {
    RleEncodeResult result = RleEncode(data);
    if (result.unsupportedRepeatCount) throw std::logic_error("demo ROM: RLE run too long");
    return std::move(result.bytes);
}

// What each table entry holds: level tile art at 8.., level block data at 16.., tile sheets
// elsewhere.
std::vector<std::vector<uint8_t>> TableEntryData() {
    std::vector<std::vector<uint8_t>> entries(TABLE_ENTRIES);
    for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
        demo::DemoLevel data = demo::MakeDemoLevel(level);
        entries[TileArtEntry(level)] = std::move(data.tileArt);
        entries[BlockDataEntry(level)] = std::move(data.blockData);
    }
    for (unsigned entry = 0; entry < TABLE_ENTRIES; ++entry) {
        if (entries[entry].empty()) entries[entry] = demo::MakeTileSheet(entry);
    }
    return entries;
}

void WritePointerTable(std::vector<uint8_t>& rom) {
    MemoryStream table;
    uint32_t position = TABLE_END;
    std::vector<std::vector<uint8_t>> entries = TableEntryData();
    for (uint32_t index = 0; index < TABLE_ENTRIES; ++index) {
        std::vector<uint8_t> packed = LzhPack(entries[index]);
        Place(rom, position, packed, TABLE_DATA_LIMIT, "the table's data");
        TableEntry entry{position - POINTER_TABLE_OFFSET, uint32_t(entries[index].size()),
                         uint32_t(packed.size())};
        WriteTableEntry(table, POINTER_TABLE_OFFSET, index, entry);
        position += uint32_t(packed.size());
    }
    std::copy(table.Data().begin() + POINTER_TABLE_OFFSET, table.Data().end(),
              rom.begin() + POINTER_TABLE_OFFSET);
}

void WritePalettes(std::vector<uint8_t>& rom) {
    Place(rom, PREVIEW_PALETTE_OFFSET, demo::PaletteBytes(demo::PreviewPalette()), ROM_SIZE,
          "the preview palette");
    for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
        Place(rom, LevelPaletteOffset(level), demo::PaletteBytes(demo::LevelPalette(level)),
              ROM_SIZE, "a level palette");
    }
}

void WriteTitle(std::vector<uint8_t>& rom) {
    std::vector<uint8_t> palette = demo::PaletteBytes(demo::TitlePalette());
    palette.resize(2 * demo::TITLE_PALETTE_COLOURS);
    Place(rom, TITLE_PALETTE_OFFSET, palette, TITLE_NAME_TABLE_OFFSET, "the title palette");

    demo::DemoTitle title = demo::MakeDemoTitle();
    Place(rom, TITLE_NAME_TABLE_OFFSET, MaskedTileEncode(title.nameTable), TITLE_ART_OFFSET,
          "the title name table");
    Place(rom, TITLE_ART_OFFSET, RlePack(title.art), uint32_t(ROM_SIZE), "the title art");
}

} // namespace

std::vector<uint8_t> MakeDemoRom() {
    std::vector<uint8_t> rom(ROM_SIZE, 0);
    std::copy(TAG.begin(), TAG.end(), rom.begin() + TAG_OFFSET);
    WritePointerTable(rom);
    Place(rom, DEFAULT_RLE_OFFSET, RlePack(demo::MakeSpriteSheet()), RLE_LIMIT, "the RLE block");
    WritePalettes(rom);
    WriteTitle(rom);
    StoreChecksum(rom);
    return rom;
}

} // namespace drovak
