// The context menu of every "TF3.bin:" field: the field's own entries (undo, cut, copy, paste...)
// under what the window does with the ROM in it.
#include "app/MainForm.h"

#include "rom/RomChange.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

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

} // namespace drovak::app
