// "Table Index (HEX)" chosen from a list of the table's entries.
#include "app/CompressionPage.h"

#include "app/MainForm.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "rom/HexField.h"
#include "rom/LzhTableList.h"
#include "words/LzhListWords.h"
#include "words/WindowStatusWords.h"

namespace drovak::app {

void ChooseTableEntry(CompressionPage& page) {
    const std::string romPath = page.RomTextOnShow().toStdString();
    const uint32_t table = page.HexValue(TABLE_OFFSET_CAPTION);
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
    const std::optional<uint32_t> current =
        ParseHexStrict(page.HexText(TABLE_INDEX_CAPTION).toStdString());
    MainForm& form = page.Form();
    const std::optional<int> chosen = form.Dialogs().ChooseRow(
        &form, QString::fromStdString(TableEntriesTitle(table, FileNamePart(romPath))), columns,
        rows, current && *current < rows.size() ? int(*current) : -1);
    if (chosen && *chosen >= 0 && size_t(*chosen) < entries.size()) {
        page.SetHexText(TABLE_INDEX_CAPTION,
                        QString::fromStdString(HexFieldText(entries[*chosen].index)));
    }
}

} // namespace drovak::app
