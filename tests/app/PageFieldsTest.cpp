// The field logic of the LZH and RLE pages, the browse buttons and dropped files.
#include "WindowTest.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

// One set of handlers serves both compression pages: the LZH page is driven through them, the
// RLE page's own name (its offset alone) checked once.
TEST_F(AppWindow, SuggestedNamesTakeTheRomFolderAndTheHexTextsAsTyped) {
    MainForm& f = OpenWindow();
    const std::pair<QString, QString> folders[] = {{"/data/tf3.bin", "/data/"},
                                                   {"C:\\roms\\tf3.bin", "C:\\roms\\"},
                                                   {"D:tf3.bin", "D:"},
                                                   {"tf3.bin", ""}};
    ClickTab(f.PageTabs, app::MainPage::Lzh);
    TypeInto(f.LzhTableIndexEdit, "1A");
    TypeInto(f.LzhTableOffsetEdit, "$2g"); // not parsed
    for (const auto& [rom, folder] : folders) {
        TypeInto(f.LzhDecompRomEdit, rom);
        EXPECT_EQ(f.LzhDecompOutEdit->text(), folder + "$2g_1A.bin");
        EXPECT_EQ(f.LzhCompInEdit->text(), folder + "$2g_1A.bin");
    }
    EXPECT_TRUE(f.LzhDecompressButton->isEnabled());
    EXPECT_FALSE(f.LzhCompressButton->isEnabled());
    // A typed output name stays, and only the "Decompress" button follows it.
    TypeInto(f.LzhDecompOutEdit, "mine.bin");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), "mine.bin");
    EXPECT_EQ(f.LzhCompInEdit->text(), "$2g_1A.bin");
    TypeInto(f.LzhDecompOutEdit, "");
    EXPECT_FALSE(f.LzhDecompressButton->isEnabled());
    // Emptying the ROM field still suggests a name but disables the button.
    TypeInto(f.LzhDecompRomEdit, "");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), "$2g_1A.bin");
    EXPECT_FALSE(f.LzhDecompressButton->isEnabled());
    ClickTab(f.LzhModeTabs, app::ModeTab::Compression);
    TypeInto(f.LzhCompRomEdit, " ");
    EXPECT_TRUE(f.LzhCompressButton->isEnabled());
    TypeInto(f.LzhCompInEdit, "");
    EXPECT_FALSE(f.LzhCompressButton->isEnabled());

    ClickTab(f.PageTabs, app::MainPage::Rle);
    TypeInto(f.RleOffsetEdit, "$2g");
    TypeInto(f.RleDecompRomEdit, "C:\\roms\\tf3.bin");
    EXPECT_EQ(f.RleDecompOutEdit->text(), "C:\\roms\\$2g.bin");
    EXPECT_EQ(f.RleCompInEdit->text(), "C:\\roms\\$2g.bin");
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
        {app::MainPage::Levels, {}, f.LevelPngBrowse, true, png, {f.LevelPngEdit}},
        {app::MainPage::Lzh, app::ModeTab::Decompression, f.LzhDecompOutBrowse, true, bin,
         {f.LzhDecompOutEdit, f.LzhCompInEdit}},
        {app::MainPage::Rle, app::ModeTab::Compression, f.RleCompInBrowse, false, rom,
         {f.RleCompInEdit, f.RleDecompOutEdit}},
        // The ROM "..." of a compression tab runs the save dialog.
        {app::MainPage::Lzh, app::ModeTab::Compression, f.LzhCompRomBrowse, true, bin,
         {f.LzhCompRomEdit, f.LzhDecompRomEdit}},
        // clang-format on
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        SCOPED_TRACE(i);
        ClickTab(f.PageTabs, c.page);
        if (c.page != app::MainPage::Levels) {
            ClickTab(c.page == app::MainPage::Lzh ? f.LzhModeTabs : f.RleModeTabs, c.mode);
        }
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
    Click(f.LzhCompRomBrowse);
    EXPECT_EQ(f.LzhCompRomEdit->text(), Folder() + "pick3.bin");
    // A ROM goes to RomPath and renames the page's data file; other pages keep theirs.
    EXPECT_EQ(f.RomPath, Folder() + "pick3.bin");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), Folder() + "20000_0.bin");
    EXPECT_TRUE(f.RleDecompRomEdit->text().isEmpty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

// A file dropped on the window becomes the ROM of the page on show, as if chosen with "...", and
// the page's picture is drawn from it at once (a ROM that can't be drawn is reported at once);
// dropped on "Compress from:" it fills that field alone.
TEST_F(AppWindow, DroppedFilesAndRomsChosenWithDots) {
    PutDemoRom();
    MainForm& f = OpenWindow();
    WriteFile("short.bin", std::vector<uint8_t>(100, 0));
    WriteFile("other.bin", ReadFile("tf3.bin"));
    const auto drop = [&](QWidget* on, const QString& name) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(Folder() + name)});
        QDragEnterEvent enter(on->rect().center(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(on, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent dropped(QPointF(on->rect().center()), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(on, &dropped);
    };
    drop(f.PreviewView, "short.bin");
    ASSERT_EQ(dialogs.Kinds(), "error");
    EXPECT_EQ(f.LevelRomEdit->text(), Folder() + "short.bin");
    const unsigned uploads = f.PreviewView->UploadCount();
    dialogs.picks = {Folder() + "other.bin"};
    Click(f.LevelRomBrowse);
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads + 1);
    EXPECT_EQ(f.StatusText(), "LEVEL 01, Plane A: column 0 of 496, screen 1 of 32");

    ClickTab(f.PageTabs, app::MainPage::Title);
    drop(f.TitleViewButton, "tf3.bin");
    EXPECT_TRUE(f.StatusText().startsWith("Title screen background of tf3.bin drawn: "));

    ClickTab(f.PageTabs, app::MainPage::Lzh);
    ClickTab(f.LzhModeTabs, app::ModeTab::Compression);
    drop(f.LzhCompInEdit, "tiles.png");
    EXPECT_EQ(f.LzhCompInEdit->text(), Folder() + "tiles.png");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), Folder() + "20000_0.bin");
    drop(f.LzhCompRomEdit, "other.bin");
    EXPECT_EQ(f.LzhDecompRomEdit->text(), Folder() + "other.bin");
    EXPECT_EQ(dialogs.Kinds(), "error");
}
