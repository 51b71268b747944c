// A ROM chosen with "..." or dropped on the window, a data file dropped on "Compress from:" and
// a patch dropped anywhere (PatchHandlers.cpp).
#include "app/uMain.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>

namespace drovak::app {

std::vector<QLineEdit*> MainForm::RomFieldsOfPageOnShow() const {
    switch (static_cast<MainPage>(PageTabs->currentIndex())) {
    case MainPage::Lzh:
        return {LzhDecompRomEdit, LzhCompRomEdit};
    case MainPage::Rle:
        return {RleDecompRomEdit, RleCompRomEdit};
    case MainPage::Levels:
        return {LevelRomEdit};
    case MainPage::Title:
        return {TitleRomEdit};
    }
    return {};
}

void MainForm::UseRom(const QString& path, const std::vector<QLineEdit*>& fields) {
    RomPath = path;
    for (QLineEdit* field : fields) field->setText(path);
    if (StatusText() == NO_ROM_STATUS) ShowStatus(QString()); // the start-up hint is done
    // The page's picture comes from the new ROM at once, not after the next change of level.
    switch (static_cast<MainPage>(PageTabs->currentIndex())) {
    case MainPage::Levels:
        ShowLevel();
        break;
    case MainPage::Title:
        ShowTitleScreen();
        break;
    default:
        break;
    }
}

bool MainForm::FileDragged(QObject* target, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) {
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(target);
    if (widget == nullptr || widget->window() != this) return false;
    // Files only: a text dragged into a field is the field's business.
    auto* drop = static_cast<QDropEvent*>(event);
    const QList<QUrl> urls = drop->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return false;
    drop->acceptProposedAction();
    if (type != QEvent::Drop) return true;
    const QString path = urls.first().toLocalFile();
    if (IsPatchFile(path)) {
        RunOperation([this, path] { ApplyDroppedPatch(path); });
    } else if (widget == LzhCompInEdit || widget == RleCompInEdit) {
        static_cast<QLineEdit*>(widget)->setText(path);
    } else {
        RunOperation([this, path] { UseRom(path, RomFieldsOfPageOnShow()); });
    }
    return true;
}

} // namespace drovak::app
