#include "mod/Pack.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/FolderFiles.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "mod/FolderData.h"
#include "rom/HeaderChecksum.h"
#include "rom/RlePage.h"
#include "words/RomProblemWords.h"

#include <algorithm>

namespace drovak {

namespace {

RomBytes ReadBase(const Manifest& manifest, const std::string& dir,
                  const std::optional<std::string>& basePath) {
    const std::string path = PackBasePath(manifest, dir, basePath);
    RomBytes base = ReadRom(path);
    const uint32_t crc = Crc32(base.bytes);
    if (crc != manifest.romCrc || base.bytes.size() != manifest.romSize) {
        throw RefusedError(path + ": CRC-32 " + CrcText(crc) + " (" +
                           std::to_string(base.bytes.size()) + " bytes), but " + dir +
                           " was unpacked from " + manifest.romName + ", CRC-32 " +
                           CrcText(manifest.romCrc) + " (" + std::to_string(manifest.romSize) +
                           " bytes); give the ROM it was unpacked from; nothing was written");
    }
    return base;
}

// Entries in table order, then the blocks as the manifest lists them.
std::vector<ModFile> PackOrder(const Manifest& manifest) {
    std::vector<ModFile> files = manifest.files;
    std::stable_sort(files.begin(), files.end(), [](const ModFile& a, const ModFile& b) {
        if (a.kind != b.kind) return a.kind == ModKind::LzhEntry;
        return a.kind == ModKind::LzhEntry && a.index < b.index;
    });
    return files;
}

void ApplyLzh(PackPlan& plan, PackedChange& change, const std::vector<uint8_t>& data) {
    const RomBytes now{plan.base.name, std::move(plan.image)};
    change.lzh = PlanLzhInsert(now, data, plan.manifest.table, change.file.index);
    plan.dataOnChecksum = plan.dataOnChecksum || change.lzh->dataOnChecksum;
    plan.image = ApplyLzhInsert(*change.lzh, now);
}

void ApplyRle(PackPlan& plan, PackedChange& change, const std::vector<uint8_t>& data) {
    const RomBytes now{plan.base.name, std::move(plan.image)};
    change.rle = PlanRleInsert(now, data, change.file.offset);
    plan.dataOnChecksum = plan.dataOnChecksum || change.rle->dataOnChecksum;
    plan.image = ApplyRleInsert(*change.rle, now);
}

// What the entry or block decodes to in the new image must be its data: an entry's first bytes
// (as many as both hold, at least its DecodedSize), a block's whole data padded to whole words.
void CheckDecodes(const PackPlan& plan, const ModFile& file, const std::vector<uint8_t>& data) {
    const RomBytes image{plan.base.name, plan.image};
    std::string problem;
    try {
        if (file.kind == ModKind::LzhEntry) {
            const LzhExtractResult decoded =
                LzhExtractEntry(image, plan.manifest.table, file.index);
            const size_t common = std::min(decoded.data.size(), data.size());
            if (common < decoded.entry.DecodedSize ||
                !std::equal(data.begin(), data.begin() + long(common), decoded.data.begin())) {
                problem = "it decodes to other data";
            }
        } else {
            std::vector<uint8_t> padded = data;
            padded.resize((data.size() + 3) / 4 * 4, 0);
            if (RleExtractAt(image, file.offset).data != padded)
                problem = "it decodes to other data";
        }
    } catch (const DrovakError& error) {
        problem = ErrorText(error);
    }
    if (!problem.empty()) {
        throw RefusedError(plan.dir + ": after the changes, " + ModFileDescription(file) +
                           " no longer decodes to its file (" + problem +
                           "): a change overwrote it; nothing was written");
    }
}

// Palettes lie at fixed places: their words are written in place (a change that moved data
// over one is caught when the data no longer decodes).
void WritePalettes(PackPlan& plan, const std::vector<PaletteWrite>& palettes) {
    for (const PaletteWrite& palette : palettes) {
        if (palette.offset + palette.bytes.size() > plan.image.size()) {
            throw RefusedError(plan.dir + ": the palette at " + HexText(palette.offset) +
                               " ends past the new image's end; nothing was written");
        }
        std::copy(palette.bytes.begin(), palette.bytes.end(), plan.image.begin() + palette.offset);
    }
}

} // namespace

std::string PackBasePath(const Manifest& manifest, const std::string& dir,
                         const std::optional<std::string>& basePath) {
    return basePath                          ? *basePath
           : manifest.romPath.front() == '/' ? manifest.romPath
                                             : PathIn(dir, manifest.romPath);
}

PackPlan PlanPack(const std::string& dir, const std::optional<std::string>& basePath) {
    PackPlan plan;
    plan.dir = dir;
    plan.manifest = ReadManifest(dir);
    if (plan.manifest.unfinished) {
        throw RefusedError(PathIn(dir, MANIFEST_NAME) +
                           ": marked unfinished: the unpack into the folder did not finish; run "
                           "the same unpack again to finish it; nothing was written");
    }
    plan.base = ReadBase(plan.manifest, dir, basePath);
    plan.image = plan.base.bytes;
    const std::vector<ModFile> files = PackOrder(plan.manifest);
    ViewEdits views = ReadViewEdits(dir, plan.manifest, plan.base);
    std::vector<std::vector<uint8_t>> data;
    for (const ModFile& file : files) {
        FolderData now = ReadFolderData(dir, plan.manifest, file, plan.base);
        TakeViewData(views, file, now);
        if (now.changed) {
            PackedChange change{file,
                                now.source,
                                now.data,
                                std::nullopt,
                                std::nullopt,
                                std::move(now.notes),
                                std::move(now.question)};
            if (file.kind == ModKind::LzhEntry) {
                ApplyLzh(plan, change, now.data);
            } else {
                ApplyRle(plan, change, now.data);
            }
            plan.changes.push_back(std::move(change));
        }
        data.push_back(std::move(now.data));
    }
    WritePalettes(plan, views.palettes);
    plan.views = std::move(views.changes);
    for (size_t k = 0; k < files.size(); ++k) CheckDecodes(plan, files[k], data[k]);
    KeepChecksum(plan.base.bytes, plan.image, plan.dataOnChecksum);
    return plan;
}

uint32_t PackedChange::OldPackedSize() const {
    return lzh ? lzh->oldSize : rle ? rle->oldBlockSize.value_or(0) : 0;
}

uint32_t PackedChange::NewPackedSize() const {
    return lzh ? lzh->newSize : rle ? uint32_t(rle->packed.size()) : 0;
}

void RefuseOutputInside(const std::string& dir, const std::string& outPath) {
    if (LiesInside(dir, outPath)) {
        throw RefusedError(outPath + ": lies inside " + dir +
                           ", the folder being packed; a pack never writes over the files it "
                           "reads: give a path outside it; nothing was written");
    }
}

RomChange WritePack(const PackPlan& plan, const std::string& outPath, bool replaceOther) {
    RefuseOutputInside(plan.dir, outPath);
    RomChange result;
    result.checksum = CheckChecksum(plan.image);
    result.storedChecksum = StoredChecksum(plan.image).value_or(0);
    result.computedChecksum = ComputeChecksum(plan.image);
    if (!FileExists(outPath)) {
        WriteFileReplacing(outPath, plan.image, {.keepOtherContent = !replaceOther});
        result.written = true;
        return result;
    }
    const bool isBase = SameFile(outPath, plan.base.name);
    // The image's checksum is already what the rule makes it: the change keeps it as it is.
    return ChangeRom(
        outPath,
        [&](const RomBytes& now) {
            if (isBase && now.bytes != plan.base.bytes) {
                throw RefusedError(outPath + ": changed since it was read; nothing was written");
            }
            if (!isBase && !replaceOther && now.bytes != plan.image) {
                throw OtherContentError(outPath +
                                        ": already exists and holds other data; nothing was "
                                        "written");
            }
            return plan.image;
        },
        true);
}

} // namespace drovak
