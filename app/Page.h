#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

namespace drovak::app {

class MainForm;

// One page of PageTabs: it builds its controls into its tab, keeps them to itself and runs their
// handlers; the window tells it of the ROM and of being brought to the front.
class Page : public QObject {
public:
    Page(MainForm& form, QWidget* tab) : QObject(tab), form_(form) {}

    // The page's "TF3.bin:" fields show `path` (their change handlers run).
    virtual void ShowRom(const QString& path) = 0;
    // Brought to the front by a click on its tab, the ROM at RomPath in its fields.
    virtual void Switched() {}
    // A ROM chosen with "..." or dropped on the window while the page is on show.
    virtual void RomChosen() {}
    // The ROM the page works on now (a compression page's: the field of its tab on show).
    virtual QString RomOnShow() const = 0;
    // The page's picture drawn from the ROM at `path` as it now is.
    virtual void DrawFromRom(const QString& path) = 0;
    // A file dropped on `target`: true when one of the page's controls takes it itself.
    virtual bool TakeDroppedFile(QObject* /*target*/, const QString& /*path*/) { return false; }

protected:
    MainForm& form_;
};

} // namespace drovak::app
