#include "app/uMain.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Rle.h"
#include "graphics/Level.h"
#include "preview/PreviewView.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

namespace drovak::app {

namespace {
bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

void MainForm::RunOperation(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const UnsupportedRepeatError& error) {
        // The encoder's own box: no owner window.
        dialogs_.ShowError(nullptr, QString::fromStdString(error.what()), "Error");
    } catch (const DrovakError& error) {
        dialogs_.ShowError(this, QString::fromStdString(error.what()), "Error");
    } catch (const std::exception& error) {
        EndProgram(QString::fromStdString(error.what()));
    } catch (...) {
        EndProgram("Unknown error");
    }
}

void MainForm::EndProgram(const QString& error) {
    dialogs_.ShowFatal(error);
    close();
    QCoreApplication::exit(1);
}

void MainForm::WireHandlers() {
    auto run = [this](void (MainForm::*handler)()) {
        return [this, handler] { RunOperation([this, handler] { (this->*handler)(); }); };
    };

    connect(PreviewView, &preview::PreviewView::Clicked, this, run(&MainForm::FocusPreview));
    connect(PreviewView, &preview::PreviewView::Wheel, this, [this](int angleDelta) {
        RunOperation([this, angleDelta] { WheelLevel(angleDelta); });
    });
    BuildPreviewMenu();
    for (QLineEdit* field : {LzhDecompRomEdit, LzhCompRomEdit, RleDecompRomEdit, RleCompRomEdit,
                             LevelRomEdit, TitleRomEdit}) {
        field->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(field, &QLineEdit::customContextMenuRequested, this,
                [this, field](const QPoint& position) { ShowRomFieldMenu(field, position); });
    }
    TableListAction = new QAction("Choose an entry of the table...", this);
    connect(TableListAction, &QAction::triggered, this, run(&MainForm::ChooseTableEntry));
    LzhTableIndexEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(LzhTableIndexEdit, &QLineEdit::customContextMenuRequested, this,
            [this](const QPoint& position) {
                RunOperation([this, position] { ShowTableIndexMenu(position); });
            });
    connect(PageTabs->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        // The page handler acts on the page the click selects.
        if (index < 0) return;
        PageTabs->setCurrentIndex(index);
        RunOperation([this] { PageSwitched(); });
    });

    // "LZH Compression" and "RLE Compression".
    WireCompressionPage(lzhPage_);
    WireCompressionPage(rlePage_);

    // "Levels Viewer".
    connect(LevelRomEdit, &QLineEdit::textChanged, this, run(&MainForm::UpdateSaveButton));
    connect(LevelRomBrowse, &QPushButton::clicked, this,
            [this] { RunOperation([this] { BrowseRom(false, {LevelRomEdit}); }); });
    connect(LevelPngBrowse, &QPushButton::clicked, this, run(&MainForm::BrowsePngPath));
    connect(SaveMapButton, &QPushButton::clicked, this, run(&MainForm::SaveLevelMap));
    connect(LevelCombo, &QComboBox::currentIndexChanged, this, run(&MainForm::ShowLevel));
    connect(PlaneARadio, &QRadioButton::clicked, this, run(&MainForm::ShowLevel));
    connect(PlaneBRadio, &QRadioButton::clicked, this, run(&MainForm::ShowLevel));

    // "Title Screen Background".
    connect(TitleRomEdit, &QLineEdit::textChanged, this, run(&MainForm::UpdateTitleButton));
    connect(TitleRomBrowse, &QPushButton::clicked, this,
            [this] { RunOperation([this] { BrowseRom(false, {TitleRomEdit}); }); });
    connect(TitleViewButton, &QPushButton::clicked, this, run(&MainForm::ShowTitleScreen));

    // Key preview: the window sees every key press of its controls first (and the key-up of
    // the hexadecimal fields on the way).
    qApp->installEventFilter(this);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (FileDragged(watched, event)) return true;
    const CompressionPage* page = PageOfHexField(watched);
    const bool hexField = page != nullptr;
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        // A key press travels from the focus widget up its parents; take it once, where it
        // starts, and only for this window.
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* focus = QApplication::focusWidget();
        const bool start = widget && widget->window() == this &&
                           (widget == focus || (focus == nullptr && widget == this));
        if (start && IsEnter(keyEvent->key())) enterPressedIn_ = hexField ? watched : nullptr;
        // Ctrl+Z undoes the last change to the page's ROM, except in a text field: there it is
        // the field's own undo of the typing.
        const CompressionPage* undoPage = CompressionPageOnShow();
        const bool inTextField = qobject_cast<QLineEdit*>(focus) != nullptr;
        if (start && !inTextField && keyEvent->matches(QKeySequence::Undo)) {
            if (undoPage) {
                RunOperation([this, undoPage] { UndoLastChange(*undoPage); });
            } else {
                RunOperation([this] { UndoPictureRomChange(); });
            }
            return true;
        }
        if (start) {
            const int key = keyEvent->key();
            RunOperation([this, key] { WindowKeyDown(key); });
        }
    } else if (event->type() == QEvent::MouseButtonDblClick && watched == LzhTableIndexEdit &&
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        RunOperation([this] { ChooseTableEntry(); });
        return true;
    } else if ((event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick) &&
               watched == PageTabs->tabBar() &&
               static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
        // Only a left click switches pages; the tab bar would report any button's.
        return true;
    } else if (event->type() == QEvent::KeyRelease && hexField) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        // Only Enter acts on its release ("LzhKeyUp", "RleKeyUp"), and only when it was pressed
        // in the same field: the release of the Enter that closed a message box lands in the
        // field too, and must not run the operation again.
        if (IsEnter(keyEvent->key()) && !keyEvent->isAutoRepeat()) {
            const bool pressedHere = enterPressedIn_ == watched;
            enterPressedIn_ = nullptr;
            if (pressedHere) RunOperation([this, page] { PageEnterReleased(*page); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainForm::WindowKeyDown(int key) {
    ScrollLevel(key);
}

void MainForm::FocusPreview() {
    PreviewView->setFocus(Qt::MouseFocusReason);
}

void MainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        RunOperation([this] { MainFormShown(); });
    }
}

void MainForm::MainFormShown() {
    ScrollColumn = 0;
    {
        // Emptying and filling the list is not a change of the user's choice.
        const QSignalBlocker blocker(LevelCombo);
        LevelCombo->clear();
        for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
            LevelCombo->addItem(QString::fromStdString(LevelListItem(level)));
        }
        LevelCombo->setCurrentIndex(0);
    }
    // The preview's context is created by the toolkit as the view is first shown. Without one
    // the window closes right after start-up, by its usual close, once the user has been told.
    if (!PreviewView->HasContext()) {
        dialogs_.ShowError(this,
                           "No OpenGL context can be had for the preview (OpenGL 1.1, 32-bit "
                           "colour, 24-bit depth buffer); Drovak closes.",
                           "Error");
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
        return;
    }
    OpenRomDialog.startFolder = programFolder_;
    QString startUpRom = programFolder_ + DEFAULT_ROM_NAME;
    QString romProblem;
    if (!startUpRom_.isEmpty()) {
        try {
            OpenRomRead(startUpRom_.toStdString());
            startUpRom = startUpRom_;
            OpenRomDialog.startFolder =
                QString::fromStdString(FolderPart(startUpRom.toStdString()));
        } catch (const DrovakError& error) {
            romProblem = "ROM image not opened: " + QString::fromStdString(error.what());
        }
    }
    if (FileExists(startUpRom.toStdString())) {
        for (QLineEdit* field : {LzhCompRomEdit, LzhDecompRomEdit, RleCompRomEdit, RleDecompRomEdit,
                                 TitleRomEdit, LevelRomEdit}) {
            field->setText(startUpRom);
        }
        RomPath = startUpRom;
    } else {
        // Nothing to show yet: the status line says how to begin.
        ShowStatus(NO_ROM_STATUS);
    }
    PageSwitched();
    if (!romProblem.isEmpty()) ShowStatus(romProblem);
    started_ = true;
}

void MainForm::closeEvent(QCloseEvent* event) {
    MainFormClose();
    event->accept();
}

void MainForm::MainFormClose() {
    PreviewView->ReleasePreview();
}

std::optional<QString> MainForm::RunDialog(FileDialogKind kind) {
    const FileDialogSettings& settings =
        kind == FileDialogKind::Open ? OpenRomDialog : SaveFileDialog;
    return dialogs_.RunFileDialog(this, kind, settings);
}

void MainForm::BrowseRom(bool save, std::initializer_list<QLineEdit*> fields) {
    if (save) {
        SaveFileDialog.filter = SAVE_BIN_FILTER;
        SaveFileDialog.defaultExtension = "bin";
    }
    const std::optional<QString> path =
        RunDialog(save ? FileDialogKind::Save : FileDialogKind::Open);
    if (path) UseRom(*path, std::vector<QLineEdit*>(fields));
}

void MainForm::ShowPicture(PreviewImage image, std::optional<SheetTiles> tiles) {
    CopyToFrameBuffer(image, FrameBuffer);
    PreviewView->ShowPicture(image);
    shownPicture_ = std::move(image);
    shownTiles_ = std::move(tiles);
}

} // namespace drovak::app
