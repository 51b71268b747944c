#pragma once

// The main window: the preview, the tab control of the four pages (each page an object of its
// own), the two file dialogs, the status line and the values the operations share.

#include "app/RomDocument.h"
#include "app/TaskRunner.h"
#include "app/UserDialogs.h"
#include "graphics/Renderer.h"
#include "graphics/TileSheet.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;

namespace drovak::preview {
class PreviewView;
} // namespace drovak::preview

namespace drovak::app {

class CompressionPage;
class LevelsPage;
class Page;
class TitlePage;

// The pages of PageTabs and of the two mode tab controls, in tab order.
enum class MainPage { Lzh, Rle, Levels, Title };
enum class ModeTab { Decompression, Compression };
// A page's index in its tab control.
constexpr int TabIndex(MainPage page) {
    return static_cast<int>(page);
}
constexpr int TabIndex(ModeTab tab) {
    return static_cast<int>(tab);
}

// The filters of the ROM and data-file dialogs: the texts the window is built with first, then
// every file.
inline constexpr const char* OPEN_BIN_FILTER = "Bin Files (*.bin)|*.bin|All files (*)|*";
inline constexpr const char* SAVE_BIN_FILTER = "BIN Files (*.bin)|*.bin|All files (*)|*";
inline constexpr const char* PNG_FILTER = "PNG Files (*.png)|*.png";

// Whether a dropped file is a patch (.bps or .ips, any case) rather than a ROM.
bool IsPatchFile(const QString& path);

// The window's caption and the credits of its status line, as they are to be read.
inline constexpr const char* WINDOW_CAPTION = "Drovak v1.2 [by Halvern]";
inline constexpr const char* CREDITS =
    "Drovak v1.2 by Halvern - LZH and RLE codecs, level viewer and title screen for ROM modders";

// The status line of a window started without a ROM image.
inline constexpr const char* NO_ROM_STATUS =
    "No ROM image chosen: choose one with \"...\" beside \"TF3.bin:\", or drop a file on the "
    "window.";

class MainForm final : public QMainWindow {
    Q_OBJECT
public:
    // programFolder: the folder of the program with a trailing "/"; a "tf3.bin" in it is the
    // default ROM. The dialogs are used for every message, file dialog and clipboard text.
    MainForm(const QString& programFolder, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~MainForm() override;
    // Before the window is first shown: the ROM image to open at start-up instead of the
    // default ROM (an absolute path). One that can't be read is named in the status line, and
    // the start-up goes on as without it.
    void OpenAtStartUp(const QString& romPath) { startUpRom_ = romPath; }

    // The shared dialogs: each keeps the settings last given to it.
    FileDialogSettings OpenRomDialog;
    FileDialogSettings SaveFileDialog;

    // The ROM image the pages share, and the window's long work.
    RomDocument& Document() { return document_; }
    const RomDocument& Document() const { return document_; }
    TaskRunner& Tasks() { return tasks_; }
    const TaskRunner& Tasks() const { return tasks_; }
    // Starts long work on the task runner; RefusedError while another task runs
    // (RefuseWhileTaskRuns).
    void RefuseWhileTaskRuns(const QString& what) const;
    void StartTask(const QString& what, TaskRunner::Work work, TaskRunner::Done done);

    const QString& ProgramFolder() const { return programFolder_; }
    // Where the window suggests writing what it makes: the program's folder where the user may
    // write there, else the user's pictures folder (or home), with a trailing "/".
    QString OutputFolder() const;
    bool ExportRunning() const;

    // Runs one operation: a failure of the core (a file that can't be read or written, a
    // refused operation) is shown in an "Error" box and the program goes on; anything else is
    // shown in a system-modal box and the program ends.
    void RunOperation(const std::function<void()>& operation);

    // The status line (StatusLine.cpp): the credits, until an operation says what it did.
    void ShowStatus(const QString& text);
    QString StatusText() const;

    // What the pages share.
    UserDialogs& Dialogs() const { return dialogs_; }
    std::optional<QString> RunDialog(FileDialogKind kind);
    // A "Warning" question, No by default.
    bool Ask(const std::string& question);
    // "..." of a "TF3.bin:" field: the open (or save) dialog, then UseRom with the page's fields.
    void BrowseRom(bool save, Page& page);
    // A ROM chosen with "..." or dropped on the window (DragAndDrop.cpp): RomPath and the
    // page's fields, then the picture of the page on show drawn anew.
    void UseRom(const QString& path, Page& page);
    // The tile data of a compression page's sheet, and the ROM whose palette drew it.
    struct SheetTiles {
        std::vector<uint8_t> data;
        std::string romPath;
        TileCell cell;
        // The name of the data file the tiles are decompressed to (the suggested PNG's name).
        std::string dataName;
    };
    // The picture on show, with its tiles when it is a sheet ("Save tiles as PNG...").
    void ShowPicture(PreviewImage image, std::optional<SheetTiles> tiles = {});
    // No picture on show: the preview white, as before the first one.
    void ClearPicture();
    const std::optional<SheetTiles>& ShownTiles() const { return shownTiles_; }
    // The keyboard focus to the preview, where the keys scroll the level.
    void FocusPreview();
    bool PreviewHasFocus() const;
    // A ROM field's context menu gets "Make a patch against an original ROM..." and "Fix the
    // header checksum" (RomFieldMenu.cpp).
    void OfferPatchMenu(QLineEdit* field);
    MainPage PageOnShow() const;
    // Start-up is over: the status line leaves the credits for what the user does.
    bool Started() const { return started_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (MainForm.cpp).
    void BuildMainForm();
    void WireHandlers();
    void FinishMainForm();

    // Start-up, shutdown, shared handlers (MainFormLifecycle.cpp).
    void MainFormShown();
    void MainFormClose();
    void WindowKeyDown(int key);
    void PageSwitched();
    void EndProgram(const QString& error);
    CompressionPage* CompressionPageOnShow() const;
    CompressionPage* PageOfHexField(const QObject* field) const;

    // A file dragged over or dropped on the window: true when the event was taken.
    bool FileDragged(QObject* target, QEvent* event);

    // Patches (PatchHandlers.cpp): the ROM of the page on show, and its picture drawn anew after
    // a change.
    QString PageRomPath() const;
    // Ctrl+Z outside a text field, and the preview menu's "Undo the last change to NAME...": the
    // last change to the page's ROM undone (or redone), when the user says so.
    void UndoPageRomChange();
    // The document's `changed`: every page hears of it, the page on show draws anew.
    void RomChanged(const QString& path, const QString& summary);
    // The Cancel button beside the status line, shown while a task runs.
    void TaskStarted();
    void TaskStepped(quint64 done, quint64 total, const QString& what);
    void TaskEnded();
    // Moves the window to the centre of the screen, its frame included.
    void CentreOnScreen();
    // A .bps or .ips dropped on the window: applied to the page's ROM when the user says so.
    void ApplyDroppedPatch(const QString& patchPath);
    void ShowRomFieldMenu(QLineEdit* field, const QPoint& position);
    // "Fix the header checksum": the ROM in the field, through the document.
    void FixHeaderChecksum(const QString& romPath);
    void RunInEmulator(const QString& romPath);
    // Asks for the original ROM and where to save the patch, and writes the BPS patch from the
    // original to the ROM at modifiedPath.
    void MakePatchFrom(const QString& modifiedPath);

    // The preview's context menu (PreviewMenu.cpp).
    void BuildPreviewMenu();
    void UpdatePreviewMenu();
    void CopyPicture();
    void SavePictureAsPng();
    void SaveTilesAsPng();
    // The save dialog for a PNG, suggesting the name of `suggestedFrom` (a path) as a PNG.
    std::optional<QString> AskPngPath(const std::string& suggestedFrom);

    RomDocument document_;
    TaskRunner tasks_;
    QPushButton* cancelButton_ = nullptr;
    QString programFolder_;
    QString startUpRom_;
    UserDialogs& dialogs_;
    preview::PreviewView* previewView_ = nullptr;
    QTabWidget* pageTabs_ = nullptr;
    // The pages, in tab order.
    CompressionPage* lzhPage_ = nullptr;
    CompressionPage* rlePage_ = nullptr;
    LevelsPage* levelsPage_ = nullptr;
    TitlePage* titlePage_ = nullptr;
    std::array<Page*, 4> pages_{};
    // The preview's context menu: "Copy picture", "Save picture as PNG..." and "Keep
    // proportions" on every page, "Save tiles as PNG..." and "Undo the last change..." on the
    // compression pages.
    QMenu* previewMenu_ = nullptr;
    QAction* copyPictureAction_ = nullptr;
    QAction* savePictureAction_ = nullptr;
    QAction* saveTilesAction_ = nullptr;
    QAction* keepProportionsAction_ = nullptr;
    // "Undo the last change to NAME...", on the compression pages (as Ctrl+Z outside a field).
    QAction* undoChangeAction_ = nullptr;

    bool shown_ = false;
    bool started_ = false;
    // The picture on show, and the tile data when it is a compression page's sheet.
    PreviewImage shownPicture_;
    std::optional<SheetTiles> shownTiles_;
    // The hexadecimal field that received the last Enter press (its release runs the page's
    // operation).
    QObject* enterPressedIn_ = nullptr;
};

} // namespace drovak::app
