// "Table Index (HEX)" chosen from a list of the table's entries.
#include "app/MainForm.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/HexField.h"
#include "rom/LzhTableList.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

namespace drovak::app {

void MainForm::ShowTableIndexMenu(const QPoint& position) {
    // The field's own menu (undo, cut, copy, paste...) with the list on top.
    QMenu* menu = LzhTableIndexEdit->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* first = menu->actions().value(0);
    menu->insertAction(first, TableListAction);
    menu->insertSeparator(first);
    menu->popup(LzhTableIndexEdit->mapToGlobal(position));
}

void MainForm::ChooseTableEntry() {
    const std::string romPath = RomFieldOnShow(lzhPage_)->text().toStdString();
    const uint32_t table = FieldHexValue(TABLE_OFFSET_CAPTION, LzhTableOffsetEdit);
    const std::vector<LzhListEntry> entries = ListLzhTable(ReadRom(romPath), table);
    QStringList columns;
    for (const char* column : LZH_LIST_COLUMNS) columns << column;
    std::vector<QStringList> rows;
    rows.reserve(entries.size());
    for (const LzhListEntry& entry : entries) {
        QStringList row;
        for (const std::string& cell : LzhListCells(entry)) row << QString::fromStdString(cell);
        rows.push_back(row);
    }
    const std::optional<uint32_t> current = ParseHexStrict(LzhTableIndexEdit->text().toStdString());
    const std::optional<int> chosen =
        dialogs_.ChooseRow(this,
                           QString::fromStdString("Entries of the table at " + HexText(table) +
                                                  " in " + FileNamePart(romPath)),
                           columns, rows, current && *current < rows.size() ? int(*current) : -1);
    if (chosen && *chosen >= 0 && size_t(*chosen) < entries.size()) {
        LzhTableIndexEdit->setText(QString::fromStdString(HexFieldText(entries[*chosen].index)));
    }
}

} // namespace drovak::app
