#pragma once

#include "app/Docking.h"
#include "app/Page.h"
#include "graphics/TileSheet.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLineEdit;
class QPoint;
class QPushButton;
class QTabWidget;

namespace drovak {
struct RomBytes;
struct RomChange;
} // namespace drovak

namespace drovak::app {

// The captions of the pages' hexadecimal fields; a refused text is named by its field's.
inline constexpr const char* TABLE_OFFSET_CAPTION = "Table offset (HEX)";
inline constexpr const char* TABLE_INDEX_CAPTION = "Table Index (HEX)";
inline constexpr const char* RLE_OFFSET_CAPTION = "Offset (HEX)";

// The compression pages' sheets lay 64 cells to a row (CompressionPageSetup::sheetCell).
inline constexpr unsigned PREVIEW_SHEET_COLUMNS = 64;

class CompressionPage;
using PageOperation = std::function<void(CompressionPage&)>;

// A hexadecimal field in a compression page's header, after its caption.
struct HexFieldSetup {
    const char* name;      // the field's
    const char* labelName; // its caption's
    const char* caption;
    uint32_t defaultValue;
    Dock dock;
};

// A header field whose double click, or the entry on top of its context menu, chooses its value
// from a list.
struct ValueListSetup {
    const char* caption; // the field's
    const char* actionName;
    const char* actionText;
    PageOperation choose;
};

// What makes a compression page the LZH or the RLE one: its header, the height of its
// "Decompress to:" row, the data-file name it suggests, its two operations and its sheet.
struct CompressionPageSetup {
    // The first part of the controls' names ("Lzh": "LzhModeTabs", "LzhDecompRomEdit", ...).
    QString prefix;
    // In creation order: first every caption, then every field.
    std::vector<HexFieldSetup> hexFields;
    int decompressRowHeight = 0;
    // From the ROM path and the hexadecimal texts as typed.
    std::function<std::string(const CompressionPage&)> suggestedFileName;
    PageOperation decompress;
    PageOperation compress;
    std::optional<ValueListSetup> valueList;
    // How the preview lays the page's tiles: cells of this size, 64 to a row (and so "Save tiles
    // as PNG..." and a picture without its recorded cell as "Compress from:").
    TileCell sheetCell;
    // Draws the entry or block of the page's fields from the ROM image at the path given, as it
    // is now.
    std::function<void(CompressionPage&, const std::string& romPath)> showFromRom;
};

// "LZH Compression" (LzhPageHandlers.cpp), with the list of the table's entries (TableList.cpp).
CompressionPageSetup LzhPageSetup();
void ChooseTableEntry(CompressionPage& page);
// "RLE Compression" (RlePageHandlers.cpp).
CompressionPageSetup RlePageSetup();

// One of the two compression pages. Their controls mirror each other control for control, and
// so do the handlers of those controls; what differs is given by the setup. The controls and
// their handlers: CompressionPage.cpp; the parts the operations share:
// CompressionPageOperations.cpp.
class CompressionPage final : public Page {
public:
    CompressionPage(MainForm& form, QWidget* tab, CompressionPageSetup setup);

    void ShowRom(const QString& path) override;
    bool TakeDroppedFile(QObject* target, const QString& path) override;
    QString RomOnShow() const override { return RomTextOnShow(); }
    void DrawFromRom(const QString& path) override;

    // A ROM chosen or dropped while the page is on show: its entry or block drawn from the new
    // ROM, or no picture (and why on the status line) where it has none to draw.
    void RomChosen() override;

    // For the window's key preview: Enter released in a header field runs the operation of the
    // tab on show.
    bool IsHexField(const QObject* object) const;
    void EnterReleased();

    // What the operations read and write.
    MainForm& Form() const { return form_; }
    QString HexText(const char* caption) const;
    // The number in a header field, read strictly; RefusedError naming the caption and the text
    // otherwise.
    uint32_t HexValue(const char* caption) const;
    void SetHexText(const char* caption, const QString& text);
    QString DecompRomText() const;
    QString DecompOutText() const;
    QString CompInText() const;
    QString CompRomText() const;
    // The "TF3.bin:" field of the tab on show.
    QString RomTextOnShow() const;

    // Shows the tiles as the page's sheet, drawn with the palette of the ROM image.
    void ShowSheet(std::vector<uint8_t> data, const RomBytes& rom);
    // Shows the tiles as the page's sheet and saves them (asking first over other data); false
    // when the user kept the file as it was.
    bool ShowSheetAndSave(std::vector<uint8_t> data, const RomBytes& rom,
                          const std::string& outPath);
    // What a decompress did, on the status line: `what` names the entry or block.
    void ShowDecompressed(const std::string& what, size_t bytes, const std::string& outPath,
                          bool saved, const std::string& packedNote);
    // The data of a "Compress from:" file, a PNG turned into tile data; false when the user
    // does not want a picture whose drawing runs beyond the data kept. The picture's tiles are
    // read in the cell it records, or else in the page's cell; paletteNote says when its
    // colours decided its values.
    // `previous` gives the data the input replaces (empty when it can't be read): a picture's
    // pixels whose colour several values have keep the value they had there.
    bool ReadCompressData(const std::string& inPath, const std::string& what,
                          const std::function<std::optional<uint64_t>()>& entryBytes,
                          const std::function<std::vector<uint8_t>()>& previous,
                          std::vector<uint8_t>& data, std::string& pictureNote,
                          std::string& paletteNote);
    // What a compress did, told to the document (the status line says it, the page's entry or
    // block is drawn from the ROM as it now is); `lead` comes first (what the user must not miss).
    void ShowRomChange(const RomChange& change, const std::string& details = {},
                       const std::string& lead = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Build(QWidget* tab);
    void BuildValueList();
    void Wire();
    // Runs a handler of the page as one operation of the window.
    void Run(void (CompressionPage::*handler)());
    QLineEdit* HexField(const char* caption) const;
    QLineEdit* RomFieldOnShow() const;

    void UpdateDataFileName();
    void UpdateDecompressButton();
    void UpdateCompressButton();
    void BrowseDecompOut();
    void BrowseCompIn();
    void ShowValueListMenu(const QPoint& position);

    CompressionPageSetup setup_;
    // The header's fields, in the setup's order.
    std::vector<QLineEdit*> hexFields_;
    QTabWidget* modeTabs_ = nullptr;
    // "Decompression": "TF3.bin:" and "Decompress to:".
    QLineEdit* decompRomEdit_ = nullptr;
    QPushButton* decompRomBrowse_ = nullptr;
    QPushButton* decompressButton_ = nullptr;
    QLineEdit* decompOutEdit_ = nullptr;
    QPushButton* decompOutBrowse_ = nullptr;
    // "Compression": "Compress from:" and "TF3.bin:".
    QLineEdit* compInEdit_ = nullptr;
    QPushButton* compInBrowse_ = nullptr;
    QPushButton* compressButton_ = nullptr;
    QLineEdit* compRomEdit_ = nullptr;
    QPushButton* compRomBrowse_ = nullptr;
    // The field with a value list, and the list's entry in its context menu.
    QLineEdit* listField_ = nullptr;
    QAction* listAction_ = nullptr;
};

} // namespace drovak::app
