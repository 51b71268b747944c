// "Levels Viewer", the page change and "Title Screen Background" on the demo ROM.
#include "WindowTest.h"

#include "graphics/Level.h"
#include "graphics/TitleScreen.h"

#include <QProcess>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace {

class AppLevelsViewer : public WindowTest {
protected:
    void SetUp() override { PutDemoRom(); }
    drovak::FrameBuffer Expected(unsigned level, bool planeB, uint16_t column) {
        drovak::FrameBuffer expected{};
        drovak::CopyToFrameBuffer(
            drovak::AssembleLevel(drovak::DecodeLevel(PathOf("tf3.bin"), level), planeB, column),
            expected);
        return expected;
    }
};

} // namespace

TEST_F(AppLevelsViewer, LevelAndPlaneChoicesDrawFromColumnZeroAndRenameThePng) {
    MainForm& f = OpenWindow();
    ClickPreview();
    PressKey(Qt::Key_Right);
    f.LevelCombo->setFocus();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(f.ScrollColumn, 0);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_02_PlaneA.png");
    Click(f.PlaneBRadio);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_02_PlaneB.png");
    TypeInto(f.LevelPngEdit, "");
    EXPECT_TRUE(f.SaveMapButton->isEnabled()); // the PNG field alone doesn't disable it
    f.LevelCombo->setFocus();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_03_PlaneB.png");
    EXPECT_TRUE(f.FrameBuffer == Expected(2, true, 0));
}

TEST_F(AppLevelsViewer, ExportWritesTheCommandLineFileWhileViewerOperationsWait) {
    MainForm& f = OpenWindow();
    ClickPreview();
    PressKey(Qt::Key_Right);
    const unsigned uploads = f.PreviewView->UploadCount();
    // Runs between the export's screens: records what the window shows and tries to scroll,
    // to change the plane and to start a second export.
    std::vector<int> progress, columns;
    QTimer meanwhile;
    QObject::connect(&meanwhile, &QTimer::timeout, [&] {
        if (!f.ExportRunning()) return;
        progress.push_back(f.ExportProgress->value());
        columns.push_back(f.ScrollColumn);
        QTest::keyClick(f.PreviewView, Qt::Key_Right);
        Click(f.SaveMapButton);
        Click(f.PlaneBRadio);
    });
    meanwhile.start(0);
    Click(f.SaveMapButton);
    meanwhile.stop();

    ASSERT_EQ(dialogs.boxes, QStringList());
    // The bar moves 1..32 with the screen exported and ends at 0; nothing else moved.
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()) && progress.front() >= 1);
    EXPECT_EQ(progress.back(), 32);
    EXPECT_EQ(progress, columns);
    EXPECT_EQ(f.ExportProgress->value(), 0);
    EXPECT_TRUE(f.StatusText().startsWith("Level_01_PlaneA.png saved: 16384 x 512 pixels, " +
                                          QString::number(ReadFile("Level_01_PlaneA.png").size()) +
                                          " bytes, in "))
        << f.StatusText().toStdString();
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads);
    // The keys scroll at once: the preview has the focus again.
    EXPECT_EQ(QApplication::focusWidget(), f.PreviewView);
    QProcess cli;
    cli.start(DROVAK_CLI, {"level-png", Folder() + "tf3.bin", Folder() + "cli.png", "--level", "1",
                           "--plane", "A"});
    ASSERT_TRUE(cli.waitForFinished(120000) && cli.exitCode() == 0);
    EXPECT_TRUE(ReadFile("Level_01_PlaneA.png") == ReadFile("cli.png"));

    // A PNG that can't be created is shown; afterwards everything works as before.
    TypeInto(f.LevelPngEdit, Folder() + "no/such/folder.png");
    Click(f.SaveMapButton);
    ASSERT_EQ(dialogs.Kinds(), "error");
    EXPECT_TRUE(dialogs.boxes[0].contains("folder.png"));
    ClickPreview();
    PressKey(Qt::Key_Right);
    EXPECT_EQ(f.ScrollColumn, 33);
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads + 1);
}

TEST_F(AppLevelsViewer, OnlyAClickOnAPageTabCarriesTheRomIntoThePage) {
    MainForm& f = OpenWindow();
    WriteFile("other.bin", ReadFile("tf3.bin"));
    dialogs.picks = {Folder() + "other.bin"};
    Click(f.LevelRomBrowse);
    EXPECT_EQ(f.LevelRomEdit->text(), Folder() + "other.bin");
    // Chosen by the program or from the keyboard, a page gets nothing.
    f.PageTabs->setCurrentIndex(app::TabIndex(app::MainPage::Lzh));
    EXPECT_EQ(f.LzhDecompRomEdit->text(), Folder() + "tf3.bin");
    f.PageTabs->setCurrentIndex(app::TabIndex(app::MainPage::Levels));
    f.LevelPngEdit->setFocus();
    QTest::keyClick(f.LevelPngEdit, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(f.PageTabs->currentIndex(), app::TabIndex(app::MainPage::Rle));
    EXPECT_EQ(f.RleDecompRomEdit->text(), Folder() + "tf3.bin");
    // Nor does a right or a middle click on a tab.
    const QPoint titleTab =
        f.PageTabs->tabBar()->tabRect(app::TabIndex(app::MainPage::Title)).center();
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(f.PageTabs->tabBar(), button, {}, titleTab);
        QTest::mouseDClick(f.PageTabs->tabBar(), button, {}, titleTab);
        EXPECT_EQ(f.PageTabs->currentIndex(), app::TabIndex(app::MainPage::Rle));
        EXPECT_EQ(f.TitleRomEdit->text(), Folder() + "tf3.bin");
    }

    for (auto [page, field] : {std::pair(app::MainPage::Lzh, f.LzhCompRomEdit),
                               std::pair(app::MainPage::Rle, f.RleDecompRomEdit),
                               std::pair(app::MainPage::Title, f.TitleRomEdit)}) {
        ClickTab(f.PageTabs, page);
        EXPECT_EQ(field->text(), Folder() + "other.bin");
    }
    EXPECT_EQ(f.LzhDecompOutEdit->text(), Folder() + "20000_0.bin");
    // Opening the viewer draws the chosen level from column 0 with its default name.
    f.ScrollColumn = 7;
    TypeInto(f.LevelPngEdit, "x.png");
    const unsigned uploads = f.PreviewView->UploadCount();
    ClickTab(f.PageTabs, app::MainPage::Levels);
    EXPECT_EQ(f.ScrollColumn, 0);
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_01_PlaneA.png");
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads + 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(AppLevelsViewer, TitleScreenIsDrawnAndItsButtonFollowsTheRomField) {
    MainForm& f = OpenWindow();
    ClickTab(f.PageTabs, app::MainPage::Title);
    Click(f.TitleViewButton);
    ASSERT_TRUE(dialogs.boxes.empty());
    const drovak::PreviewImage title = drovak::RenderTitleScreen(PathOf("tf3.bin"));
    EXPECT_TRUE(std::equal(title.Pixels.begin(), title.Pixels.end(), f.FrameBuffer.begin()));
    EXPECT_EQ(At(Shown(), 0, 0), Rgb(title.Pixels[0]));
    // The button follows the field; a missing file is reported.
    f.TitleRomEdit->setText("");
    EXPECT_FALSE(f.TitleViewButton->isEnabled());
    f.TitleRomEdit->setText(Folder() + "missing.bin");
    Click(f.TitleViewButton);
    ASSERT_EQ(dialogs.Kinds(), "error");
    EXPECT_TRUE(dialogs.boxes[0].contains("missing.bin"));
}

// The arrows, Home, End, Page Up and Page Down and the wheel scroll the level on show within 0
// to 496, only while the preview has the focus, each key drawing it again (at either end too);
// the status line says where the view is. Elsewhere they don't scroll: in an edit field the
// arrows move the caret, and on another page neither keys nor the wheel touch the picture.
TEST_F(AppLevelsViewer, KeysAndTheWheelScrollTheLevelOnShowOnly) {
    MainForm& f = OpenWindow();
    EXPECT_TRUE(f.StatusText().isEmpty()); // start-up leaves the credits
    unsigned uploads = f.PreviewView->UploadCount();
    PressKey(Qt::Key_Right); // the preview hasn't the focus yet
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads);
    const auto wheel = [&](int angle) {
        const QPointF at = f.PreviewView->rect().center();
        QWheelEvent event(at, f.PreviewView->mapToGlobal(at), {}, {0, angle}, Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.PreviewView, &event);
    };
    ClickPreview();
    // A key, or with key 0 a turn of the wheel (120 a step, towards the user to the right);
    // the first column afterwards, and whether the level is drawn again.
    const struct {
        int key, angle, column;
        bool draws;
    } steps[] = {
        // clang-format off
        {Qt::Key_Right, 0, 1, true}, {Qt::Key_Right, 0, 2, true}, {Qt::Key_Up, 0, 2, false},
        {Qt::Key_Left, 0, 1, true}, {Qt::Key_Left, 0, 0, true}, {Qt::Key_Left, 0, 0, true},
        {Qt::Key_End, 0, 496, true}, {Qt::Key_Right, 0, 496, true},
        {Qt::Key_PageDown, 0, 496, true}, {Qt::Key_PageUp, 0, 480, true},
        {Qt::Key_Home, 0, 0, true}, {Qt::Key_PageUp, 0, 0, true}, {Qt::Key_PageDown, 0, 16, true},
        {0, -240, 18, true}, {0, 120, 17, true}, {0, 60, 17, false}, {0, 60, 16, true},
        // clang-format on
    };
    for (const auto& step : steps) {
        if (step.key != 0) {
            PressKey(step.key);
        } else {
            wheel(step.angle);
        }
        uploads += step.draws;
        EXPECT_EQ(f.ScrollColumn, step.column) << step.key << " " << step.angle;
        EXPECT_EQ(f.PreviewView->UploadCount(), uploads) << step.key << " " << step.angle;
    }
    EXPECT_TRUE(f.FrameBuffer == Expected(0, false, 16));
    EXPECT_EQ(f.StatusText(), "LEVEL 01, Plane A: column 16 of 496, screen 2 of 32");

    TypeInto(f.LevelPngEdit, "abc.png");
    PressKey(Qt::Key_Left);
    EXPECT_EQ(f.LevelPngEdit->cursorPosition(), 6);
    ClickTab(f.PageTabs, app::MainPage::Rle);
    ClickPreview();
    uploads = f.PreviewView->UploadCount();
    for (int key : {Qt::Key_Right, Qt::Key_End, Qt::Key_Home}) PressKey(key);
    wheel(-120);
    EXPECT_EQ(f.ScrollColumn, 16);
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads);
}
