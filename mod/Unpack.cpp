#include "mod/Unpack.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/FileHandle.h"
#include "base/FolderFiles.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "base/Stream.h"
#include "base/TemporaryFiles.h"
#include "graphics/TilePalette.h"
#include "graphics/TilesToPng.h"
#include "mod/LevelMap.h"
#include "mod/ModProblem.h"
#include "mod/SheetPalette.h"
#include "mod/Views.h"
#include "rom/LzhPage.h"
#include "rom/LzhTableList.h"
#include "rom/RlePage.h"
#include "rom/RomFile.h"

#include <filesystem>
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
        } catch (const DrovakError&) {
            skipped.push_back({name, std::current_exception()});
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
        ThrowModProblem(ModProblem{.kind = ModProblemKind::TableTooLong,
                                   .file = rom.name,
                                   .limit = WORK_TABLE_CAPACITY,
                                   .count = entries.size(),
                                   .offset = manifest.table});
    }
    for (const LzhListEntry& listed : entries) {
        if (listed.problem) {
            skipped.push_back(
                {LzhFileStem(manifest.table, listed.index) + ".bin", {}, listed.problem});
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
        } catch (const DrovakError&) {
            skipped.push_back({DataFileName(manifest, record), std::current_exception()});
            continue;
        }
        record.decodedSize = uint32_t(extracted.data.size());
        record.packedSize = uint32_t(extracted.consumed);
        all.push_back(Make(rom, record, std::move(extracted.data), RleSheetLayout(offset), manifest,
                           skipped));
    }
    return all;
}

// The file NAME of the folder, when it is there, must be a regular file itself (not a link, not
// a FIFO...) holding `crc`: what an unpack wrote. False when nothing is there.
bool CheckWritten(const std::string& dir, const std::string& name, uint32_t crc) {
    const std::string path = PathIn(dir, name);
    FileInfo info;
    if (!StatLink(path, info)) return false;
    if (!info.IsRegular()) {
        ThrowModProblem(
            ModProblem{.kind = ModProblemKind::NotUnpackedFile, .file = path, .number = info.mode});
    }
    if (Crc32(ReadFileInsideFolder(dir, name, MAX_ROM_SIZE, SizeLimit::UnpackedFile)) != crc) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::UnpackedFileChanged, .file = path});
    }
    return true;
}

// A folder that is not empty may only hold an unpack of this ROM image (finished or not, as a
// run killed or stopped by a full disk leaves it), every file of it unchanged, and other files
// that this unpack does not write. Each name is looked at itself: a link is never followed.
bool CheckFolder(const std::string& dir, const Manifest& manifest, const std::vector<Unpacked>& all,
                 const ViewOutputs& views) {
    bool empty = true;
    for (const std::string& name : FolderEntries(dir)) {
        long pid = 0;
        empty = empty && IsTemporaryName(name, pid); // what a killed run leaves behind
    }
    if (empty) return false;
    FileInfo info;
    if (!StatLink(PathIn(dir, MANIFEST_NAME), info)) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::FolderNotEmpty, .file = dir});
    }
    if (!info.IsRegular()) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::ManifestNotFile,
                                   .file = PathIn(dir, MANIFEST_NAME),
                                   .number = info.mode});
    }
    const Manifest previous = ReadManifest(dir);
    if (previous.romCrc != manifest.romCrc || previous.romSize != manifest.romSize) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::OtherRomUnpacked,
                                   .file = dir,
                                   .other = manifest.romName,
                                   .text = previous.romName,
                                   .crc = previous.romCrc,
                                   .otherCrc = manifest.romCrc});
    }
    std::set<std::string> unchanged{MANIFEST_NAME};
    for (const ModFile& file : previous.files) {
        std::map<std::string, uint32_t> written{{file.name, file.crc}};
        if (file.sheet) written[file.sheet->name] = file.sheet->crc;
        for (const auto& [name, crc] : written) {
            if (CheckWritten(dir, name, crc)) unchanged.insert(name);
        }
    }
    for (const ViewRecord& view : previous.views) {
        if (CheckWritten(dir, view.name, view.crc)) unchanged.insert(view.name);
    }
    for (const Unpacked& unpacked : all) {
        for (const Output& output : unpacked.outputs) {
            if (StatLink(PathIn(dir, output.name), info) && !unchanged.count(output.name)) {
                ThrowModProblem(ModProblem{.kind = ModProblemKind::NotOfPreviousUnpack,
                                           .file = PathIn(dir, output.name)});
            }
        }
    }
    for (const ViewOutput& output : views.outputs) {
        const std::string& name = output.record.name;
        if (StatLink(PathIn(dir, name), info) && !unchanged.count(name)) {
            ThrowModProblem(
                ModProblem{.kind = ModProblemKind::NotOfPreviousUnpack, .file = PathIn(dir, name)});
        }
    }
    return true;
}

// Makes the subfolder a view lies in ("levels" of "levels/level01.tmx"); one that is there must
// be a folder itself, never a link that would lead the view's file elsewhere.
void MakeViewFolder(const std::string& dir, const std::string& name) {
    const std::string folder = PathIn(dir, name.substr(0, name.find('/')));
    FileInfo info;
    if (StatLink(folder, info) && !info.IsFolder()) {
        ThrowModProblem(ModProblem{
            .kind = ModProblemKind::ViewFolderNotFolder, .file = folder, .number = info.mode});
    }
    MakeFolder(folder);
}

// The ROM image's path as seen from where the folder really is (the folder may be a link).
std::string RomPathFrom(const std::string& dir, const std::string& romPath) {
    const std::string romFolder = RealFolderPath(FolderOf(romPath));
    return RelativePathFrom(RealFolderPath(dir),
                            PathIn(romFolder, std::filesystem::path(romPath).filename()));
}

// A failure part-way: the problem tells what is in the folder now.
[[noreturn]] void StoppedPartWay(const std::string& dir, const DrovakError& error) {
    ThrowModProblem(ModProblem{.kind = ModProblemKind::UnpackStopped,
                               .file = dir,
                               .flag = dynamic_cast<const FileError*>(&error) != nullptr,
                               .cause = std::current_exception()});
}

} // namespace

UnpackResult Unpack(const std::string& romPath, const std::string& dir, uint32_t table,
                    const std::function<void(const ModFile&)>& written, Progress& progress) {
    const RomBytes rom = ReadRom(romPath);
    UnpackResult result;
    Manifest& manifest = result.manifest;
    manifest.romName = FileNamePart(romPath);
    manifest.romSize = rom.bytes.size();
    manifest.romCrc = Crc32(rom.bytes);
    manifest.table = table;
    const std::vector<Unpacked> all = UnpackAll(rom, manifest, result.skipped);
    const ViewOutputs views = MakeViews(rom, table);
    for (const auto& [name, error] : views.skipped) result.skipped.push_back({name, error});

    progress.ThrowIfCancelled();
    MakeFolder(dir);
    manifest.romPath = RomPathFrom(dir, romPath);
    result.replacedPrevious = CheckFolder(dir, manifest, all, views);
    // The manifest goes first, marked unfinished, listing every file: a run that stops part-way
    // leaves a folder that the same unpack recognises as its own and finishes.
    for (const Unpacked& unpacked : all) manifest.files.push_back(unpacked.record);
    for (const ViewOutput& output : views.outputs) manifest.views.push_back(output.record);
    manifest.unfinished = true;
    WriteManifest(dir, manifest);
    try {
        size_t done = 0;
        for (const Unpacked& unpacked : all) {
            for (const Output& output : unpacked.outputs) {
                WriteFileInFolder(dir, output.name, output.bytes);
            }
            if (written) written(unpacked.record);
            progress.Step(++done, all.size(), unpacked.record.name);
        }
        for (const ViewOutput& output : views.outputs) {
            MakeViewFolder(dir, output.record.name);
            WriteFileInFolder(dir, output.record.name, output.bytes);
        }
        manifest.unfinished = false;
        WriteManifest(dir, manifest);
    } catch (const DrovakError& error) {
        StoppedPartWay(dir, error);
    }
    return result;
}

UnpackResult Unpack(const std::string& romPath, const std::string& dir, uint32_t table,
                    const std::function<void(const ModFile&)>& written) {
    NoProgress none;
    return Unpack(romPath, dir, table, written, none);
}

} // namespace drovak
