#include "mod/Unpack.h"

#include "base/Errors.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/Stream.h"
#include "base/WholeFile.h"
#include "graphics/TilePalette.h"
#include "graphics/TilesToPng.h"
#include "mod/SheetPalette.h"
#include "patch/Crc32.h"
#include "rom/LzhPage.h"
#include "rom/LzhTableList.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"
#include "words/LzhListWords.h"
#include "words/RomProblemWords.h"

#include <map>
#include <set>

namespace drovak {

namespace {

// A file to write: its name and bytes.
struct Output {
    std::string name;
    std::vector<uint8_t> bytes;
};

// One data file, its sheet (when it has one) and its record.
struct Unpacked {
    ModFile record;
    std::vector<Output> outputs;
};

Unpacked Make(const RomBytes& rom, ModFile record, std::vector<uint8_t> data,
              const std::optional<SheetLayout>& sheet, const Manifest& manifest,
              std::vector<SkippedFile>& skipped) {
    record.name = DataFileName(manifest, record);
    record.size = data.size();
    record.crc = Crc32(data);
    Unpacked unpacked{record, {}};
    if (sheet) {
        const std::string name = SheetFileName(manifest, record);
        try {
            MemoryStream picture;
            WriteTilesPng(data, SheetPalette(rom, *sheet), sheet->columns, picture,
                          TileCell{sheet->cellWidth, sheet->cellHeight});
            unpacked.record.sheet = SheetRecord{name, Crc32(picture.Data()), *sheet};
            unpacked.outputs.push_back({name, picture.Take()});
        } catch (const DrovakError& error) {
            skipped.push_back({name, ErrorText(error)});
        }
    }
    unpacked.outputs.insert(unpacked.outputs.begin(), Output{record.name, std::move(data)});
    return unpacked;
}

std::vector<Unpacked> UnpackAll(const RomBytes& rom, Manifest& manifest,
                                std::vector<SkippedFile>& skipped) {
    std::vector<Unpacked> all;
    const std::vector<LzhListEntry> entries = ListLzhTable(rom, manifest.table);
    if (entries.size() > WORK_TABLE_CAPACITY) {
        throw RefusedError(rom.name + ": the table at " + HexText(manifest.table) + " has " +
                           std::to_string(entries.size()) +
                           " entries; a pack can recalculate at most 32; nothing was written");
    }
    for (const LzhListEntry& listed : entries) {
        if (listed.problem) {
            skipped.push_back({LzhFileStem(manifest.table, listed.index) + ".bin",
                               EntryProblemText(*listed.problem)});
            continue;
        }
        LzhExtractResult extracted = LzhExtractEntry(rom, manifest.table, listed.index);
        ModFile record;
        record.index = listed.index;
        record.dataOffset = extracted.entry.DataOffset;
        record.decodedSize = extracted.entry.DecodedSize;
        record.packedSize = extracted.entry.PackedSize;
        all.push_back(Make(rom, record, std::move(extracted.data),
                           LzhSheetLayout(manifest.table, listed.index), manifest, skipped));
    }
    for (uint32_t offset : KnownRleBlocks()) {
        ModFile record;
        record.kind = ModKind::RleBlock;
        record.offset = offset;
        RleExtractResult extracted;
        try {
            extracted = RleExtractAt(rom, offset);
        } catch (const DrovakError& error) {
            skipped.push_back({DataFileName(manifest, record), ErrorText(error)});
            continue;
        }
        record.decodedSize = uint32_t(extracted.data.size());
        record.packedSize = uint32_t(extracted.consumed);
        all.push_back(
            Make(rom, record, std::move(extracted.data), RleSheetLayout(), manifest, skipped));
    }
    return all;
}

// A folder that is not empty may only hold a previous unpack of this ROM image, every file of
// it unchanged, and other files that this unpack does not write.
bool CheckFolder(const std::string& dir, const Manifest& manifest,
                 const std::vector<Unpacked>& all) {
    const std::vector<std::string> present = FolderEntries(dir);
    if (present.empty()) return false;
    const std::string refused = "; an unpack never writes over what may be an edit, and "
                                "nothing was written";
    if (!FileExists(PathIn(dir, MANIFEST_NAME))) {
        throw RefusedError(dir + ": not empty, and it holds no " + MANIFEST_NAME +
                           " of a previous unpack" + refused);
    }
    const Manifest previous = ReadManifest(dir);
    if (previous.romCrc != manifest.romCrc || previous.romSize != manifest.romSize) {
        throw RefusedError(dir + ": holds an unpack of " + previous.romName + " (CRC-32 " +
                           CrcText(previous.romCrc) + "), not of " + manifest.romName +
                           " (CRC-32 " + CrcText(manifest.romCrc) + ")" + refused);
    }
    std::set<std::string> unchanged{MANIFEST_NAME};
    for (const ModFile& file : previous.files) {
        std::map<std::string, uint32_t> written{{file.name, file.crc}};
        if (file.sheet) written[file.sheet->name] = file.sheet->crc;
        for (const auto& [name, crc] : written) {
            const std::string path = PathIn(dir, name);
            if (!FileExists(path)) continue;
            if (Crc32(ReadWholeFile(path, MAX_ROM_SIZE, "an unpacked file holds")) != crc) {
                throw RefusedError(path + ": changed since the unpack" + refused);
            }
            unchanged.insert(name);
        }
    }
    for (const Unpacked& unpacked : all) {
        for (const Output& output : unpacked.outputs) {
            if (FileExists(PathIn(dir, output.name)) && !unchanged.count(output.name)) {
                throw RefusedError(PathIn(dir, output.name) +
                                   ": not a file of the previous unpack" + refused);
            }
        }
    }
    return true;
}

} // namespace

UnpackResult Unpack(const std::string& romPath, const std::string& dir, uint32_t table,
                    const std::function<void(const ModFile&)>& written, Progress& progress) {
    const RomBytes rom = ReadRom(romPath);
    UnpackResult result;
    Manifest& manifest = result.manifest;
    manifest.romName = FileNamePart(romPath);
    manifest.romPath = RelativePathFrom(dir, romPath);
    manifest.romSize = rom.bytes.size();
    manifest.romCrc = Crc32(rom.bytes);
    manifest.table = table;
    const std::vector<Unpacked> all = UnpackAll(rom, manifest, result.skipped);

    progress.ThrowIfCancelled();
    MakeFolder(dir);
    result.replacedPrevious = CheckFolder(dir, manifest, all);
    for (const Unpacked& unpacked : all) {
        for (const Output& output : unpacked.outputs) {
            WriteFileReplacing(PathIn(dir, output.name), output.bytes);
        }
        manifest.files.push_back(unpacked.record);
        if (written) written(unpacked.record);
        progress.Step(manifest.files.size(), all.size(), unpacked.record.name);
    }
    WriteManifest(dir, manifest);
    return result;
}

UnpackResult Unpack(const std::string& romPath, const std::string& dir, uint32_t table,
                    const std::function<void(const ModFile&)>& written) {
    NoProgress none;
    return Unpack(romPath, dir, table, written, none);
}

} // namespace drovak
