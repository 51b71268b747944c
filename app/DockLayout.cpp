#include "app/DockLayout.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QWidget>
#include <QWidgetItem>
#include <vector>

namespace drovak::app {

DockLayout::DockLayout(QWidget* container, int border) : QLayout(container), border_(border) {
    setSizeConstraint(QLayout::SetNoConstraint);
}

DockLayout::~DockLayout() {
    for (Entry& entry : entries_) delete entry.item;
}

void DockLayout::Append(QWidget* widget, Dock dock, QRect own, std::optional<AutoSize> autoSize) {
    addChildWidget(widget);
    entries_.append(Entry{new QWidgetItem(widget), dock, own, autoSize});
    invalidate();
}

void DockLayout::AddDocked(QWidget* widget, Dock dock, QSize size) {
    Append(widget, dock, QRect(QPoint(0, 0), size), std::nullopt);
}

void DockLayout::AddAutoSized(QWidget* widget, Dock dock, AutoSize kind) {
    Append(widget, dock, QRect(), kind);
}

void DockLayout::AddPlaced(QWidget* widget, QRect geometry) {
    Append(widget, Dock::None, geometry, std::nullopt);
}

void DockLayout::AddPlacedAutoSized(QWidget* widget, QPoint position, AutoSize kind) {
    Append(widget, Dock::None, QRect(position, QSize()), kind);
}

void DockLayout::addItem(QLayoutItem* item) {
    // Widgets added without a dock (by Qt itself) stay where they are.
    QRect own = item->widget() ? item->widget()->geometry() : QRect();
    entries_.append(Entry{item, Dock::None, own, std::nullopt});
}

QLayoutItem* DockLayout::itemAt(int index) const {
    return index >= 0 && index < entries_.size() ? entries_[index].item : nullptr;
}

QLayoutItem* DockLayout::takeAt(int index) {
    if (index < 0 || index >= entries_.size()) return nullptr;
    QLayoutItem* item = entries_[index].item;
    entries_.removeAt(index);
    return item;
}

QSize DockLayout::sizeHint() const {
    // The containers are sized by their parents (the window, the tab controls, fixed row
    // heights); the hint only has to be a sensible non-zero size.
    return {200, 100};
}

QSize DockLayout::AutoSizeOf(const QWidget* widget, AutoSize kind) {
    QString caption;
    if (auto label = qobject_cast<const QLabel*>(widget)) {
        caption = label->text();
    } else if (auto button = qobject_cast<const QAbstractButton*>(widget)) {
        caption = button->text();
    }
    const QFontMetrics metrics(widget->font());
    const Extent extent =
        AutoSizedExtent(kind, {metrics.horizontalAdvance(caption), metrics.height()});
    return {extent.width, extent.height};
}

void DockLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    std::vector<DockedChild> children;
    children.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        QRect own = entry.own;
        if (entry.autoSize && entry.item->widget()) {
            own.setSize(AutoSizeOf(entry.item->widget(), *entry.autoSize));
        }
        children.push_back({entry.dock, {own.x(), own.y(), own.width(), own.height()}});
    }
    const std::vector<DockRect> placed =
        LayOutDocked({rect.x(), rect.y(), rect.width(), rect.height()}, border_, children);
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        const DockRect& r = placed[static_cast<size_t>(i)];
        if (QWidget* widget = entries_[i].item->widget()) {
            widget->setGeometry(r.x, r.y, r.width, r.height);
        }
    }
}

} // namespace drovak::app
