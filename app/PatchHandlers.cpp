// Patches in the window: a .bps or .ips dropped on the window is applied to the page's ROM
// (after a question), and a BPS patch is made from an original ROM to the one in a ROM field;
// both run as tasks that Esc cancels.
#include "app/MainForm.h"

#include "app/Page.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "patch/Bps.h"
#include "patch/Patch.h"
#include "rom/RomChange.h"
#include "rom/RomFile.h"
#include "words/PatchRefusalWords.h"
#include "words/RomChangeWords.h"
#include "words/RomProblemWords.h"
#include "words/WindowStatusWords.h"
#include "words/WindowWords.h"

#include <filesystem>
#include <memory>

namespace drovak::app {

namespace {

// No patch of a ROM image is larger than the image it carries and a little more.
constexpr uint64_t MAX_PATCH_SIZE = MAX_PATCH_TARGET_SIZE + (1u << 20);

constexpr const char* PATCH_FILTER = "BPS Patches (*.bps)|*.bps|All files (*)|*";

} // namespace

bool IsPatchFile(const QString& path) {
    return path.endsWith(".bps", Qt::CaseInsensitive) || path.endsWith(".ips", Qt::CaseInsensitive);
}

QString MainForm::PageRomPath() const {
    return pages_[size_t(PageOnShow())]->RomOnShow();
}

void MainForm::ApplyDroppedPatch(const QString& patchPath) {
    const std::string rom = PageRomPath().toStdString(), patchFile = patchPath.toStdString();
    const std::string patchName = FileNamePart(patchFile), romName = FileNamePart(rom);
    if (rom.empty()) {
        throw RefusedError(NoRomForPatchMessage(patchName));
    }
    if (!Ask(ApplyPatchQuestion(patchName, romName))) return;
    auto summary = std::make_shared<std::string>();
    const auto apply = [rom, patchFile, patchName, romName, summary](Progress& progress) {
        const std::vector<uint8_t> patch =
            ReadWholeFile(patchFile, MAX_PATCH_SIZE, SizeLimit::Patch);
        // The patch decides every byte of the new image, the header checksum's too.
        const RomChange change = ChangeRom(
            rom,
            [&](const RomBytes& now) {
                progress.ThrowIfCancelled();
                PatchResult result = ApplyPatch(now.bytes, patch);
                if (!result.Applied()) {
                    throw RefusedError(PatchRefusedMessage(result, patchName, romName));
                }
                progress.ThrowIfCancelled();
                return std::move(result.target);
            },
            true);
        const bool ips = DetectPatchFormat(patch) == PatchFormat::Ips;
        *summary = PatchAppliedStatus(patchName, RomChangeSummary(romName, change), ips);
    };
    StartTask(QString::fromStdString(ApplyingPatchText(patchName)), apply,
              [this, rom, summary](std::exception_ptr error) {
                  RunOperation([&] {
                      RethrowTaskError(error, FileNamePart(rom));
                      document_.Changed(rom, *summary);
                  });
              });
}

void MainForm::MakePatchFrom(const QString& modifiedPath) {
    const std::string modified = modifiedPath.toStdString();
    FileDialogSettings chooseOriginal = OpenRomDialog;
    chooseOriginal.title = "Choose the original ROM";
    const std::optional<QString> original =
        dialogs_.RunFileDialog(this, FileDialogKind::Open, chooseOriginal);
    if (!original) return;
    FileDialogSettings savePatch = SaveFileDialog;
    savePatch.title = "Save the patch as";
    savePatch.filter = PATCH_FILTER;
    savePatch.defaultExtension = "bps";
    savePatch.startFolder = OutputFolder();
    savePatch.fileName =
        QString::fromStdString(std::filesystem::path(modified).stem().string() + ".bps");
    const std::optional<QString> patchPath =
        dialogs_.RunFileDialog(this, FileDialogKind::Save, savePatch);
    if (!patchPath) return;
    const std::string out = patchPath->toStdString(), originalPath = original->toStdString();
    for (const std::string& image : {originalPath, modified}) {
        if (SameFile(out, image)) {
            throw RefusedError(PatchOverImageMessage(FileNamePart(out), FileNamePart(image)));
        }
    }
    // The patch is made on the task's thread; it is written here, once the user has said
    // whether it may replace other data.
    struct Made {
        std::vector<uint8_t> patch;
        std::string before, after;
    };
    auto made = std::make_shared<Made>();
    const auto make = [originalPath, modified, made](Progress& progress) {
        const RomBytes before = ReadRom(originalPath), after = ReadRom(modified);
        if (before.bytes == after.bytes) {
            throw RefusedError(SameImageMessage(FileNamePart(before.name), FileNamePart(after.name),
                                                Crc32(after.bytes), after.bytes.size()));
        }
        made->patch = CreateBpsPatch(before.bytes, after.bytes, progress);
        made->before = before.name;
        made->after = after.name;
    };
    StartTask(QString::fromStdString(MakingPatchText(FileNamePart(out))), make,
              [this, out, made](std::exception_ptr error) {
                  RunOperation([&] {
                      // A cancel that came after the patch was made still counts.
                      if (tasks_.CancelAsked()) {
                          error = std::make_exception_ptr(CancelledError());
                      }
                      RethrowTaskError(error, FileNamePart(out));
                      if (FileHoldsOtherBytes(out, made->patch) &&
                          !Ask(ReplaceFileQuestion(FileNamePart(out)))) {
                          return;
                      }
                      WriteFileReplacing(out, made->patch);
                      ShowStatus(QString::fromStdString(
                          PatchMadeText(FileNamePart(out), made->patch.size(),
                                        FileNamePart(made->before), FileNamePart(made->after))));
                  });
              });
}

} // namespace drovak::app
