// The readers of an unpacked folder's own files on any text: a manifest, a map (TMX) or a
// palette (GIMP) is read or refused with its own error, never anything else. What a manifest
// reads names only files of the folder and writes back to a manifest that reads the same; a
// map that parses is packed or refused, never written out of its level's data, and the map of
// what it packed to packs to the same again; a palette's words stay console colours, and the
// file of them reads back unchanged.
#include "base/Errors.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzRom.h"
#include "mod/GimpPalette.h"
#include "mod/LevelMap.h"
#include "mod/Manifest.h"
#include "mod/TmxMap.h"
#include "rom/LzhPage.h"
#include "rom/RomLayout.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool Refused(const drovak::RefusedError& error, const char* name) {
    FUZZ_CHECK(std::string(error.what()).rfind(std::string(name) + ": ", 0) == 0);
    return true;
}

void Manifest(const std::string& text) {
    drovak::Manifest manifest;
    try {
        manifest = drovak::ParseManifest(text, "drovak.toml");
    } catch (const drovak::RefusedError& error) {
        Refused(error, "drovak.toml");
        return;
    }
    for (const drovak::ModFile& file : manifest.files) {
        FUZZ_CHECK(file.name == drovak::DataFileName(manifest, file));
        FUZZ_CHECK(file.name.find_first_of("/\\") == std::string::npos);
        FUZZ_CHECK(!file.sheet || file.sheet->name == drovak::SheetFileName(manifest, file));
    }
    for (const drovak::ViewRecord& view : manifest.views)
        FUZZ_CHECK(view.name == drovak::ViewName(view) &&
                   view.name.find("..") == std::string::npos);
    FUZZ_CHECK(drovak::ParseManifest(drovak::ManifestText(manifest), "again") == manifest);
}

void Map(const std::string& text) {
    // The demo's level 1, which the seeds' maps show.
    static const std::vector<uint8_t> blocks =
        drovak::LzhExtractEntry(drovak::RomBytes{"demo.bin", drovak::fuzz::DemoRom()},
                                drovak::POINTER_TABLE_OFFSET, 16)
            .data;
    drovak::TmxMap map;
    try {
        map = drovak::ParseTmx(text, "map.tmx");
    } catch (const drovak::RefusedError& error) {
        Refused(error, "map.tmx");
        return;
    }
    for (const bool blockMap : {false, true}) {
        const auto apply = [blockMap](const drovak::TmxMap& read, std::vector<uint8_t>& data) {
            return blockMap ? drovak::ApplyBlockTmx(read, blocks, data, 0, "map.tmx")
                            : drovak::ApplyLevelTmx(read, blocks, data, 0, "map.tmx");
        };
        std::vector<uint8_t> data = blocks;
        size_t changed = 0;
        try {
            changed = apply(map, data);
        } catch (const drovak::RefusedError& error) {
            Refused(error, "map.tmx");
            continue;
        }
        FUZZ_CHECK(data.size() == blocks.size() && (changed > 0 || data == blocks));
        const drovak::TmxMap again = drovak::ParseTmx(
            drovak::TmxText(blockMap ? drovak::BlockTmx(data, 0) : drovak::LevelTmx(data, 0)),
            "again.tmx");
        std::vector<uint8_t> twice = blocks;
        apply(again, twice);
        FUZZ_CHECK(twice == data);
    }
}

void Palette(const std::string& text) {
    std::vector<uint32_t> colours;
    try {
        colours = drovak::ParseGimpPalette(text, "title.gpl", drovak::TITLE_PALETTE_COLOURS);
    } catch (const drovak::RefusedError& error) {
        Refused(error, "title.gpl");
        return;
    }
    const std::vector<uint16_t> old(drovak::TITLE_PALETTE_COLOURS, 0x1ACF);
    const drovak::PaletteFromColours words = drovak::PaletteWords(colours, old);
    FUZZ_CHECK(words.words.size() == old.size());
    for (const unsigned k : words.changed) FUZZ_CHECK((words.words[k] & ~0x0EEE) == 0);
    const std::string file = drovak::GimpPaletteText(words.words, "again");
    const drovak::PaletteFromColours again = drovak::PaletteWords(
        drovak::ParseGimpPalette(file, "again", drovak::TITLE_PALETTE_COLOURS), words.words);
    FUZZ_CHECK(again.changed.empty() && again.snapped.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0; // far more than any manifest, map or palette of a test
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (text.rfind("GIMP", 0) == 0) {
        Palette(text);
    } else if (text.find("<map") != std::string::npos) {
        Map(text);
    } else {
        Manifest(text);
    }
    return 0;
}
