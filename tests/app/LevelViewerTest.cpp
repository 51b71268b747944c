// "Levels Viewer", the page change and "Title Screen Background" on the demo ROM.
#include "WindowTest.h"

#include "graphics/TitleScreen.h"
#include "rom/RomLayout.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

namespace {

class AppLevelsViewer : public WindowTest {
protected:
    void SetUp() override { PutDemoRom(); }
    drovak::FrameBuffer Expected(unsigned level, bool planeB, uint16_t column) {
        return LevelFrame(PathOf("tf3.bin"), level, planeB, column);
    }
};

} // namespace

TEST_F(AppLevelsViewer, LevelAndPlaneChoicesDrawFromColumnZeroAndRenameThePng) {
    MainForm& f = OpenWindow();
    ClickPreview();
    PressKey(Qt::Key_Right);
    Control<QComboBox>("LevelCombo")->setFocus();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(f.Document().ScrollColumn, 0);
    EXPECT_EQ(Edit("LevelPngEdit")->text(), Folder() + "Level_02_PlaneA.png");
    Click(Control<QRadioButton>("PlaneBRadio"));
    EXPECT_EQ(Edit("LevelPngEdit")->text(), Folder() + "Level_02_PlaneB.png");
    TypeInto(Edit("LevelPngEdit"), "");
    EXPECT_TRUE(Button("SaveMapButton")->isEnabled()); // the PNG field alone doesn't disable it
    Control<QComboBox>("LevelCombo")->setFocus();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(Edit("LevelPngEdit")->text(), Folder() + "Level_03_PlaneB.png");
    EXPECT_TRUE(f.Document().FrameBuffer == Expected(2, true, 0));
}

TEST_F(AppLevelsViewer, ExportWritesTheCommandLineFileWhileViewerOperationsWait) {
    MainForm& f = OpenWindow();
    ClickPreview();
    PressKey(Qt::Key_Right);
    const unsigned uploads = Preview()->UploadCount();
    // While the export runs the window answers: the bar and the column follow the screens
    // exported, and the user tries to scroll, to change the plane and to start a second export.
    std::vector<int> progress, columns;
    QProgressBar* bar = Control<QProgressBar>("ExportProgress");
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (!f.ExportRunning()) return;
        progress.push_back(value);
        columns.push_back(f.Document().ScrollColumn);
    });
    int answered = 0;
    QTimer meanwhile;
    QObject::connect(&meanwhile, &QTimer::timeout, [&] {
        if (!f.ExportRunning()) return;
        ++answered;
        QTest::keyClick(Preview(), Qt::Key_Right);
        Click(Button("SaveMapButton"));
        Click(Control<QRadioButton>("PlaneBRadio"));
    });
    meanwhile.start(5);
    QElapsedTimer took;
    took.start();
    Click(Button("SaveMapButton"));
    EXPECT_TRUE(f.ExportRunning());
    WaitForExport(f);
    const double seconds = double(took.elapsed()) / 1000;
    meanwhile.stop();
    EXPECT_GT(answered, 0);

    ASSERT_EQ(dialogs.boxes, QStringList());
    // The bar moves 1..32 with the screen exported and ends at 0; nothing else moved.
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()) && progress.front() >= 1);
    EXPECT_EQ((std::tuple{progress.back(), progress}), (std::tuple{32, columns}));
    EXPECT_EQ(Control<QProgressBar>("ExportProgress")->value(), 0);
    EXPECT_TRUE(Starts(f.StatusText(), "Level_01_PlaneA.png saved: 16384 x 512 pixels, " +
                                           QString::number(ReadFile("Level_01_PlaneA.png").size()) +
                                           " bytes, in "));
    // The time the export took, as the test saw it.
    const double shown = f.StatusText().section(" in ", 1).chopped(3).toDouble();
    EXPECT_TRUE(shown >= 0 && shown <= seconds + 0.05) << shown << " " << seconds;
    EXPECT_EQ(Preview()->UploadCount(), uploads);
    // The keys scroll at once: the preview has the focus again.
    EXPECT_EQ(QApplication::focusWidget(), Preview());
    QProcess cli;
    cli.start(DROVAK_CLI, {"level-png", Folder() + "tf3.bin", Folder() + "cli.png", "--level", "1",
                           "--plane", "A"});
    ASSERT_TRUE(cli.waitForFinished(120000) && cli.exitCode() == 0);
    EXPECT_TRUE(ReadFile("Level_01_PlaneA.png") == ReadFile("cli.png"));

    // A PNG that can't be created is shown; afterwards everything works as before.
    TypeInto(Edit("LevelPngEdit"), Folder() + "no/such/folder.png");
    Click(Button("SaveMapButton"));
    WaitForExport(f);
    ASSERT_EQ(dialogs.Kinds(), "error");
    EXPECT_TRUE(Holds(dialogs.boxes[0], "folder.png"));
    ClickPreview();
    PressKey(Qt::Key_Right);
    EXPECT_EQ(f.Document().ScrollColumn, 33);
    EXPECT_EQ(Preview()->UploadCount(), uploads + 1);
}

// The export works on what it read at its start, in a picture buffer of its own: a decompress
// on another page (which draws into the window's buffer and sets RomPath) and a change of the
// ROM file while it runs leave its file as an export made alone writes it.
TEST_F(AppLevelsViewer, ADecompressAndARomChangeDuringAnExportLeaveItsFileAsMadeAlone) {
    MainForm& f = OpenWindow();
    Click(Control<QRadioButton>("PlaneBRadio"));
    Click(Button("SaveMapButton"));
    WaitForExport(f);
    ASSERT_TRUE(dialogs.boxes.isEmpty());
    const std::vector<uint8_t> alone = ReadFile("Level_01_PlaneB.png");
    std::filesystem::remove(PathOf("Level_01_PlaneB.png"));

    bool duringExport = false;
    const auto disturb = [&] {
        duringExport = f.ExportRunning();
        ClickTab(Tabs("PageTabs"), app::MainPage::Lzh);
        Click(Button("LzhDecompressButton"));
        WriteFile("tf3.bin", std::vector<uint8_t>(ReadFile("tf3.bin").size(), 0));
    };
    // At the first screen, before anything else the window is told (on a loaded machine the
    // export's end may already wait behind its steps).
    const QMetaObject::Connection disturbing = QObject::connect(
        Control<QProgressBar>("ExportProgress"), &QProgressBar::valueChanged, [&](int screens) {
            if (screens == 1) disturb();
        });
    Click(Button("SaveMapButton"));
    WaitForExport(f);
    QObject::disconnect(disturbing);
    EXPECT_TRUE(duringExport);
    EXPECT_TRUE(dialogs.boxes.isEmpty()) << dialogs.boxes.join('\n').toStdString();
    EXPECT_TRUE(Starts(f.StatusText(), "Level_01_PlaneB.png saved: "));
    EXPECT_EQ(ReadFile("20000_0.bin").empty(), false);
    EXPECT_TRUE(ReadFile("Level_01_PlaneB.png") == alone);

    // Cancelled with Esc, or by closing the window, an export leaves nothing: the file that was
    // there as it was, no new one, no temporary file.
    WriteFile("tf3.bin", drovak::MakeDemoRom());
    ClickTab(Tabs("PageTabs"), app::MainPage::Levels);
    Click(Control<QRadioButton>("PlaneBRadio"));
    WriteFile("Level_01_PlaneB.png", {1, 2, 3});
    Click(Button("SaveMapButton"));
    EXPECT_TRUE(Control<QPushButton>("CancelTaskButton")->isVisible());
    // It never takes the focus from the page's controls.
    EXPECT_EQ(Control<QPushButton>("CancelTaskButton")->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Tabs("PageTabs")->focusPolicy(), Qt::NoFocus); // nor do the page tabs
    PressKey(Qt::Key_Escape);
    WaitForExport(f);
    EXPECT_TRUE(Holds(f.StatusText(), "cancelled; nothing was written"));
    EXPECT_FALSE(Control<QPushButton>("CancelTaskButton")->isVisible());
    std::filesystem::remove(PathOf("Level_01_PlaneB.png"));
    Click(Button("SaveMapButton"));
    ASSERT_TRUE(f.ExportRunning());
    TearDown();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder().toStdString()), {}), 2)
        << "tf3.bin and 20000_0.bin only";
}

TEST_F(AppLevelsViewer, OnlyAClickOnAPageTabCarriesTheRomIntoThePage) {
    MainForm& f = OpenWindow();
    WriteFile("other.bin", ReadFile("tf3.bin"));
    dialogs.picks = {Folder() + "other.bin"};
    Click(Button("LevelRomBrowse"));
    EXPECT_EQ(Edit("LevelRomEdit")->text(), Folder() + "other.bin");
    // Chosen by the program or from the keyboard, a page gets nothing.
    Tabs("PageTabs")->setCurrentIndex(app::TabIndex(app::MainPage::Lzh));
    EXPECT_EQ(Edit("LzhDecompRomEdit")->text(), Folder() + "tf3.bin");
    Tabs("PageTabs")->setCurrentIndex(app::TabIndex(app::MainPage::Levels));
    Edit("LevelPngEdit")->setFocus();
    QTest::keyClick(Edit("LevelPngEdit"), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Tabs("PageTabs")->currentIndex(), app::TabIndex(app::MainPage::Rle));
    EXPECT_EQ(Edit("RleDecompRomEdit")->text(), Folder() + "tf3.bin");
    // Nor does a right or a middle click on a tab.
    const QPoint titleTab =
        Tabs("PageTabs")->tabBar()->tabRect(app::TabIndex(app::MainPage::Title)).center();
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        QTest::mouseClick(Tabs("PageTabs")->tabBar(), button, {}, titleTab);
        QTest::mouseDClick(Tabs("PageTabs")->tabBar(), button, {}, titleTab);
        EXPECT_EQ(Tabs("PageTabs")->currentIndex(), app::TabIndex(app::MainPage::Rle));
        EXPECT_EQ(Edit("TitleRomEdit")->text(), Folder() + "tf3.bin");
    }

    for (auto [page, field] : {std::pair(app::MainPage::Lzh, Edit("LzhCompRomEdit")),
                               std::pair(app::MainPage::Rle, Edit("RleDecompRomEdit")),
                               std::pair(app::MainPage::Title, Edit("TitleRomEdit"))}) {
        ClickTab(Tabs("PageTabs"), page);
        EXPECT_EQ(field->text(), Folder() + "other.bin");
    }
    EXPECT_EQ(Edit("LzhDecompOutEdit")->text(), Folder() + "20000_0.bin");
    // Opening the viewer draws the chosen level from column 0 with its default name.
    f.Document().ScrollColumn = 7;
    TypeInto(Edit("LevelPngEdit"), "x.png");
    const unsigned uploads = Preview()->UploadCount();
    ClickTab(Tabs("PageTabs"), app::MainPage::Levels);
    EXPECT_EQ(f.Document().ScrollColumn, 0);
    EXPECT_EQ(Edit("LevelPngEdit")->text(), Folder() + "Level_01_PlaneA.png");
    EXPECT_EQ(Preview()->UploadCount(), uploads + 1);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(AppLevelsViewer, TitleScreenIsDrawnAndItsButtonFollowsTheRomField) {
    MainForm& f = OpenWindow(app::MainPage::Title);
    EXPECT_EQ(Button("TitleViewButton")->text(), "View Title Screen Background");
    Click(Button("TitleViewButton"));
    ASSERT_TRUE(dialogs.boxes.empty());
    const drovak::PreviewImage title = drovak::RenderTitleScreen(PathOf("tf3.bin"));
    EXPECT_TRUE(
        std::equal(title.Pixels.begin(), title.Pixels.end(), f.Document().FrameBuffer.begin()));
    EXPECT_EQ(At(Shown(), 0, 0), Rgb(title.Pixels[0]));
    dialogs.picks = {Folder() + "title.png"};
    Control<QAction>("SavePictureAction")->trigger();
    EXPECT_EQ(f.StatusText(), "Picture saved as title.png: 320 x 224 pixels.");
    // An undo on this page draws the title screen of the ROM it gives back.
    std::vector<uint8_t> dark = ReadFile("tf3.bin");
    std::fill_n(dark.begin() + drovak::TITLE_PALETTE_OFFSET, 32, 0);
    WriteFile("tf3.bin.bak", dark);
    UndoOnPreview();
    const drovak::PreviewImage undone = drovak::RenderTitleScreen(PathOf("tf3.bin"));
    EXPECT_NE(undone.Pixels, title.Pixels);
    EXPECT_TRUE(
        std::equal(undone.Pixels.begin(), undone.Pixels.end(), f.Document().FrameBuffer.begin()));
    // A change to the file by another name draws it anew too.
    std::filesystem::create_symlink(PathOf("tf3.bin"), PathOf("link.bin"));
    WriteFile("tf3.bin", ReadFile("tf3.bin.bak"));
    emit f.Document().changed(Folder() + "link.bin", "Changed.");
    EXPECT_TRUE(
        std::equal(title.Pixels.begin(), title.Pixels.end(), f.Document().FrameBuffer.begin()));
    dialogs.boxes.clear();
    // The button follows the field; a missing file is reported.
    Edit("TitleRomEdit")->setText("");
    EXPECT_FALSE(Button("TitleViewButton")->isEnabled());
    Edit("TitleRomEdit")->setText(Folder() + "missing.bin");
    Click(Button("TitleViewButton"));
    ASSERT_EQ(dialogs.Kinds(), "error");
    EXPECT_TRUE(Holds(dialogs.boxes[0], "missing.bin"));
}

// The arrows, Home, End, Page Up and Page Down and the wheel scroll the level on show within 0
// to 496, only while the preview has the focus, each key drawing it again (at either end too);
// the status line says where the view is. Elsewhere they don't scroll: in an edit field the
// arrows move the caret, and on another page neither keys nor the wheel touch the picture.
TEST_F(AppLevelsViewer, KeysAndTheWheelScrollTheLevelOnShowOnly) {
    MainForm& f = OpenWindow();
    EXPECT_TRUE(f.StatusText().isEmpty()); // start-up leaves the credits
    unsigned uploads = Preview()->UploadCount();
    PressKey(Qt::Key_Right); // the preview hasn't the focus yet
    EXPECT_EQ(Preview()->UploadCount(), uploads);
    const auto wheel = [&](int angle, bool sideways) {
        const QPointF at = Preview()->rect().center();
        const QPoint turn = sideways ? QPoint(angle, 0) : QPoint(0, angle);
        QWheelEvent event(at, Preview()->mapToGlobal(at), {}, turn, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Preview(), &event);
    };
    ClickPreview();
    // A key, or with key 0 a turn of the wheel (120 a step, towards the user to the right), with
    // key -1 one sideways (a tilt, or a touchpad's swipe);
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
        {-1, 119, 16, false}, {-1, 1, 15, true}, {-1, -120, 16, true},
        // clang-format on
    };
    for (const auto& step : steps) {
        step.key > 0 ? PressKey(step.key) : wheel(step.angle, step.key < 0);
        uploads += step.draws;
        EXPECT_EQ(f.Document().ScrollColumn, step.column) << step.key << " " << step.angle;
        EXPECT_EQ(Preview()->UploadCount(), uploads) << step.key << " " << step.angle;
    }
    EXPECT_TRUE(f.Document().FrameBuffer == Expected(0, false, 16));
    EXPECT_EQ(f.StatusText(), "LEVEL 01, Plane A: column 16 of 496, screen 2 of 32");

    TypeInto(Edit("LevelPngEdit"), "abc.png");
    PressKey(Qt::Key_Left);
    EXPECT_EQ(Edit("LevelPngEdit")->cursorPosition(), 6);
    ClickTab(Tabs("PageTabs"), app::MainPage::Rle);
    ClickPreview();
    uploads = Preview()->UploadCount();
    for (int key : {Qt::Key_Right, Qt::Key_End, Qt::Key_Home}) PressKey(key);
    wheel(-120, false);
    EXPECT_EQ(f.Document().ScrollColumn, 16);
    EXPECT_EQ(Preview()->UploadCount(), uploads);

    // The level's colours changed by another page: back on the level, the next step draws the
    // ROM as it now is.
    std::vector<uint8_t> image = ReadFile("tf3.bin");
    std::fill_n(image.begin() + drovak::LevelPaletteOffset(0), 128, 0x0E);
    WriteFile("tf3.bin", image);
    f.Document().Changed(PathOf("tf3.bin"), "changed");
    Tabs("PageTabs")->setCurrentIndex(app::TabIndex(app::MainPage::Levels));
    ClickPreview();
    PressKey(Qt::Key_Right);
    EXPECT_TRUE(f.Document().FrameBuffer == Expected(0, false, 17));
}
