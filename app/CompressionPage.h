#pragma once

#include "graphics/TileSheet.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QTabWidget;

namespace drovak::app {

// The captions of the pages' hexadecimal fields; a refused text is named by its field's.
inline constexpr const char* TABLE_OFFSET_CAPTION = "Table offset (HEX)";
inline constexpr const char* TABLE_INDEX_CAPTION = "Table Index (HEX)";
inline constexpr const char* RLE_OFFSET_CAPTION = "Offset (HEX)";

// The compression pages' sheets lay 64 cells to a row (CompressionPage::sheetCell).
inline constexpr unsigned PREVIEW_SHEET_COLUMNS = 64;

// The number in a hexadecimal field, read strictly; RefusedError naming the field's caption and
// its text otherwise.
uint32_t FieldHexValue(const char* caption, const QLineEdit* field);

struct CompressionPage;

// The "TF3.bin:" field of the tab on show.
QLineEdit* RomFieldOnShow(const CompressionPage& page);

// One of the two compression pages ("LZH Compression", "RLE Compression"). Their controls
// mirror each other control for control, and so do the handlers of those controls: one set of
// handlers (CompressionPageHandlers.cpp) serves both pages through this. What differs is the
// page's own: its hexadecimal fields, the data-file name it suggests and its two operations.
struct CompressionPage {
    // The header's hexadecimal fields: a change suggests a new data-file name, Enter released
    // in one runs the operation of the tab on show.
    std::vector<QLineEdit*> hexFields;
    QTabWidget* modeTabs = nullptr;
    // "Decompression": "TF3.bin:" and "Decompress to:".
    QLineEdit* decompRomEdit = nullptr;
    QPushButton* decompRomBrowse = nullptr;
    QPushButton* decompressButton = nullptr;
    QLineEdit* decompOutEdit = nullptr;
    QPushButton* decompOutBrowse = nullptr;
    // "Compression": "Compress from:" and "TF3.bin:".
    QLineEdit* compInEdit = nullptr;
    QPushButton* compInBrowse = nullptr;
    QPushButton* compressButton = nullptr;
    QLineEdit* compRomEdit = nullptr;
    QPushButton* compRomBrowse = nullptr;

    std::function<QString()> suggestedFileName;
    std::function<void()> decompress;
    std::function<void()> compress;
    // How the preview lays the page's tiles: cells of this size, 64 to a row (and so "Save tiles
    // as PNG..." and a picture without its recorded cell as "Compress from:").
    TileCell sheetCell;
    // Draws the entry or block of the page's fields from the ROM image at the path given, as it
    // is now.
    std::function<void(const std::string& romPath)> showFromRom;
};

} // namespace drovak::app
