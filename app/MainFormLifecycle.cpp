#include "app/MainForm.h"

#include "app/CompressionPage.h"
#include "app/LevelsPage.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Rle.h"
#include "preview/PreviewView.h"
#include "rom/RomFile.h"
#include "rom/RomLayout.h"
#include "words/RomProblemWords.h"
#include "words/WindowWords.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <filesystem>

namespace drovak::app {

namespace {
bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

void MainForm::RunOperation(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const CancelledError& error) {
        // Asked for by the user: the status line says it, without a box.
        ShowStatus(QString::fromStdString(ErrorText(error)) + ".");
    } catch (const UnsupportedRepeatError& error) {
        // The encoder's own box: no owner window.
        dialogs_.ShowError(nullptr, QString::fromStdString(ErrorText(error)), "Error");
    } catch (const DrovakError& error) {
        dialogs_.ShowError(this, QString::fromStdString(ErrorText(error)), "Error");
    } catch (const std::exception& error) {
        EndProgram(QString::fromStdString(error.what()));
    } catch (...) {
        EndProgram(QString::fromStdString(UnknownErrorText()));
    }
}

void MainForm::EndProgram(const QString& error) {
    dialogs_.ShowFatal(error);
    close();
    QCoreApplication::exit(1);
}

void MainForm::WireHandlers() {
    connect(previewView_, &preview::PreviewView::Clicked, this,
            [this] { RunOperation([this] { FocusPreview(); }); });
    connect(previewView_, &preview::PreviewView::Wheel, this, [this](int angleDelta) {
        RunOperation([this, angleDelta] { levelsPage_->WheelLevel(angleDelta); });
    });
    BuildPreviewMenu();
    connect(&document_, &RomDocument::changed, this,
            [this](const QString& path, const QString& summary) {
                RunOperation([this, &path, &summary] { RomChanged(path, summary); });
            });
    connect(&tasks_, &TaskRunner::Started, this, &MainForm::TaskStarted);
    connect(&tasks_, &TaskRunner::Stepped, this, &MainForm::TaskStepped);
    connect(&tasks_, &TaskRunner::Ended, this, &MainForm::TaskEnded);
    connect(cancelButton_, &QPushButton::clicked, &tasks_, &TaskRunner::Cancel);
    connect(pageTabs_->tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
        // The page handler acts on the page the click selects.
        if (index < 0) return;
        pageTabs_->setCurrentIndex(index);
        RunOperation([this] { PageSwitched(); });
    });

    // Key preview: the window sees every key press of its controls first (and the key-up of
    // the hexadecimal fields on the way).
    qApp->installEventFilter(this);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event) {
    if (FileDragged(watched, event)) return true;
    CompressionPage* page = PageOfHexField(watched);
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        // A key press travels from the focus widget up its parents; take it once, where it
        // starts, and only for this window.
        auto* widget = qobject_cast<QWidget*>(watched);
        QWidget* focus = QApplication::focusWidget();
        const bool start = widget && widget->window() == this &&
                           (widget == focus || (focus == nullptr && widget == this));
        if (start && IsEnter(keyEvent->key())) enterPressedIn_ = page ? watched : nullptr;
        // Ctrl+Z undoes the last change to the page's ROM, except in a text field: there it is
        // the field's own undo of the typing.
        const bool inTextField = qobject_cast<QLineEdit*>(focus) != nullptr;
        if (start && !inTextField && keyEvent->matches(QKeySequence::Undo)) {
            RunOperation([this] { UndoPageRomChange(); });
            return true;
        }
        // Esc cancels the work that runs.
        if (start && keyEvent->key() == Qt::Key_Escape && tasks_.Running()) {
            tasks_.Cancel();
            return true;
        }
        if (start) {
            const int key = keyEvent->key();
            RunOperation([this, key] { WindowKeyDown(key); });
        }
    } else if ((event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick) &&
               watched == pageTabs_->tabBar() &&
               static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
        // Only a left click switches pages; the tab bar would report any button's.
        return true;
    } else if (event->type() == QEvent::KeyRelease && page) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        // Only Enter acts on its release ("LzhKeyUp", "RleKeyUp"), and only when it was pressed
        // in the same field: the release of the Enter that closed a message box lands in the
        // field too, and must not run the operation again.
        if (IsEnter(keyEvent->key()) && !keyEvent->isAutoRepeat()) {
            const bool pressedHere = enterPressedIn_ == watched;
            enterPressedIn_ = nullptr;
            if (pressedHere) RunOperation([page] { page->EnterReleased(); });
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

CompressionPage* MainForm::PageOfHexField(const QObject* field) const {
    for (CompressionPage* page : {lzhPage_, rlePage_}) {
        if (page->IsHexField(field)) return page;
    }
    return nullptr;
}

CompressionPage* MainForm::CompressionPageOnShow() const {
    switch (PageOnShow()) {
    case MainPage::Lzh:
        return lzhPage_;
    case MainPage::Rle:
        return rlePage_;
    default:
        return nullptr;
    }
}

MainPage MainForm::PageOnShow() const {
    return static_cast<MainPage>(pageTabs_->currentIndex());
}

bool MainForm::PreviewHasFocus() const {
    return previewView_->hasFocus();
}

void MainForm::PageSwitched() {
    if (!FileExists(document_.RomPath.toStdString())) return;
    Page* page = pages_[size_t(PageOnShow())];
    page->ShowRom(document_.RomPath);
    page->Switched();
}

void MainForm::WindowKeyDown(int key) {
    levelsPage_->ScrollLevel(key);
}

void MainForm::FocusPreview() {
    previewView_->setFocus(Qt::MouseFocusReason);
}

void MainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        // Centred now, and again once the window manager has put its frame around the window
        // (the frame's height would otherwise put the window below the centre).
        CentreOnScreen();
        QMetaObject::invokeMethod(this, &MainForm::CentreOnScreen, Qt::QueuedConnection);
        RunOperation([this] { MainFormShown(); });
    }
}

void MainForm::MainFormShown() {
    document_.ScrollColumn = 0;
    levelsPage_->FillLevelList();
    // The preview's context is created by the toolkit as the view is first shown. Without one
    // the window closes right after start-up, by its usual close, once the user has been told.
    if (!previewView_->HasContext()) {
        dialogs_.ShowError(this, QString::fromStdString(NoGlContextMessage()), "Error");
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
            // A real path: its folder ends at the last "/" alone.
            OpenRomDialog.startFolder = QString::fromStdString(
                std::filesystem::path(startUpRom.toStdString()).parent_path().string() + "/");
        } catch (const DrovakError& error) {
            romProblem = QString::fromStdString(RomNotOpenedText(ErrorText(error)));
        }
    }
    if (FileExists(startUpRom.toStdString())) {
        for (Page* page : pages_) page->ShowRom(startUpRom);
        document_.RomPath = startUpRom;
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
    // Long work is cancelled, and the window waits for it: nothing half-made stays behind.
    tasks_.CancelAndWait();
    previewView_->ReleasePreview();
}

std::optional<QString> MainForm::RunDialog(FileDialogKind kind) {
    const FileDialogSettings& settings =
        kind == FileDialogKind::Open ? OpenRomDialog : SaveFileDialog;
    return dialogs_.RunFileDialog(this, kind, settings);
}

void MainForm::BrowseRom(bool save, Page& page) {
    if (save) {
        SaveFileDialog.filter = SAVE_BIN_FILTER;
        SaveFileDialog.defaultExtension = "bin";
    }
    const std::optional<QString> path =
        RunDialog(save ? FileDialogKind::Save : FileDialogKind::Open);
    if (path) UseRom(*path, page);
}

bool MainForm::Ask(const std::string& question) {
    return dialogs_.AskYesNo(this, QString::fromStdString(question), "Warning");
}

void MainForm::ShowPicture(PreviewImage image, std::optional<SheetTiles> tiles) {
    CopyToFrameBuffer(image, document_.FrameBuffer);
    previewView_->ShowPicture(image);
    shownPicture_ = std::move(image);
    shownTiles_ = std::move(tiles);
}

void MainForm::ClearPicture() {
    document_.FrameBuffer.fill(0);
    previewView_->ClearPicture();
    shownPicture_ = {};
    shownTiles_.reset();
}

} // namespace drovak::app
