// Seeds of the manifest target: the manifest of the demo ROM's unpack, and a small one; a
// level's maps and a palette.
#include "demo/DemoRom.h"
#include "fuzz/Seeds.h"
#include "mod/GimpPalette.h"
#include "mod/LevelMap.h"
#include "mod/Manifest.h"
#include "rom/LzhPage.h"
#include "rom/LzhTableList.h"
#include "rom/RomLayout.h"

#include <string>

namespace drovak::fuzz {

void AddModSeeds(SeedSet& seeds) {
    const RomBytes rom{"demo.bin", MakeDemoRom()};
    Manifest manifest;
    manifest.romName = rom.name;
    manifest.romPath = "../" + rom.name;
    manifest.romSize = rom.bytes.size();
    manifest.romCrc = 0x3F883F79;
    manifest.table = POINTER_TABLE_OFFSET;
    for (const LzhListEntry& listed : ListLzhTable(rom, manifest.table)) {
        ModFile file;
        file.index = listed.index;
        file.dataOffset = listed.entry.DataOffset;
        file.decodedSize = listed.entry.DecodedSize;
        file.packedSize = listed.entry.PackedSize;
        file.size = listed.entry.DecodedSize;
        file.crc = 0x01234567u * (listed.index + 1);
        file.name = DataFileName(manifest, file);
        if (auto layout = LzhSheetLayout(manifest.table, file.index)) {
            file.sheet = SheetRecord{SheetFileName(manifest, file), file.crc ^ 0xFFFF, *layout};
        }
        manifest.files.push_back(file);
    }
    for (uint32_t offset : KnownRleBlocks()) {
        ModFile file;
        file.kind = ModKind::RleBlock;
        file.offset = offset;
        file.decodedSize = file.size = 640;
        file.packedSize = 324;
        file.name = DataFileName(manifest, file);
        file.sheet = SheetRecord{SheetFileName(manifest, file), 0xCAFEF00D, RleSheetLayout(offset)};
        manifest.files.push_back(file);
    }
    auto& target = seeds["manifest"];
    target["demo.toml"] = Text(ManifestText(manifest));
    manifest.files.resize(1);
    target["one-file.toml"] = Text(ManifestText(manifest));
    manifest.files.clear();
    target["no-files.toml"] = Text(ManifestText(manifest));
    // Level 1's maps (the fuzz target reads them against the demo's level 1) and a palette.
    const std::vector<uint8_t> blocks = LzhExtractEntry(rom, POINTER_TABLE_OFFSET, 16).data;
    target["level01.tmx"] = Text(TmxText(LevelTmx(blocks, 0)));
    target["level01-blocks.tmx"] = Text(TmxText(BlockTmx(blocks, 0)));
    target["title.gpl"] = Text(GimpPaletteText(std::vector<uint16_t>(17, 0x0ACE), "title"));
}

} // namespace drovak::fuzz
