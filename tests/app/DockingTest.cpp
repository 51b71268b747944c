// The docking rule as pure geometry.
#include "app/Docking.h"
#include "app/DockLayout.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace drovak::app;

namespace {

struct DockingCase {
    std::string name;
    DockRect client;
    int border;
    std::vector<DockedChild> children;
    std::vector<DockRect> expected;
};

// clang-format off
DockedChild Top(int height) { return {Dock::Top, {0, 0, 0, height}}; }
DockedChild Bottom(int height) { return {Dock::Bottom, {0, 0, 0, height}}; }
DockedChild Left(int width) { return {Dock::Left, {0, 0, width, 0}}; }
DockedChild Right(int width) { return {Dock::Right, {0, 0, width, 0}}; }
DockedChild Client() { return {Dock::Client, {}}; }

// The window's own tab area and preview (the tab control Top, the preview Client, border 1) are
// checked on the real window.
const DockingCase CASES[] = {
    // A row "Decompress to:": label Left, button Bottom, field Client, "..." Right.
    {"action row", {1, 1, 400, 46}, 0, {Left(80), Bottom(28), Client(), Right(22)},
     {{1, 1, 80, 18}, {1, 19, 400, 28}, {81, 1, 298, 18}, {379, 1, 22, 18}}},
    // The LZH header row: index label Right, offset label Left, index field Right, offset
    // field Left, in this creation order.
    {"header row", {0, 0, 600, 23}, 0, {Right(100), Left(110), Right(90), Left(90)},
     {{500, 0, 100, 23}, {0, 0, 110, 23}, {410, 0, 90, 23}, {110, 0, 90, 23}}},
    // Left and Right children are placed after every Top and Bottom one, whatever the order.
    {"a left created before a top sits below it", {0, 0, 200, 100}, 0, {Left(30), Top(40)},
     {{0, 40, 30, 60}, {0, 0, 200, 40}}},
    // Sizes that would be negative become 0.
    {"too small a container", {0, 0, 10, 10}, 1, {Top(20), Client(), Left(5), Right(3)},
     {{1, 1, 8, 20}, {7, 22, 0, 0}, {1, 22, 5, 0}, {6, 22, 3, 0}}},
    {"a bottom of negative height", {0, 0, 100, 50}, 0, {Bottom(-5), Client()},
     {{0, 50, 100, 0}, {0, 0, 100, 50}}},
};
// clang-format on

} // namespace

TEST(AppDocking, PlacesChildrenByTheRule) {
    for (const DockingCase& c : CASES) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LayOutDocked(c.client, c.border, c.children), c.expected);
    }
}

// A control sized by its caption: a label takes one pixel more each way, a push button 14 and 6,
// a radio button 24 and 6.
TEST(AppDocking, AutoSizedControlsFitTheirCaption) {
    const Extent caption{40, 13};
    EXPECT_EQ(AutoSizedExtent(AutoSize::Label, caption), (Extent{41, 14}));
    EXPECT_EQ(AutoSizedExtent(AutoSize::PushButton, caption), (Extent{54, 19}));
    EXPECT_EQ(AutoSizedExtent(AutoSize::RadioButton, caption), (Extent{64, 19}));
}

// As a layout it gives and takes only the items it holds.
TEST(AppDocking, TheLayoutTakesOnlyTheItemsItHas) {
    QWidget box;
    auto* layout = new DockLayout(&box, 0);
    auto* child = new QWidget(&box);
    layout->AddDocked(child, Dock::Top, {10, 20});
    for (const int outside : {-1, 1})
        EXPECT_TRUE(layout->itemAt(outside) == nullptr && layout->takeAt(outside) == nullptr);
    EXPECT_EQ(layout->indexOf(child), 0);
    QLayoutItem* taken = layout->takeAt(0);
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(std::pair(taken->widget(), layout->count()), std::pair(child, 0));
    EXPECT_EQ(box.minimumSizeHint(), QSize(0, 0)); // nothing keeps the box from shrinking
    delete taken;
}
