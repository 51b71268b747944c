// Patches in the window: a .bps or .ips dropped on the window is applied to the page's ROM
// (after a question), and the context menu of every ROM field makes a BPS patch from an
// original ROM to the one in the field, or runs that ROM in an emulator.
#include "app/MainForm.h"

#include "app/Page.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "base/Program.h"
#include "base/ReplaceFile.h"
#include "base/WholeFile.h"
#include "patch/Bps.h"
#include "patch/Patch.h"
#include "rom/RomChange.h"
#include "rom/RomFile.h"
#include "words/EmulatorWords.h"
#include "words/RomChangeWords.h"
#include "words/RomProblemWords.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTabWidget>

namespace drovak::app {

namespace {

// No patch of a ROM image is larger than the image it carries and a little more.
constexpr uint64_t MAX_PATCH_SIZE = MAX_PATCH_TARGET_SIZE + (1u << 20);

constexpr const char* PATCH_FILTER = "BPS Patches (*.bps)|*.bps|All files (*)|*";

// Starts the emulator (DROVAK_EMULATOR, the setting "emulator", blastem or mednafen) on the ROM;
// what was started, for the status line.
QString RunInEmulator(const QString& romPath) {
    const std::string rom = romPath.toStdString();
    const QString setting = QSettings("drovak", "drovak").value("emulator").toString();
    const std::optional<std::vector<std::string>> command = EmulatorCommand(
        setting.isEmpty() ? std::nullopt : std::optional(setting.toStdString()), rom);
    if (!command) throw RefusedError(NoEmulatorText(rom) + ".");
    ReapEndedPrograms(); // those started before
    StartProgram(*command);
    return QString::fromStdString(EmulatorStartedText((*command)[0], rom));
}

} // namespace

bool IsPatchFile(const QString& path) {
    return path.endsWith(".bps", Qt::CaseInsensitive) || path.endsWith(".ips", Qt::CaseInsensitive);
}

QString MainForm::PageRomPath() const {
    return pages_[size_t(PageOnShow())]->RomOnShow();
}

void MainForm::DrawPageRomAnew(std::string& summary) {
    try {
        pages_[size_t(PageOnShow())]->DrawFromRom(PageRomPath());
    } catch (const DrovakError& error) {
        summary += " The preview could not be drawn: " + ErrorText(error);
    }
}

void MainForm::OfferPatchMenu(QLineEdit* field) {
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QLineEdit::customContextMenuRequested, this,
            [this, field](const QPoint& position) { ShowRomFieldMenu(field, position); });
}

void MainForm::UndoPictureRomChange() {
    const std::string path = PageRomPath().toStdString();
    if (path.empty()) return;
    if (!FileExists(BackupPathOf(path))) throw RefusedError(NoBackupMessage(path));
    if (!Ask("Undo the last change to " + FileNamePart(path) + "?")) return;
    std::string summary = RomUndoSummary(FileNamePart(path), UndoRomChange(path));
    DrawPageRomAnew(summary);
    ShowStatus(QString::fromStdString(summary));
}

void MainForm::ApplyDroppedPatch(const QString& patchPath) {
    const std::string rom = PageRomPath().toStdString(), patchFile = patchPath.toStdString();
    const std::string patchName = FileNamePart(patchFile), romName = FileNamePart(rom);
    if (rom.empty()) {
        throw RefusedError("There is no ROM on this page to apply " + patchName +
                           " to: choose one first. Nothing was written.");
    }
    if (!Ask("Apply " + patchName + " to " + romName + "?")) return;
    const std::vector<uint8_t> patch = ReadWholeFile(
        patchFile, MAX_PATCH_SIZE, "a patch may be (" + std::to_string(MAX_PATCH_SIZE) + " bytes)");
    // The patch decides every byte of the new image, the header checksum's too.
    const RomChange change = ChangeRom(
        rom,
        [&](const RomBytes& now) {
            PatchResult result = ApplyPatch(now.bytes, patch);
            if (!result.Applied()) {
                throw RefusedError(PatchRefusalText(result, patchName, romName) +
                                   ". Nothing was written.");
            }
            return std::move(result.target);
        },
        true);
    const bool ips = DetectPatchFormat(patch) == PatchFormat::Ips;
    std::string summary =
        patchName + " applied: " + RomChangeSummary(romName, change) +
        (ips ? " An IPS patch has no checksums: nothing told whether it was made for this ROM."
             : "");
    // The picture first: drawing it puts its own line on the status line.
    DrawPageRomAnew(summary);
    ShowStatus(QString::fromStdString(summary));
}

void MainForm::ShowRomFieldMenu(QLineEdit* field, const QPoint& position) {
    // The field's own menu (undo, cut, copy, paste...) with the patch on top.
    QMenu* menu = field->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* first = menu->actions().value(0);
    QAction* makePatch = new QAction("Make a patch against an original ROM...", menu);
    makePatch->setEnabled(!field->text().isEmpty());
    connect(makePatch, &QAction::triggered, this,
            [this, field] { RunOperation([this, field] { MakePatchFrom(field->text()); }); });
    menu->insertAction(first, makePatch);
    // Test-play: the ROM in the field started in an emulator.
    QAction* run = new QAction("Run in emulator", menu);
    run->setEnabled(!field->text().isEmpty());
    connect(run, &QAction::triggered, this, [this, field] {
        RunOperation([this, field] { ShowStatus(RunInEmulator(field->text())); });
    });
    menu->insertAction(first, run);
    menu->insertSeparator(first);
    menu->popup(field->mapToGlobal(position));
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
    const std::optional<QString> patchPath =
        dialogs_.RunFileDialog(this, FileDialogKind::Save, savePatch);
    if (!patchPath) return;
    const std::string out = patchPath->toStdString();
    for (const std::string& image : {original->toStdString(), modified}) {
        if (SameFile(out, image)) {
            throw RefusedError(FileNamePart(out) + " is the ROM " + FileNamePart(image) +
                               " itself; a patch is never written over its ROMs. Nothing was "
                               "written.");
        }
    }
    const RomBytes before = ReadRom(original->toStdString()), after = ReadRom(modified);
    if (before.bytes == after.bytes) {
        throw RefusedError(FileNamePart(before.name) + " and " + FileNamePart(after.name) +
                           " are the same ROM: a patch would change nothing. Nothing was written.");
    }
    const std::vector<uint8_t> patch = CreateBpsPatch(before.bytes, after.bytes);
    if (FileHoldsOtherBytes(out, patch) &&
        !Ask("The file " + FileNamePart(out) +
             " already exists and holds other data!\r\nDo you want to replace it?")) {
        return;
    }
    WriteFileReplacing(out, patch);
    ShowStatus(QString::fromStdString(FileNamePart(out) +
                                      " written: " + std::to_string(patch.size()) +
                                      " bytes, the patch from " + FileNamePart(before.name) +
                                      " to " + FileNamePart(after.name) + "."));
}

} // namespace drovak::app
