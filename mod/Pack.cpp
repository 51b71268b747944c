#include "mod/Pack.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/FolderFiles.h"
#include "base/Folders.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "mod/FolderData.h"
#include "mod/ModProblem.h"
#include "rom/HeaderChecksum.h"
#include "rom/RlePage.h"

#include <algorithm>

namespace drovak {

namespace {

RomBytes ReadBase(const Manifest& manifest, const std::string& dir,
                  const std::optional<std::string>& basePath) {
    const std::string path = PackBasePath(manifest, dir, basePath);
    RomBytes base = ReadRom(path);
    const uint32_t crc = Crc32(base.bytes);
    if (crc != manifest.romCrc || base.bytes.size() != manifest.romSize) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::BaseNotUnpacked,
                                   .file = path,
                                   .other = dir,
                                   .text = manifest.romName,
                                   .size = base.bytes.size(),
                                   .otherSize = manifest.romSize,
                                   .crc = crc,
                                   .otherCrc = manifest.romCrc});
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
    ModProblem problem{.kind = ModProblemKind::NoLongerDecodes, .other = plan.dir, .record = file};
    bool decodes = true;
    try {
        if (file.kind == ModKind::LzhEntry) {
            const LzhExtractResult decoded =
                LzhExtractEntry(image, plan.manifest.table, file.index);
            const size_t common = std::min(decoded.data.size(), data.size());
            if (common < decoded.entry.DecodedSize ||
                !std::equal(data.begin(), data.begin() + long(common), decoded.data.begin())) {
                decodes = false;
            }
        } else {
            std::vector<uint8_t> padded = data;
            padded.resize((data.size() + 3) / 4 * 4, 0);
            if (RleExtractAt(image, file.offset).data != padded) decodes = false;
        }
    } catch (const DrovakError&) {
        problem.cause = std::current_exception();
        decodes = false;
    }
    if (!decodes) ThrowModProblem(std::move(problem));
}

// Palettes lie at fixed places: their words are written in place (a change that moved data
// over one is caught when the data no longer decodes).
void WritePalettes(PackPlan& plan, const std::vector<PaletteWrite>& palettes) {
    for (const PaletteWrite& palette : palettes) {
        if (palette.offset + palette.bytes.size() > plan.image.size()) {
            ThrowModProblem(ModProblem{.kind = ModProblemKind::PalettePastNewEnd,
                                       .other = plan.dir,
                                       .offset = palette.offset});
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
        ThrowModProblem(ModProblem{.kind = ModProblemKind::ManifestUnfinished,
                                   .file = PathIn(dir, MANIFEST_NAME)});
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
            PackedChange change{file,         now.source,    now.data, std::nullopt,
                                std::nullopt, now.decidedBy, now.grown};
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
        ThrowModProblem(
            ModProblem{.kind = ModProblemKind::OutputInsideFolder, .file = outPath, .other = dir});
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
                ThrowModProblem(ModProblem{.kind = ModProblemKind::OutputChanged, .file = outPath});
            }
            if (!isBase && !replaceOther && now.bytes != plan.image) {
                ThrowModProblem(
                    ModProblem{.kind = ModProblemKind::OutputHoldsOther, .file = outPath});
            }
            return plan.image;
        },
        true);
}

} // namespace drovak
