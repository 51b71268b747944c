#pragma once

#include "app/Docking.h"

#include <QLayout>
#include <QList>
#include <optional>

namespace drovak::app {

// The one layout of every container of the window: places its widgets by LayOutDocked in the
// order they were added, within the container's contents rectangle (a layout's own margins
// and spacing play no part). Auto-sized widgets take their caption's extent in their own font
// plus the margin of their kind, re-measured on every layout pass, so a changed caption
// re-sizes them.
class DockLayout final : public QLayout {
public:
    explicit DockLayout(QWidget* container, int border);
    ~DockLayout() override;

    // A widget docked with a fixed size (only the dimension that docking keeps is used).
    void AddDocked(QWidget* widget, Dock dock, QSize size = {});
    // A widget docked with its auto size.
    void AddAutoSized(QWidget* widget, Dock dock, AutoSize kind);
    // A widget that is not docked: its own position and size.
    void AddPlaced(QWidget* widget, QRect geometry);
    // Not docked, at a position, with its auto size.
    void AddPlacedAutoSized(QWidget* widget, QPoint position, AutoSize kind);

    int Border() const { return border_; }

    // QLayout
    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override { return static_cast<int>(entries_.size()); }
    QSize sizeHint() const override;
    QSize minimumSize() const override { return {0, 0}; }
    void setGeometry(const QRect& rect) override;

    // The caption extent of a widget plus its margin (the size an auto-sized widget takes).
    static QSize AutoSizeOf(const QWidget* widget, AutoSize kind);

private:
    struct Entry {
        QLayoutItem* item = nullptr;
        Dock dock = Dock::None;
        QRect own;
        std::optional<AutoSize> autoSize;
    };
    void Append(QWidget* widget, Dock dock, QRect own, std::optional<AutoSize> autoSize);

    int border_;
    QList<Entry> entries_;
};

} // namespace drovak::app
