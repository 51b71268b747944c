// The start-up hint on how to choose a ROM goes once one is chosen with "..." or dropped, on
// every page; a status that is not the hint stays when a ROM is named.
#include "WindowTest.h"

TEST_F(AppWindow, TheStartUpHintGoesOnceARomIsChosenOrDropped) {
    WriteFile("demo.bin", drovak::MakeDemoRom());
    const std::tuple<app::MainPage, const char*, const char*> pages[] = {
        {app::MainPage::Levels, "LevelRomBrowse", nullptr},
        {app::MainPage::Title, "TitleRomBrowse", "TitleViewButton"},
        {app::MainPage::Lzh, "LzhDecompRomBrowse", "LzhDecompRomEdit"},
        {app::MainPage::Rle, "RleDecompRomBrowse", "RleDecompRomEdit"}};
    for (const auto& [page, browse, target] : pages)
        for (const bool dropped : {false, true}) {
            SCOPED_TRACE(std::string(browse) + (dropped ? " dropped" : " chosen"));
            MainForm& f = OpenWindow(page);
            ASSERT_EQ(f.StatusText(), app::NO_ROM_STATUS);
            ASSERT_TRUE(Holds(f.StatusText(), "\"...\"") && Holds(f.StatusText(), "drop a file"));
            if (dropped) {
                Drop(target ? Control(target) : Preview(), "demo.bin");
            } else {
                dialogs.picks = {Folder() + "demo.bin"};
                Click(Button(browse));
            }
            EXPECT_NE(f.StatusText(), app::NO_ROM_STATUS) << f.StatusText().toStdString();
            // A compression page's ROM chosen leaves an empty status line.
            if (page == app::MainPage::Lzh && !dropped) {
                EXPECT_EQ(Edit(target)->text(), Folder() + "demo.bin");
                EXPECT_TRUE(f.StatusText().isEmpty()) << f.StatusText().toStdString();
            }
            // Another status is not the hint: naming a ROM again leaves it.
            f.ShowStatus("busy");
            dialogs.picks = {Folder() + "demo.bin"};
            Click(Button(browse));
            if (page == app::MainPage::Lzh || page == app::MainPage::Rle) {
                EXPECT_EQ(f.StatusText(), "busy");
            }
            EXPECT_TRUE(dialogs.boxes.empty()) << dialogs.boxes.join("; ").toStdString();
        }
}
