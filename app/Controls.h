#pragma once

#include "app/DockLayout.h"

#include <QString>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;

namespace drovak::app {

// Small builders for the window's kinds of control; each adds the new control to its parent's
// DockLayout, so the creation order is the docking order.

DockLayout* Docking(QWidget* container);

// A container of one row of a page: sunken (an edge) or flat, Border 0, fixed height, Top.
QFrame* AddRowPanel(QWidget* parent, bool sunken, int height);
QLabel* AddLabel(QWidget* parent, const QString& text, Dock dock);
// A single-line edit field in bold; `width` is its fixed width where the docking keeps one.
QLineEdit* AddEdit(QWidget* parent, const QString& text, Dock dock, int width = 0);
QPushButton* AddButton(QWidget* parent, const QString& text, Dock dock);
// A tab control whose pages are containers with Border 1; not a keyboard tab stop.
QTabWidget* AddTabs(QWidget* parent, const QStringList& pages, Dock dock, int height = 0);

// A sunken row "caption: [field] [...]" at the top of a page.
struct PathRow {
    QLineEdit* field;
    QPushButton* browse;
};
PathRow AddPathRow(QWidget* page, const QString& caption);

// A sunken row "caption: [field] [...]" with an action button along its bottom (bold, disabled):
// label, button, field and "..." in this creation order.
struct ActionRow {
    QPushButton* action;
    QLineEdit* field;
    QPushButton* browse;
};
ActionRow AddActionRow(QWidget* page, int height, const QString& caption,
                       const QString& actionText);

} // namespace drovak::app
