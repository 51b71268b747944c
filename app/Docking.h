#pragma once

#include <span>
#include <vector>

namespace drovak::app {

// How a child sits in its container. Docked children are placed by LayOutDocked; None keeps the
// child's own position and size.
enum class Dock { None, Top, Bottom, Left, Right, Client };

struct DockRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const DockRect&) const = default;
};

struct DockedChild {
    Dock dock = Dock::None;
    // The child's own size (and, for Dock::None, its position). A Top or Bottom child keeps
    // only its height, a Left or Right child only its width, a Client child neither.
    DockRect own;
};

// Places the children of a container whose client rectangle is `client` and whose gap to its
// docked children (and between neighbouring docked children) is `border`. Three walks in
// creation order: Top and Bottom, then Left and Right, then Client. Sizes that would be
// negative become 0. Returns one rectangle per child, in the children's order.
std::vector<DockRect> LayOutDocked(const DockRect& client, int border,
                                   std::span<const DockedChild> children);

// Controls that size themselves to their caption, and the margin each adds to the caption's
// extent in its own font.
enum class AutoSize { Label, PushButton, RadioButton };

struct Extent {
    int width = 0;
    int height = 0;
    bool operator==(const Extent&) const = default;
};

Extent AutoSizedExtent(AutoSize kind, Extent caption);

} // namespace drovak::app
