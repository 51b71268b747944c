// The field logic of the LZH and RLE pages, the browse buttons and dropped files.
#include "WindowTest.h"

// One set of handlers serves both compression pages: the LZH page is driven through them, the
// RLE page's own name (its offset alone) checked once.
TEST_F(AppWindow, SuggestedNamesTakeTheRomFolderAndTheHexTextsAsTyped) {
    OpenWindow();
    const std::pair<QString, QString> folders[] = {{"/data/tf3.bin", "/data/"},
                                                   {"C:\\roms\\tf3.bin", "C:\\roms\\"},
                                                   {"D:tf3.bin", "D:"},
                                                   {"tf3.bin", ""}};
    ClickTab(Tabs("PageTabs"), app::MainPage::Lzh);
    TypeInto(Edit("LzhTableIndexEdit"), "1A");
    TypeInto(Edit("LzhTableOffsetEdit"), "$2g"); // not parsed
    for (const auto& [rom, folder] : folders) {
        TypeInto(Edit("LzhDecompRomEdit"), rom);
        EXPECT_EQ(Edit("LzhDecompOutEdit")->text(), folder + "$2g_1A.bin");
        EXPECT_EQ(Edit("LzhCompInEdit")->text(), folder + "$2g_1A.bin");
    }
    EXPECT_TRUE(Button("LzhDecompressButton")->isEnabled());
    EXPECT_FALSE(Button("LzhCompressButton")->isEnabled());
    // A typed output name stays, and only the "Decompress" button follows it.
    TypeInto(Edit("LzhDecompOutEdit"), "mine.bin");
    EXPECT_EQ(Edit("LzhDecompOutEdit")->text(), "mine.bin");
    EXPECT_EQ(Edit("LzhCompInEdit")->text(), "$2g_1A.bin");
    TypeInto(Edit("LzhDecompOutEdit"), "");
    EXPECT_FALSE(Button("LzhDecompressButton")->isEnabled());
    // Emptying the ROM field still suggests a name but disables the button.
    TypeInto(Edit("LzhDecompRomEdit"), "");
    EXPECT_EQ(Edit("LzhDecompOutEdit")->text(), "$2g_1A.bin");
    EXPECT_FALSE(Button("LzhDecompressButton")->isEnabled());
    ClickTab(Tabs("LzhModeTabs"), app::ModeTab::Compression);
    TypeInto(Edit("LzhCompRomEdit"), " ");
    EXPECT_TRUE(Button("LzhCompressButton")->isEnabled());
    TypeInto(Edit("LzhCompInEdit"), "");
    EXPECT_FALSE(Button("LzhCompressButton")->isEnabled());

    ClickTab(Tabs("PageTabs"), app::MainPage::Rle);
    TypeInto(Edit("RleOffsetEdit"), "$2g");
    TypeInto(Edit("RleDecompRomEdit"), "C:\\roms\\tf3.bin");
    EXPECT_EQ(Edit("RleDecompOutEdit")->text(), "C:\\roms\\$2g.bin");
    EXPECT_EQ(Edit("RleCompInEdit")->text(), "C:\\roms\\$2g.bin");
}

TEST_F(AppWindow, BrowseButtonsRunTheirDialogAndFillTheirFields) {
    MainForm& f = OpenWindow();
    // The ROM and data-file dialogs offer every file after the filter they were built with.
    const QString png = "PNG Files (*.png)|*.png", bin = "BIN Files (*.bin)|*.bin|All files (*)|*",
                  rom = "Bin Files (*.bin)|*.bin|All files (*)|*";
    const struct {
        app::MainPage page;
        app::ModeTab mode;
        QPushButton* button;
        bool save;
        QString filter;
        std::vector<QLineEdit*> filled;
    } cases[] = {
        // clang-format off
        {app::MainPage::Levels, {}, Button("LevelPngBrowse"), true, png, {Edit("LevelPngEdit")}},
        // After the picture's dialog: each sets its own extension.
        {app::MainPage::Lzh, app::ModeTab::Decompression, Button("LzhDecompOutBrowse"), true, bin,
         {Edit("LzhDecompOutEdit"), Edit("LzhCompInEdit")}},
        {app::MainPage::Rle, app::ModeTab::Compression, Button("RleCompInBrowse"), false, rom,
         {Edit("RleCompInEdit"), Edit("RleDecompOutEdit")}},
        // The ROM "..." of a compression tab runs the save dialog, with its own filter after
        // the picture's.
        {app::MainPage::Lzh, app::ModeTab::Compression, Button("LzhCompRomBrowse"), true, bin,
         {Edit("LzhCompRomEdit"), Edit("LzhDecompRomEdit")}},
        // clang-format on
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(i);
        ClickTab(Tabs("PageTabs"), c.page);
        if (c.page != app::MainPage::Levels)
            ClickTab(c.page == app::MainPage::Lzh ? Tabs("LzhModeTabs") : Tabs("RleModeTabs"),
                     c.mode);
        const QString pick = Folder() + QString("pick%1.bin").arg(i);
        dialogs.picks = {pick};
        Click(c.button);
        ASSERT_EQ(dialogs.dialogRuns.size(), i + 1);
        const auto& [kind, settings] = dialogs.dialogRuns.back();
        EXPECT_EQ(kind, c.save ? app::FileDialogKind::Save : app::FileDialogKind::Open);
        EXPECT_EQ(settings.title, c.save ? "Please, select where you want to save..."
                                         : "Please, select Thunder Force III ROM...");
        EXPECT_EQ(settings.filter, c.filter);
        EXPECT_EQ(settings.defaultExtension, c.filter == png ? "png" : "bin");
        for (QLineEdit* field : c.filled) EXPECT_EQ(field->text(), pick);
    }
    // A cancelled dialog changes nothing.
    Click(Button("LzhCompRomBrowse"));
    EXPECT_EQ(Edit("LzhCompRomEdit")->text(), Folder() + "pick3.bin");
    // A ROM goes to RomPath and renames the page's data file; other pages keep theirs.
    EXPECT_EQ(f.Document().RomPath, Folder() + "pick3.bin");
    EXPECT_EQ(Edit("LzhDecompOutEdit")->text(), Folder() + "20000_0.bin");
    EXPECT_TRUE(Edit("RleDecompRomEdit")->text().isEmpty() && dialogs.boxes.empty());
}

// A file dropped on the window becomes the ROM of the page on show, as if chosen with "...", and
// the page's picture is drawn from it at once (a ROM that can't be drawn is reported at once);
// dropped on "Compress from:" it fills that field alone.
TEST_F(AppWindow, DroppedFilesAndRomsChosenWithDots) {
    PutDemoRom();
    MainForm& f = OpenWindow();
    WriteFile("short.bin", std::vector<uint8_t>(100, 0));
    WriteFile("other.bin", ReadFile("tf3.bin"));
    Drop(Preview(), "short.bin");
    ASSERT_EQ(dialogs.Kinds(), "error");
    EXPECT_EQ(Edit("LevelRomEdit")->text(), Folder() + "short.bin");
    EXPECT_EQ(Preview()->PreviewTexture(), 0u); // level 1 of tf3.bin is no picture of short.bin
    const unsigned uploads = Preview()->UploadCount();
    dialogs.picks = {Folder() + "other.bin"};
    Click(Button("LevelRomBrowse"));
    EXPECT_EQ(Preview()->UploadCount(), uploads + 1);
    EXPECT_EQ(f.StatusText(), "LEVEL 01, Plane A: column 0 of 496, screen 1 of 32");
    // A ROM that names no file leaves no picture of the one before.
    dialogs.picks = {Folder() + "gone.bin"};
    Click(Button("LevelRomBrowse"));
    EXPECT_EQ(Preview()->PreviewTexture(), 0u);

    ClickTab(Tabs("PageTabs"), app::MainPage::Title);
    Drop(Button("TitleViewButton"), "tf3.bin");
    EXPECT_TRUE(Starts(f.StatusText(), "Title screen background of tf3.bin drawn: "));

    ClickTab(Tabs("PageTabs"), app::MainPage::Lzh);
    ClickTab(Tabs("LzhModeTabs"), app::ModeTab::Compression);
    Drop(Edit("LzhCompInEdit"), "tiles.png");
    EXPECT_EQ(Edit("LzhCompInEdit")->text(), Folder() + "tiles.png");
    EXPECT_EQ(Edit("LzhDecompOutEdit")->text(), Folder() + "20000_0.bin");
    Drop(Edit("LzhCompRomEdit"), "other.bin");
    EXPECT_EQ(Edit("LzhDecompRomEdit")->text(), Folder() + "other.bin");
    EXPECT_EQ(dialogs.Kinds(), "error");
}
