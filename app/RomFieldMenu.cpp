// The context menu of every "TF3.bin:" field: the field's own entries (undo, cut, copy, paste...)
// under what the window does with the ROM in it.
#include "app/MainForm.h"

#include "base/Errors.h"
#include "base/Program.h"
#include "rom/RomChange.h"
#include "words/EmulatorWords.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>

namespace drovak::app {

void MainForm::OfferPatchMenu(QLineEdit* field) {
    field->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(field, &QLineEdit::customContextMenuRequested, this,
            [this, field](const QPoint& position) { ShowRomFieldMenu(field, position); });
}

void MainForm::ShowRomFieldMenu(QLineEdit* field, const QPoint& position) {
    QMenu* menu = field->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* first = menu->actions().value(0);
    // What acts on the ROM named in the field, in menu order: its text, its object name and
    // what it does with the field's text.
    struct RomAction {
        const char* text;
        const char* name;
        void (MainForm::*run)(const QString& romPath);
    };
    const RomAction actions[] = {
        {"Make a patch against an original ROM...", "MakePatchAction", &MainForm::MakePatchFrom},
        {"Fix the header checksum", "FixChecksumAction", &MainForm::FixHeaderChecksum},
        {"Run in emulator", "RunEmulatorAction", &MainForm::RunInEmulator},
    };
    for (const RomAction& entry : actions) {
        auto* action = new QAction(entry.text, menu);
        action->setObjectName(entry.name);
        action->setEnabled(!field->text().isEmpty());
        connect(action, &QAction::triggered, this, [this, field, run = entry.run] {
            RunOperation([this, field, run] { (this->*run)(field->text()); });
        });
        menu->insertAction(first, action);
    }
    menu->insertSeparator(first);
    menu->popup(field->mapToGlobal(position));
}

void MainForm::FixHeaderChecksum(const QString& romPath) {
    document_.FixChecksum(romPath.toStdString());
}

// Test-play: the emulator (DROVAK_EMULATOR, the setting "emulator", blastem or mednafen) started
// on the ROM; the status line says what was started.
void MainForm::RunInEmulator(const QString& romPath) {
    const std::string rom = romPath.toStdString();
    const QString setting = QSettings("drovak", "drovak").value("emulator").toString();
    const std::optional<std::vector<std::string>> command = EmulatorCommand(
        setting.isEmpty() ? std::nullopt : std::optional(setting.toStdString()), rom);
    if (!command) throw RefusedError(NoEmulatorText(rom) + ".");
    ReapEndedPrograms(); // those started before
    StartProgram(*command);
    ShowStatus(QString::fromStdString(EmulatorStartedText((*command)[0], rom)));
}

} // namespace drovak::app
