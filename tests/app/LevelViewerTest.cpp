// "Levels Viewer", the page change and "Title Screen Background" on the demo ROM.
#include "WindowTest.h"

#include "graphics/Level.h"
#include "graphics/LevelExport.h"
#include "graphics/TitleScreen.h"
#include "preview/PreviewView.h"
#include "rom/RomFile.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>

using drovak::app::MainForm;
namespace app = drovak::app;

namespace {

class LevelsViewer : public WindowTest {
protected:
    MainForm& OpenOnDemoRom() {
        PutDemoRom();
        return OpenWindow();
    }
    drovak::FrameBuffer Expected(unsigned level, bool planeB, uint16_t column) {
        drovak::FrameBuffer expected{};
        drovak::AssembleLevel(PathOf("tf3.bin"), level, planeB, true, column, expected);
        return expected;
    }
    static bool AllZero(const drovak::FrameBuffer& buffer) {
        return std::all_of(buffer.begin(), buffer.end(), [](uint32_t p) { return p == 0; });
    }
};

} // namespace

TEST_F(LevelsViewer, ArrowsScrollOnlyWhileThePreviewHasTheFocus) {
    MainForm& f = OpenOnDemoRom();
    const unsigned uploads = f.PreviewView->UploadCount();
    ASSERT_FALSE(f.PreviewView->hasFocus());
    PressKey(Qt::Key_Right);
    EXPECT_EQ(f.ScrollColumn, 0);
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads);

    ClickPreview();
    ASSERT_TRUE(f.PreviewView->hasFocus());
    PressKey(Qt::Key_Right);
    PressKey(Qt::Key_Right);
    EXPECT_EQ(f.ScrollColumn, 2);
    EXPECT_TRUE(f.FrameBuffer == Expected(0, false, 2));
    PressKey(Qt::Key_Up);
    EXPECT_EQ(f.ScrollColumn, 2);
    PressKey(Qt::Key_Left);
    PressKey(Qt::Key_Left);
    // At 0 a Left leaves the column but draws again.
    PressKey(Qt::Key_Left);
    EXPECT_EQ(f.ScrollColumn, 0);
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads + 5);
    EXPECT_TRUE(f.FrameBuffer == Expected(0, false, 0));

    // In an edit field the arrow moves the caret and does not scroll.
    ClickPreview();
    PressKey(Qt::Key_Right);
    TypeInto(f.LevelPngEdit, "abc.png");
    const int caret = f.LevelPngEdit->cursorPosition();
    PressKey(Qt::Key_Left);
    EXPECT_EQ(f.LevelPngEdit->cursorPosition(), caret - 1);
    EXPECT_EQ(f.ScrollColumn, 1);

    // In the level list the arrows do nothing here.
    f.LevelCombo->setFocus();
    PressKey(Qt::Key_Right);
    EXPECT_NE(f.ScrollColumn, 2);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(LevelsViewer, ScrollingStopsAtTheLastSixteenColumns) {
    MainForm& f = OpenOnDemoRom();
    ClickPreview();
    for (int i = 0; i < 500; ++i) PressKey(Qt::Key_Right);
    EXPECT_EQ(f.ScrollColumn, 496);
    EXPECT_TRUE(f.FrameBuffer == Expected(0, false, 496));
}

TEST_F(LevelsViewer, LevelAndPlaneChoicesDrawFromColumnZeroAndRenameThePng) {
    MainForm& f = OpenOnDemoRom();
    ClickPreview();
    PressKey(Qt::Key_Right);
    f.LevelCombo->setFocus();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(f.LevelCombo->currentIndex(), 1);
    EXPECT_EQ(f.ScrollColumn, 0);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_02_PlaneA.png");

    Click(f.PlaneBRadio);
    EXPECT_TRUE(f.PlaneBRadio->isChecked());
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_02_PlaneB.png");
    TypeInto(f.LevelPngEdit, "mine.png");
    f.LevelCombo->setFocus();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_03_PlaneB.png");
    EXPECT_TRUE(f.FrameBuffer == Expected(2, true, 0));

    // Emptying the PNG field alone does not disable the button.
    TypeInto(f.LevelPngEdit, "");
    EXPECT_TRUE(f.SaveMapButton->isEnabled());
    Click(f.PlaneARadio);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_03_PlaneA.png");
}

TEST_F(LevelsViewer, PngBrowseTakesThePngFilterAndTheOtherPagesTheirOwn) {
    MainForm& f = OpenOnDemoRom();
    dialogs.picks = {Folder() + "chosen.png", QString()};
    Click(f.LevelPngBrowse);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "chosen.png");
    ASSERT_EQ(dialogs.dialogRuns.size(), 1u);
    EXPECT_EQ(dialogs.dialogRuns[0].kind, app::FileDialogKind::Save);
    EXPECT_EQ(dialogs.dialogRuns[0].settings.filter, "PNG Files (*.png)|*.png");
    EXPECT_EQ(dialogs.dialogRuns[0].settings.defaultExtension, "png");
    Click(f.LevelPngBrowse);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "chosen.png");

    ClickTab(f.PageTabs, app::LzhPage);
    Click(f.LzhDecompOutBrowse);
    EXPECT_EQ(dialogs.dialogRuns.back().settings.filter, "BIN Files (*.bin)|*.bin");
    EXPECT_EQ(dialogs.dialogRuns.back().settings.defaultExtension, "bin");
}

TEST_F(LevelsViewer, ExportWritesTheCoreExportWhileViewerOperationsWait) {
    MainForm& f = OpenOnDemoRom();
    ClickPreview();
    PressKey(Qt::Key_Right);
    const unsigned uploads = f.PreviewView->UploadCount();

    // Runs between the export's screens: records what the window shows and tries to scroll,
    // to change the plane and to start a second export.
    std::vector<int> progress;
    std::vector<int> columns;
    QTimer meanwhile;
    meanwhile.setInterval(0);
    QObject::connect(&meanwhile, &QTimer::timeout, [&] {
        if (!f.ExportRunning()) return;
        progress.push_back(f.ExportProgress->value());
        columns.push_back(f.ScrollColumn);
        QTest::keyClick(f.PreviewView, Qt::Key_Right);
        Click(f.SaveMapButton);
        Click(f.PlaneBRadio);
    });
    meanwhile.start();
    Click(f.SaveMapButton);
    meanwhile.stop();

    ASSERT_TRUE(dialogs.boxes.empty()) << dialogs.boxes[0].text.toStdString();
    const std::vector<uint8_t> written = ReadFile("Level_01_PlaneA.png");
    drovak::FrameBuffer scratch{};
    drovak::ExportLevelPng(PathOf("tf3.bin"), 0, false, PathOf("core.png"), scratch);
    EXPECT_TRUE(written == ReadFile("core.png"));

    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GE(progress.front(), 1);
    EXPECT_EQ(progress.back(), 32);
    EXPECT_EQ(progress, columns);
    EXPECT_EQ(f.ExportProgress->value(), 0);
    EXPECT_EQ(f.ExportProgress->maximum(), 32);
    EXPECT_EQ(f.ScrollColumn, 32);
    EXPECT_TRUE(AllZero(f.FrameBuffer));
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads);
    EXPECT_FALSE(f.ExportRunning());

    // Afterwards everything works as before, from column 32.
    f.PreviewView->setFocus();
    PressKey(Qt::Key_Right);
    EXPECT_EQ(f.ScrollColumn, 33);
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads + 1);

    // The command-line tool writes the same file.
    QProcess cli;
    cli.start(DROVAK_CLI, {"level-png", Folder() + "tf3.bin", Folder() + "cli.png", "--level", "1",
                           "--plane", "A"});
    ASSERT_TRUE(cli.waitForFinished(120000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    EXPECT_TRUE(written == ReadFile("cli.png"));
}

TEST_F(LevelsViewer, APngThatCannotBeCreatedIsShownAndTheViewerGoesOn) {
    MainForm& f = OpenOnDemoRom();
    TypeInto(f.LevelPngEdit, Folder() + "no/such/folder.png");
    Click(f.SaveMapButton);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, "error");
    EXPECT_TRUE(dialogs.boxes[0].text.contains("folder.png"));
    EXPECT_EQ(f.ExportProgress->value(), 0);
    EXPECT_FALSE(f.ExportRunning());
    ClickPreview();
    PressKey(Qt::Key_Right);
    EXPECT_EQ(f.ScrollColumn, 33);
}

TEST_F(LevelsViewer, OnlyAClickOnAPageTabCarriesTheRomIntoThePage) {
    MainForm& f = OpenOnDemoRom();
    WriteFile("other.bin", ReadFile("tf3.bin"));
    dialogs.picks = {Folder() + "other.bin"};
    Click(f.LevelRomBrowse);
    EXPECT_EQ(f.RomPath, Folder() + "other.bin");
    EXPECT_EQ(f.LevelRomEdit->text(), Folder() + "other.bin");

    // Chosen by the program or from the keyboard, a page gets nothing.
    f.PageTabs->setCurrentIndex(app::LzhPage);
    EXPECT_EQ(f.LzhDecompRomEdit->text(), Folder() + "tf3.bin");
    f.PageTabs->setCurrentIndex(app::LevelsPage);
    f.LevelPngEdit->setFocus();
    QTest::keyClick(f.LevelPngEdit, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.PageTabs->currentIndex(), app::RlePage);
    EXPECT_EQ(f.RleDecompRomEdit->text(), Folder() + "tf3.bin");

    ClickTab(f.PageTabs, app::LzhPage);
    EXPECT_EQ(f.PageTabs->currentIndex(), app::LzhPage);
    EXPECT_EQ(f.LzhDecompRomEdit->text(), Folder() + "other.bin");
    EXPECT_EQ(f.LzhCompRomEdit->text(), Folder() + "other.bin");
    EXPECT_EQ(f.LzhDecompOutEdit->text(), Folder() + "20000_0.bin");
    ClickTab(f.PageTabs, app::RlePage);
    EXPECT_EQ(f.RleCompRomEdit->text(), Folder() + "other.bin");
    ClickTab(f.PageTabs, app::TitlePage);
    EXPECT_EQ(f.TitleRomEdit->text(), Folder() + "other.bin");

    // Opening the viewer draws the chosen level from column 0 with its default name.
    f.ScrollColumn = 7;
    TypeInto(f.LevelPngEdit, "x.png");
    const unsigned uploads = f.PreviewView->UploadCount();
    ClickTab(f.PageTabs, app::LevelsPage);
    EXPECT_EQ(f.ScrollColumn, 0);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_01_PlaneA.png");
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads + 1);

    // With no file at RomPath a click changes nothing.
    dialogs.picks = {Folder() + "gone.bin"};
    Click(f.LevelRomBrowse);
    ClickTab(f.PageTabs, app::LzhPage);
    EXPECT_EQ(f.LzhDecompRomEdit->text(), Folder() + "other.bin");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(LevelsViewer, TitleScreenIsDrawnAndItsButtonFollowsTheRomField) {
    MainForm& f = OpenOnDemoRom();
    ClickTab(f.PageTabs, app::TitlePage);
    Click(f.TitleViewButton);
    ASSERT_TRUE(dialogs.boxes.empty());

    drovak::FrameBuffer expected{};
    const drovak::PreviewImage title = drovak::RenderTitleScreen(PathOf("tf3.bin"), expected);
    EXPECT_EQ(title.Width, 320);
    EXPECT_EQ(title.Height, 224);
    EXPECT_TRUE(std::equal(title.Pixels.begin(), title.Pixels.end(), f.FrameBuffer.begin()));
    const QImage shown = f.PreviewView->grabFramebuffer();
    const uint32_t topLeft = title.Pixels[0];
    EXPECT_EQ(shown.pixel(0, 0) | 0xFF000000u,
              qRgb(topLeft & 0xFF, (topLeft >> 8) & 0xFF, (topLeft >> 16) & 0xFF));

    f.TitleRomEdit->setText("");
    EXPECT_FALSE(f.TitleViewButton->isEnabled());
    f.TitleRomEdit->setText(Folder() + "missing.bin");
    EXPECT_TRUE(f.TitleViewButton->isEnabled());
    Click(f.TitleViewButton);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.contains("missing.bin"));
    EXPECT_EQ(f.RomPath, Folder() + "missing.bin");
}
