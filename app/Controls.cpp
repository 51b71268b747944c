#include "app/Controls.h"

#include "app/AppFont.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>

namespace drovak::app {

namespace {
constexpr int PAGE_BORDER = 1;
constexpr int ROW_BORDER = 0;
constexpr int PATH_ROW_HEIGHT = 26;
constexpr int ACTION_BUTTON_HEIGHT = 18;
} // namespace

DockLayout* Docking(QWidget* container) {
    return static_cast<DockLayout*>(container->layout());
}

QFrame* AddRowPanel(QWidget* parent, bool sunken, int height) {
    auto* row = new QFrame(parent);
    if (sunken) {
        row->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        row->setLineWidth(1);
    } else {
        row->setFrameStyle(QFrame::NoFrame);
    }
    new DockLayout(row, ROW_BORDER);
    Docking(parent)->AddDocked(row, Dock::Top, QSize(0, height));
    return row;
}

QLabel* AddLabel(QWidget* parent, const QString& text, Dock dock) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Docking(parent)->AddAutoSized(label, dock, AutoSize::Label);
    return label;
}

QLineEdit* AddEdit(QWidget* parent, const QString& text, Dock dock, int width) {
    auto* edit = new QLineEdit(text, parent);
    QFont font = edit->font();
    font.setBold(true);
    edit->setFont(font);
    Docking(parent)->AddDocked(edit, dock, QSize(width, 0));
    return edit;
}

QPushButton* AddButton(QWidget* parent, const QString& text, Dock dock) {
    auto* button = new QPushButton(text, parent);
    button->setAutoDefault(false);
    Docking(parent)->AddAutoSized(button, dock, AutoSize::PushButton);
    return button;
}

QTabWidget* AddTabs(QWidget* parent, const QStringList& pages, Dock dock, int height) {
    auto* tabs = new QTabWidget(parent);
    tabs->setFocusPolicy(Qt::NoFocus);
    tabs->tabBar()->setFocusPolicy(Qt::NoFocus);
    for (const QString& name : pages) {
        auto* page = new QWidget;
        new DockLayout(page, PAGE_BORDER);
        tabs->addTab(page, name);
    }
    Docking(parent)->AddDocked(tabs, dock, QSize(0, height));
    return tabs;
}

PathRow AddPathRow(QWidget* page, const QString& caption) {
    QFrame* row = AddRowPanel(page, true, PATH_ROW_HEIGHT);
    AddLabel(row, caption, Dock::Left);
    QLineEdit* field = AddEdit(row, QString(), Dock::Client);
    QPushButton* browse = AddButton(row, "...", Dock::Right);
    return {field, browse};
}

ActionRow AddActionRow(QWidget* page, int height, const QString& caption,
                       const QString& actionText) {
    QFrame* row = AddRowPanel(page, true, height);
    AddLabel(row, caption, Dock::Left);
    QPushButton* action = AddButton(row, actionText, Dock::Bottom);
    action->setFont(BoldButtonFont(ACTION_BUTTON_HEIGHT));
    action->setEnabled(false);
    QLineEdit* field = AddEdit(row, QString(), Dock::Client);
    QPushButton* browse = AddButton(row, "...", Dock::Right);
    return {action, field, browse};
}

} // namespace drovak::app
