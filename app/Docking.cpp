#include "app/Docking.h"

#include <algorithm>

namespace drovak::app {

namespace {

// The rectangle that is still free, as edges, so that it may become empty or inverted while
// children are taken off it.
struct FreeArea {
    int left;
    int top;
    int right;
    int bottom;
};

DockRect Clamped(int x, int y, int width, int height) {
    return {x, y, std::max(width, 0), std::max(height, 0)};
}

} // namespace

std::vector<DockRect> LayOutDocked(const DockRect& client, int border,
                                   std::span<const DockedChild> children) {
    std::vector<DockRect> placed(children.size());
    FreeArea free{client.x, client.y, client.x + client.width, client.y + client.height};
    const int b = border;

    for (size_t i = 0; i < children.size(); ++i) {
        const DockedChild& child = children[i];
        const int width = free.right - free.left - 2 * b;
        if (child.dock == Dock::Top) {
            placed[i] = Clamped(free.left + b, free.top + b, width, child.own.height);
            free.top = placed[i].y + placed[i].height;
        } else if (child.dock == Dock::Bottom) {
            const int height = std::max(child.own.height, 0);
            placed[i] = Clamped(free.left + b, free.bottom - b - height, width, height);
            free.bottom = placed[i].y;
        }
    }
    for (size_t i = 0; i < children.size(); ++i) {
        const DockedChild& child = children[i];
        const int height = free.bottom - free.top - 2 * b;
        if (child.dock == Dock::Left) {
            placed[i] = Clamped(free.left + b, free.top + b, child.own.width, height);
            free.left = placed[i].x + placed[i].width;
        } else if (child.dock == Dock::Right) {
            const int width = std::max(child.own.width, 0);
            placed[i] = Clamped(free.right - b - width, free.top + b, width, height);
            free.right = placed[i].x;
        }
    }
    for (size_t i = 0; i < children.size(); ++i) {
        const DockedChild& child = children[i];
        if (child.dock == Dock::Client) {
            placed[i] = Clamped(free.left + b, free.top + b, free.right - free.left - 2 * b,
                                free.bottom - free.top - 2 * b);
        } else if (child.dock == Dock::None) {
            placed[i] = Clamped(child.own.x, child.own.y, child.own.width, child.own.height);
        }
    }
    return placed;
}

Extent AutoSizedExtent(AutoSize kind, Extent caption) {
    switch (kind) {
    case AutoSize::Label:
        return {caption.width + 1, caption.height + 1};
    case AutoSize::PushButton:
        return {caption.width + 14, caption.height + 6};
    case AutoSize::RadioButton:
        return {caption.width + 24, caption.height + 6};
    }
    return caption;
}

} // namespace drovak::app
