// A ROM chosen with "..." or dropped on the window, a data file dropped on "Compress from:" and
// a patch dropped anywhere (PatchHandlers.cpp).
#include "app/MainForm.h"

#include "app/Page.h"
#include "base/Errors.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace drovak::app {

void MainForm::UseRom(const QString& path, Page& page) {
    document_.RomPath = path;
    page.ShowRom(path);
    if (StatusText() == NO_ROM_STATUS) ShowStatus(QString()); // the start-up hint is done
    // The page's picture comes from the new ROM at once, not after the next change of level; a
    // picture of the previous ROM is never left on show as if it were of this one.
    try {
        pages_[size_t(PageOnShow())]->RomChosen();
    } catch (const DrovakError&) {
        ClearPicture();
        throw;
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
        return true;
    }
    for (Page* page : pages_) {
        if (page->TakeDroppedFile(widget, path)) return true;
    }
    RunOperation([this, path] { UseRom(path, *pages_[size_t(PageOnShow())]); });
    return true;
}

} // namespace drovak::app
