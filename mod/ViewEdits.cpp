#include "mod/ViewEdits.h"

#include "base/ByteOrder.h"
#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/FolderFiles.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "mod/GimpPalette.h"
#include "mod/LevelMap.h"
#include "mod/ModProblem.h"
#include "mod/TmxMap.h"
#include "mod/Views.h"
#include "rom/LzhPage.h"

#include <algorithm>
#include <string_view>

namespace drovak {

namespace {

// Far more than a map or palette of a folder holds (a level map is about 30 KiB).
constexpr uint64_t MAX_VIEW_BYTES = 64u << 20;

void ReadPalette(ViewChange& change, std::string_view text, const RomBytes& base,
                 ViewEdits& edits) {
    const ViewRecord& view = change.record;
    const std::vector<uint16_t> old = PaletteWordsAt(base, view.offset, view.colours);
    const PaletteFromColours words =
        PaletteWords(ParseGimpPalette(text, change.path, view.colours), old);
    change.coloursChanged = words.changed;
    change.snapped = words.snapped;
    if (words.changed.empty()) return;
    PaletteWrite write{view.offset, std::vector<uint8_t>(2 * words.words.size())};
    for (size_t k = 0; k < words.words.size(); ++k) {
        StoreBigEndian16(write.bytes.data() + 2 * k, words.words[k]);
    }
    edits.palettes.push_back(std::move(write));
}

} // namespace

ViewEdits ReadViewEdits(const std::string& dir, const Manifest& manifest, const RomBytes& base) {
    ViewEdits edits;
    std::map<uint32_t, std::vector<uint8_t>> unpacked; // each level's block data, read once
    for (const ViewRecord& view : manifest.views) {
        if (view.kind == ViewKind::Drawing) continue;
        const std::string path = PathIn(dir, view.name);
        FileInfo present;
        if (!StatLink(path, present)) continue;
        const std::vector<uint8_t> bytes =
            ReadFileInsideFolder(dir, view.name, MAX_VIEW_BYTES, SizeLimit::MapOrPalette);
        if (Crc32(bytes) == view.crc) continue;
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        ViewChange change{view, path, 0, {}, {}};
        if (view.kind == ViewKind::Palette) {
            ReadPalette(change, text, base, edits);
        } else {
            const uint32_t index = BlockDataEntry(view.level);
            if (std::none_of(manifest.files.begin(), manifest.files.end(), [&](const ModFile& f) {
                    return f.kind == ModKind::LzhEntry && f.index == index;
                })) {
                ThrowModProblem(
                    ModProblem{.kind = ModProblemKind::MapWithoutBlockData, .file = path});
            }
            if (!unpacked.count(index)) {
                unpacked[index] = LzhExtractEntry(base, manifest.table, index).data;
            }
            EntryFromViews& entry = edits.entries[index];
            if (entry.sources.empty()) entry.data = unpacked[index];
            const TmxMap read = ParseTmx(text, path);
            change.cellsChanged =
                view.kind == ViewKind::LevelMap
                    ? ApplyLevelTmx(read, unpacked[index], entry.data, view.level, path)
                    : ApplyBlockTmx(read, unpacked[index], entry.data, view.level, path);
            if (change.cellsChanged) entry.sources.push_back(path);
        }
        edits.changes.push_back(std::move(change));
    }
    std::erase_if(edits.entries, [](const auto& entry) { return entry.second.sources.empty(); });
    return edits;
}

void TakeViewData(const ViewEdits& edits, const ModFile& file, FolderData& now) {
    if (file.kind != ModKind::LzhEntry) return;
    const auto found = edits.entries.find(file.index);
    if (found == edits.entries.end()) return;
    const EntryFromViews& maps = found->second;
    if (now.changed && now.data != maps.data) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::MapsDisagree,
                                   .text = now.source,
                                   .names = maps.sources,
                                   .record = file});
    }
    now.data = maps.data;
    now.changed = true;
    now.source = maps.sources.front();
}

} // namespace drovak
