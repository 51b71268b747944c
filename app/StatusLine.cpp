// The status line along the window's bottom edge: the credits, until an operation says what it
// did (the text stays until the next one does).
#include "app/MainForm.h"

#include <QStatusBar>

namespace drovak::app {

void MainForm::ShowStatus(const QString& text) {
    statusBar()->showMessage(text);
    // A line longer than the window shows whole where the mouse rests on it.
    statusBar()->setToolTip(text);
}

QString MainForm::StatusText() const {
    return statusBar()->currentMessage();
}

} // namespace drovak::app
