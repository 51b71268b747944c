// What the window offers now and where: the preview's menu offers nothing to copy or save before
// a picture is shown, and the undo on the compression pages only, named after the page's ROM,
// when it has a backup;
// the Levels page's placed controls stand where it places them.
#include "WindowTest.h"

TEST_F(AppWindow, ThePreviewMenuOffersWhatCanBeDoneNow) {
    for (const bool rom : {false, true}) {
        SCOPED_TRACE(rom ? "with a ROM" : "without a ROM");
        if (rom) {
            PutDemoRom();
            WriteFile("tf3.bin.bak", ReadFile("tf3.bin")); // a backup to go back to
        }
        OpenWindow();
        const auto state = [&](const char* name) {
            EXPECT_EQ(OpenContextMenu(Preview()), Control<QMenu>("PreviewMenu"));
            const QAction* action = Control<QAction>(name);
            const std::string words = std::string(action->isVisible() ? "shown" : "hidden") +
                                      (action->isEnabled() ? "" : ", off") + ": " +
                                      action->text().toStdString();
            Control<QMenu>("PreviewMenu")->close();
            return words;
        };
        const std::string off = rom ? "shown: " : "shown, off: ";
        EXPECT_EQ(state("CopyPictureAction"), off + "Copy picture");
        EXPECT_EQ(state("SavePictureAction").substr(0, off.size()), off);
        EXPECT_EQ(state("UndoChangeAction").substr(0, 6), "hidden");
        ClickTab(Tabs("PageTabs"), app::MainPage::Lzh);
        EXPECT_EQ(state("UndoChangeAction").substr(0, rom ? 41 : 6),
                  rom ? "shown: Undo the last change to tf3.bin..." : "hidden");
    }
}

TEST_F(AppWindow, TheLevelsPagePlacesItsControls) {
    OpenWindow();
    EXPECT_EQ(Control<QComboBox>("LevelCombo")->pos(), QPoint(0, 80));
    EXPECT_EQ(Control<QComboBox>("LevelCombo")->width(), 121);
    EXPECT_EQ(Control("PlaneARadio")->pos(), QPoint(256, 80));
    EXPECT_EQ(Control("PlaneBRadio")->pos(), QPoint(320, 80));
}
