#pragma once

// The main window: every control of the four pages, the two file dialogs, the values the
// operations share, and the handlers the controls are wired to.

#include "app/CompressionPage.h"
#include "app/UserDialogs.h"
#include "graphics/Level.h"
#include "graphics/Renderer.h"

#include <QMainWindow>
#include <QString>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace drovak {
struct RomBytes;
struct RomChange;
namespace preview {
class PreviewView;
}
} // namespace drovak

namespace drovak::app {

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

    // The window.
    preview::PreviewView* PreviewView = nullptr;
    QTabWidget* PageTabs = nullptr;

    // "LZH Compression".
    QLineEdit* LzhTableOffsetEdit = nullptr;
    QLineEdit* LzhTableIndexEdit = nullptr;
    QTabWidget* LzhModeTabs = nullptr;
    QLineEdit* LzhDecompRomEdit = nullptr;
    QPushButton* LzhDecompRomBrowse = nullptr;
    QPushButton* LzhDecompressButton = nullptr;
    QLineEdit* LzhDecompOutEdit = nullptr;
    QPushButton* LzhDecompOutBrowse = nullptr;
    QLineEdit* LzhCompInEdit = nullptr;
    QPushButton* LzhCompInBrowse = nullptr;
    QPushButton* LzhCompressButton = nullptr;
    QLineEdit* LzhCompRomEdit = nullptr;
    QPushButton* LzhCompRomBrowse = nullptr;

    // "RLE Compression".
    QLineEdit* RleOffsetEdit = nullptr;
    QTabWidget* RleModeTabs = nullptr;
    QLineEdit* RleDecompRomEdit = nullptr;
    QPushButton* RleDecompRomBrowse = nullptr;
    QPushButton* RleDecompressButton = nullptr;
    QLineEdit* RleDecompOutEdit = nullptr;
    QPushButton* RleDecompOutBrowse = nullptr;
    QLineEdit* RleCompInEdit = nullptr;
    QPushButton* RleCompInBrowse = nullptr;
    QPushButton* RleCompressButton = nullptr;
    QLineEdit* RleCompRomEdit = nullptr;
    QPushButton* RleCompRomBrowse = nullptr;

    // "Levels Viewer".
    QLineEdit* LevelRomEdit = nullptr;
    QPushButton* LevelRomBrowse = nullptr;
    QLineEdit* LevelPngEdit = nullptr;
    QPushButton* LevelPngBrowse = nullptr;
    QPushButton* SaveMapButton = nullptr;
    QComboBox* LevelCombo = nullptr;
    QRadioButton* PlaneARadio = nullptr;
    QRadioButton* PlaneBRadio = nullptr;
    QProgressBar* ExportProgress = nullptr;

    // "Title Screen Background".
    QPushButton* TitleViewButton = nullptr;
    QLineEdit* TitleRomEdit = nullptr;
    QPushButton* TitleRomBrowse = nullptr;

    // The preview's context menu (PreviewMenu.cpp): "Copy picture", "Save picture as PNG..."
    // and "Keep proportions" on every page, "Save tiles as PNG..." on the compression pages.
    QMenu* PreviewMenu = nullptr;
    QAction* CopyPictureAction = nullptr;
    QAction* SavePictureAction = nullptr;
    QAction* SaveTilesAction = nullptr;
    QAction* KeepProportionsAction = nullptr;
    // "Undo the last change to NAME...", on the compression pages (as Ctrl+Z outside a field).
    QAction* UndoChangeAction = nullptr;
    // The list of the table's entries, from the context menu of "Table Index (HEX)" (and a double
    // click on it).
    QAction* TableListAction = nullptr;

    // The shared dialogs: each keeps the settings last given to it.
    FileDialogSettings OpenRomDialog;
    FileDialogSettings SaveFileDialog;

    // The values the operations share.
    QString RomPath;
    uint16_t ScrollColumn = 0;
    drovak::FrameBuffer FrameBuffer{};

    const QString& ProgramFolder() const { return programFolder_; }
    bool ExportRunning() const { return exportRunning_; }
    // The texture on show in the preview (0 before the first picture).
    uint32_t PreviewTexture() const;

    // Runs one operation: a failure of the core (a file that can't be read or written, a
    // refused operation) is shown in an "Error" box and the program goes on; anything else is
    // shown in a system-modal box and the program ends.
    void RunOperation(const std::function<void()>& operation);

    // The status line (StatusLine.cpp): the credits, until an operation says what it did.
    void ShowStatus(const QString& text);
    QString StatusText() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Construction (MainForm.cpp, MainFormPages.cpp).
    void BuildMainForm();
    void BuildLzhPage(QWidget* page);
    void BuildRlePage(QWidget* page);
    void BuildLevelsPage(QWidget* page);
    void BuildTitlePage(QWidget* page);
    void WireHandlers();
    void FinishMainForm();

    // Start-up, shutdown, shared handlers (MainFormLifecycle.cpp).
    void MainFormShown();
    void MainFormClose();
    void WindowKeyDown(int key);
    void FocusPreview();
    void BrowseRom(bool save, std::initializer_list<QLineEdit*> fields);
    std::optional<QString> RunDialog(FileDialogKind kind);
    // The tile data of a compression page's sheet, and the ROM whose palette drew it.
    struct SheetTiles {
        std::vector<uint8_t> data;
        std::string romPath;
        TileCell cell;
    };
    // The picture on show, with its tiles when it is a sheet ("Save tiles as PNG...").
    void ShowPicture(PreviewImage image, std::optional<SheetTiles> tiles = {});
    void EndProgram(const QString& error);

    // A ROM chosen with "..." or dropped on the window (DragAndDrop.cpp): RomPath and the
    // fields, then the picture of the page on show drawn anew.
    void UseRom(const QString& path, const std::vector<QLineEdit*>& fields);
    std::vector<QLineEdit*> RomFieldsOfPageOnShow() const;
    // A file dragged over or dropped on the window: true when the event was taken.
    bool FileDragged(QObject* target, QEvent* event);

    // The preview's context menu (PreviewMenu.cpp).
    void BuildPreviewMenu();
    void UpdatePreviewMenu();
    void CopyPicture();
    void SavePictureAsPng();
    void SaveTilesAsPng();
    std::optional<QString> AskPngPath();

    // The table's entries to choose "Table Index (HEX)" from (TableList.cpp).
    void ShowTableIndexMenu(const QPoint& position);
    void ChooseTableEntry();

    // What the two compression pages' controls do, the same on both (CompressionPageHandlers.cpp).
    void WireCompressionPage(const CompressionPage& page);
    const CompressionPage* PageOfHexField(const QObject* field) const;
    void PageEnterReleased(const CompressionPage& page);
    void UpdateDataFileName(const CompressionPage& page);
    void UpdateDecompressButton(const CompressionPage& page);
    void UpdateCompressButton(const CompressionPage& page);
    void BrowseDecompOut(const CompressionPage& page);
    void BrowseCompIn(const CompressionPage& page);
    // Shows the tiles as the page's sheet and saves them (asking first over other data); false
    // when the user kept the file as it was.
    bool ShowSheetAndSave(std::vector<uint8_t> data, const RomBytes& rom, TileCell cell,
                          const std::string& outPath);
    // Shows the tiles as a page's sheet, drawn with the palette of the ROM image.
    void ShowSheet(std::vector<uint8_t> data, const RomBytes& rom, TileCell cell);
    // What a decompress did, on the status line: `what` names the entry or block.
    void ShowDecompressed(const std::string& what, size_t bytes, const std::string& outPath,
                          bool saved, const std::string& packedNote);
    // The data of a "Compress from:" file, a PNG turned into tile data; false when the user
    // does not want a picture whose drawing runs beyond the data kept.
    // The picture's tiles are read in the cell it records, or else in the page's cell;
    // paletteNote says when its colours decided its values.
    bool ReadCompressData(const std::string& inPath, const std::string& what,
                          const std::function<std::optional<uint64_t>()>& entryBytes, TileCell cell,
                          std::vector<uint8_t>& data, std::string& pictureNote,
                          std::string& paletteNote);
    // The compression page on show, if one is.
    const CompressionPage* CompressionPageOnShow() const;
    // Ctrl+Z on a compression page (outside a text field), or the preview menu's "Undo the last
    // change to NAME...": the last change to its ROM undone (or redone), when the user says so,
    // and the page's entry or block drawn from the ROM as it now is.
    void UndoLastChange(const CompressionPage& page);
    // A "Warning" question, No by default.
    bool Ask(const std::string& question);
    // What a compress did, on the status line; `lead` comes first (what the user must not miss).
    void ShowRomChange(const RomChange& change, const std::string& details = {},
                       const std::string& lead = {});

    // Patches (PatchHandlers.cpp): the ROM of the page on show (the field of the mode tab on
    // show on a compression page), and its picture drawn anew after a change.
    QString PageRomPath() const;
    // The page's picture drawn from its ROM as it now is; a failure to draw it is added to
    // `summary`, the status line's text (which the caller shows after the picture's own).
    void DrawPageRomAnew(std::string& summary);
    // Ctrl+Z (outside a text field) on the Levels Viewer and the title page: the last change to
    // the page's ROM undone (or redone), when the user says so.
    void UndoPictureRomChange();
    // A .bps or .ips dropped on the window: applied to the page's ROM when the user says so.
    void ApplyDroppedPatch(const QString& patchPath);
    // The context menu of a ROM field, with "Make a patch against an original ROM...".
    void ShowRomFieldMenu(QLineEdit* field, const QPoint& position);
    // Asks for the original ROM and where to save the patch, and writes the BPS patch from the
    // original to the ROM at modifiedPath.
    void MakePatchFrom(const QString& modifiedPath);

    // "LZH Compression" (LzhPageHandlers.cpp).
    void LzhDecompressEntry();
    void LzhCompressEntry();
    void ShowLzhEntry(const std::string& romPath);

    // "RLE Compression" (RlePageHandlers.cpp).
    void RleDecompressAt();
    void RleCompressAt();
    void ShowRleBlock(const std::string& romPath);

    // "Levels Viewer" and the page change (LevelViewerHandlers.cpp).
    void PageSwitched();
    void ShowLevel();
    void ScrollLevel(int key);
    void WheelLevel(int angleDelta);
    void ShowLevelPosition();
    void UpdateSaveButton();
    void BrowsePngPath();
    void SaveLevelMap();
    void DrawLevelView();
    unsigned SelectedLevel() const;
    bool PlaneBSelected() const;

    // "Title Screen Background" (TitleHandlers.cpp).
    void ShowTitleScreen();
    void UpdateTitleButton();

    QString programFolder_;
    QString startUpRom_;
    UserDialogs& dialogs_;
    CompressionPage lzhPage_;
    CompressionPage rlePage_;
    bool shown_ = false;
    // Start-up is over: the status line leaves the credits for what the user does.
    bool started_ = false;
    bool exportRunning_ = false;
    // The picture on show, and the tile data when it is a compression page's sheet.
    PreviewImage shownPicture_;
    std::optional<SheetTiles> shownTiles_;
    // The level on show, decoded when it was shown: scrolling draws other columns of it.
    std::optional<LevelData> shownLevel_;
    // Wheel turns not yet a whole step (a step is 120).
    int wheelRest_ = 0;
    // The hexadecimal field that received the last Enter press (its release runs the page's
    // operation).
    QObject* enterPressedIn_ = nullptr;
};

} // namespace drovak::app
