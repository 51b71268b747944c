// The ROM document and the task runner as the user meets them, and the window's small faults.
#include "WindowTest.h"

#include "app/QtUserDialogs.h"
#include "rom/RomLayout.h"

#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QStandardPaths>
#include <QTableView>
#include <QTimer>
#include <functional>

namespace {

using Bytes = std::vector<uint8_t>;

class AppDocument : public WindowTest {
protected:
    void SetUp() override { PutDemoRom(); }
    // The demo ROM with the 128 bytes at `offset` (a palette) black.
    static Bytes Darkened(uint32_t offset) {
        Bytes rom = drovak::MakeDemoRom();
        std::fill_n(rom.begin() + offset, drovak::PALETTE_SIZE, 0);
        return rom;
    }
};

} // namespace

TEST_F(AppDocument, OneUndoQuestionOnEveryPageOfferedOnlyWithABackup) {
    OpenWindow(app::MainPage::Lzh);
    QAction* undo = Control<QAction>("UndoChangeAction");
    emit Control<QMenu>("PreviewMenu")->aboutToShow();
    EXPECT_FALSE(undo->isVisible());
    WriteFile("tf3.bin.bak", Darkened(drovak::PREVIEW_PALETTE_OFFSET));
    emit Control<QMenu>("PreviewMenu")->aboutToShow();
    EXPECT_TRUE(undo->isVisible());
    EXPECT_EQ(undo->text(), "Undo the last change to tf3.bin...");
    for (const app::MainPage page :
         {app::MainPage::Lzh, app::MainPage::Rle, app::MainPage::Levels, app::MainPage::Title}) {
        ClickTab(Tabs("PageTabs"), page);
        CtrlZ(Preview()); // answered No
        ExpectUndoQuestion("tf3.bin");
    }
    // The window takes the key: no control gets it after.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
    QApplication::sendEvent(Preview(), &press);
    EXPECT_TRUE(press.isAccepted());
    EXPECT_EQ(dialogs.Kinds(), "question,question,question,question,question");
    EXPECT_EQ(ReadFile("tf3.bin"), drovak::MakeDemoRom());
}

// An undo made while an export runs is drawn once the export has ended (the level decoded
// before it is not kept).
TEST_F(AppDocument, AnUndoDuringAnExportIsDrawnWhenTheExportEnds) {
    WriteFile("tf3.bin.bak", Darkened(drovak::LevelPaletteOffset(0)));
    MainForm& f = OpenWindow();
    Click(Button("SaveMapButton"));
    ASSERT_TRUE(f.ExportRunning());
    UndoOnPreview();
    WaitForExport(f);
    ASSERT_EQ(ReadFile("tf3.bin"), Darkened(drovak::LevelPaletteOffset(0)));
    EXPECT_TRUE(f.Document().FrameBuffer == LevelFrame(PathOf("tf3.bin")));
}

// A ROM dropped on the LZH page: its entry is drawn from the new ROM, or, where the new one has
// none, no picture is left on show.
TEST_F(AppDocument, ARomDroppedOnTheLzhPageNeverLeavesTheOldRomsPicture) {
    WriteFile("other.bin", Darkened(drovak::PREVIEW_PALETTE_OFFSET));
    WriteFile("short.bin", Bytes(16, 0));
    MainForm& f = OpenWindow(app::MainPage::Lzh);
    Click(Button("LzhDecompressButton"));
    ASSERT_TRUE(f.ShownTiles().has_value());
    const drovak::FrameBuffer before = f.Document().FrameBuffer;
    Drop(Preview(), "other.bin");
    ASSERT_TRUE(f.ShownTiles().has_value());
    EXPECT_EQ(f.ShownTiles()->romPath, PathOf("other.bin"));
    EXPECT_FALSE(f.Document().FrameBuffer == before);
    Drop(Preview(), "short.bin");
    EXPECT_FALSE(f.ShownTiles().has_value());
    EXPECT_TRUE(f.Document().FrameBuffer == drovak::FrameBuffer{});
    EXPECT_EQ(Preview()->PreviewTexture(), 0u);
    EXPECT_TRUE(Starts(f.StatusText(), "short.bin: nothing to show on this page: "));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
}

// "Fix the header checksum" changes the ROM the one way, with a backup that Ctrl+Z goes back
// to; a ':' in the file's name is part of the name; the picture on show stays.
TEST_F(AppDocument, TheRomFieldMenuFixesTheHeaderChecksum) {
    Bytes wrong = drovak::MakeDemoRom();
    wrong[drovak::HEADER_CHECKSUM_OFFSET] ^= 0xFF;
    WriteFile("my:rom.bin", wrong);
    MainForm& f = OpenWindow(Folder() + "my:rom.bin");
    EXPECT_EQ(f.OpenRomDialog.startFolder, Folder());
    // The ROM's entries come first, then a line, then the field's own.
    auto* menu = qobject_cast<QMenu*>(OpenContextMenu(Edit("LevelRomEdit")));
    ASSERT_NE(menu, nullptr);
    QStringList entries;
    for (const QAction* action : menu->actions().mid(0, 4))
        entries << (action->isSeparator() ? "-" : action->objectName());
    EXPECT_EQ(entries.join(' '), "MakePatchAction FixChecksumAction RunEmulatorAction -");
    const QPointer<QMenu> shown = menu; // a closed menu is gone
    menu->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(shown.isNull());
    EXPECT_TRUE(Choose(Edit("LevelRomEdit"), "Fix the header checksum"));
    EXPECT_EQ(ReadFile("my:rom.bin"), drovak::MakeDemoRom());
    EXPECT_EQ(ReadFile("my:rom.bin.bak"), wrong);
    EXPECT_TRUE(Starts(f.StatusText(), "Header checksum fixed: my:rom.bin written; the "
                                       "previous image is kept as my:rom.bin.bak"));
    EXPECT_TRUE(Choose(Edit("LevelRomEdit"), "Fix the header checksum"));
    EXPECT_TRUE(Holds(f.StatusText(), "the header checksum is right"));
    UndoOnPreview();
    EXPECT_EQ(ReadFile("my:rom.bin"), wrong);
    EXPECT_EQ(dialogs.Kinds(), "question");

    // A change to a ROM other than the one the page on show draws from leaves its picture alone:
    // here the compression tab names my:rom.bin while the picture is of tf3.bin.
    ClickTab(Tabs("PageTabs"), app::MainPage::Lzh);
    Edit("LzhDecompRomEdit")->setText(Folder() + "tf3.bin");
    Click(Button("LzhDecompressButton"));
    Edit("LzhCompRomEdit")->setText(Folder() + "my:rom.bin");
    ASSERT_TRUE(Choose(Edit("LzhCompRomEdit"), "Fix the header checksum"));
    ASSERT_EQ(ReadFile("my:rom.bin"), drovak::MakeDemoRom());
    ASSERT_TRUE(f.ShownTiles().has_value());
    EXPECT_EQ(f.ShownTiles()->romPath, PathOf("tf3.bin"));
}

// A patch whose making is cancelled (the Cancel button beside the status line) writes nothing.
TEST_F(AppDocument, ACancelledPatchLeavesNothing) {
    WriteFile("clean.bin", Darkened(drovak::PREVIEW_PALETTE_OFFSET));
    MainForm& f = OpenWindow();
    dialogs.picks = {Folder() + "clean.bin", Folder() + "made.bps"};
    EXPECT_TRUE(Choose(Edit("LevelRomEdit")));
    ASSERT_TRUE(f.Tasks().Running());
    // A second patch waits for the first: refused and said, nothing started.
    dialogs.picks = {Folder() + "clean.bin", Folder() + "again.bps"};
    Choose(Edit("LevelRomEdit"));
    EXPECT_EQ(dialogs.boxes.join(""), "error Error owned: Making the patch again.bps waits: Making "
                                      "the patch made.bps runs; cancel it (Esc) or wait for its "
                                      "end. Nothing was done.");
    dialogs.boxes.clear();
    for (const auto& [done, said] : {std::pair{2, ": 66 %... "}, {3, ": 100 %... "}}) {
        emit f.Tasks().Stepped(done, 3, {}); // the share done, rounded down
        EXPECT_TRUE(Holds(f.StatusText(), said));
    }
    Click(Control<QPushButton>("CancelTaskButton"));
    WaitForExport(f);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Folder().toStdString()), {}), 2)
        << "tf3.bin and clean.bin only";
    EXPECT_TRUE(Holds(f.StatusText(), "cancelled; nothing was written"));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
}

TEST_F(AppDocument, MessageBoxesStayOnTopAndOutputsGoWhereTheUserMayWrite) {
    MainForm& f = OpenWindow();
    for (QWidget* owner : {static_cast<QWidget*>(&f), static_cast<QWidget*>(nullptr)}) {
        const auto box = app::MakeMessageBox(owner, QMessageBox::Warning, "text", "Warning",
                                             QMessageBox::Ok, QMessageBox::Ok);
        EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(box->windowModality(), owner ? Qt::WindowModal : Qt::ApplicationModal);
    }
    // The box shows the text under its caption.
    QString shown;
    const auto show = [&shown](const std::function<void()>& open) {
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown += box->windowTitle() + "|" + box->text() + "|";
                box->accept();
            }
        });
        open();
    };
    app::QtUserDialogs real;
    show([&] { real.ShowError(nullptr, "text", "Error"); });
    show([&] { real.Inform(nullptr, "info", "Note"); });
    show([&] { real.ShowFatal("fatal"); });
    EXPECT_EQ(shown, "Error|text|Note|info|Error|fatal|");
    // The clipboard takes a text, then a picture.
    real.SetClipboardText("42");
    shown = QGuiApplication::clipboard()->text();
    real.SetClipboardImage(QImage(3, 2, QImage::Format_RGB32));
    EXPECT_EQ(shown + "|" + QString::number(QGuiApplication::clipboard()->image().width()), "42|3");
    EXPECT_EQ(f.OutputFolder(), Folder());
    // A program folder the user can't write in (here: none) is never suggested: the pictures
    // folder is, or the home folder when there is none.
    const MainForm installed(Folder() + "missing/", dialogs);
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const bool hadPictures = QDir(pictures).exists();
    QDir().mkpath(pictures);
    EXPECT_EQ(installed.OutputFolder(), pictures + "/");
    if (!hadPictures && QDir().rmdir(pictures)) {
        EXPECT_EQ(installed.OutputFolder(), QDir::homePath() + "/");
    }
}

// The real list dialog: OK picks the row it opened on; with no row chosen it picks none.
TEST(AppRowChooser, OkPicksTheRowTheListOpenedOn) {
    app::QtUserDialogs real;
    const std::vector<QStringList> rows = {{"0x0", "a"}, {"0x1", "b"}, {"0x2", "c"}};
    for (const auto& [current, picked] : {std::pair{0, std::optional<int>(0)}, {3, std::nullopt}}) {
        // The second column's header, the first row's (none), a cell shown (and nothing to
        // edit), the edit triggers (none), the size, and the
        // first column as wide as its cells, the rows a line and 4 pixels high.
        QString header;
        std::function<void()> accept = [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            const auto* view = dialog ? dialog->findChild<QTableView*>() : nullptr;
            if (const auto* model = view ? view->model() : nullptr)
                header =
                    model->headerData(1, Qt::Horizontal).toString() + "|" +
                    model->headerData(0, Qt::Vertical).toString() + "|" +
                    model->data(model->index(1, 1)).toString() + "|" +
                    model->data(model->index(1, 1), Qt::EditRole).toString() +
                    QString("|%1|%2|%3x%4|%5|%6")
                        .arg(int(view->editTriggers()))
                        .arg(int(view->selectionMode()))
                        .arg(dialog->width())
                        .arg(dialog->height())
                        .arg(view->columnWidth(0) -
                             std::max(
                                 view->horizontalHeader()->sectionSizeHint(0),
                                 static_cast<const QAbstractItemView*>(view)->sizeHintForColumn(0)))
                        .arg(view->rowHeight(0) - view->fontMetrics().height());
            dialog ? dialog->accept() : QTimer::singleShot(10, accept);
        };
        QTimer::singleShot(0, accept);
        EXPECT_EQ(real.ChooseRow(nullptr, "Entries", {"Index", "Holds"}, rows, current), picked);
        EXPECT_EQ(header, "Holds||b||0|1|560x480|0|4");
    }
}

// The real question box: Yes is yes and No, its default, no.
TEST(AppRowChooser, TheQuestionIsYesOrNoWithNoTheDefault) {
    app::QtUserDialogs real;
    for (const auto& [button, answer] :
         {std::pair{QMessageBox::Yes, true}, std::pair{QMessageBox::No, false}}) {
        bool noIsDefault = false;
        std::function<void()> press = [&, pressed = button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return QTimer::singleShot(10, press);
            noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
            box->button(pressed)->click();
        };
        QTimer::singleShot(0, press);
        EXPECT_EQ(real.AskYesNo(nullptr, "Replace it?", "Drovak"), answer);
        EXPECT_TRUE(noIsDefault);
    }
}

// The real file dialog: an open takes only a file that exists, a save any name, with the name
// suggested already selected (and taken as it is); a name typed without an extension gets the one
// asked for.
TEST(AppFileDialog, OpenTakesAnExistingFileAndSaveAnyName) {
    app::QtUserDialogs real;
    app::FileDialogSettings settings;
    settings.defaultExtension = "png";
    settings.fileName = "suggested.png";
    settings.startFolder = QDir::tempPath();
    for (const auto kind : {app::FileDialogKind::Open, app::FileDialogKind::Save}) {
        std::tuple<QFileDialog::AcceptMode, QFileDialog::FileMode, QString, bool> seen{
            QFileDialog::AcceptOpen, QFileDialog::Directory, "", false};
        std::function<void()> cancel = [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog) {
                seen = {dialog->acceptMode(), dialog->fileMode(),
                        dialog->defaultSuffix() + "|" + dialog->directory().absolutePath(),
                        dialog->selectedFiles().value(0).endsWith("/suggested.png")};
            }
            if (!dialog) return QTimer::singleShot(10, cancel);
            kind == app::FileDialogKind::Save ? static_cast<QDialog*>(dialog)->accept()
                                              : dialog->reject();
        };
        QTimer::singleShot(0, cancel);
        const bool save = kind == app::FileDialogKind::Save;
        EXPECT_EQ(
            real.RunFileDialog(nullptr, kind, settings).value_or("").endsWith("/suggested.png"),
            save);
        EXPECT_EQ(seen, std::tuple(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen,
                                   save ? QFileDialog::AnyFile : QFileDialog::ExistingFile,
                                   "png|" + QDir::tempPath(), save));
    }
}
