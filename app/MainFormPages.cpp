#include "app/uMain.h"

#include "app/AppFont.h"
#include "app/Controls.h"
#include "rom/HexField.h"
#include "rom/RomLayout.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace drovak::app {

namespace {

constexpr int HEADER_ROW_HEIGHT = 23;
constexpr int PATH_ROW_HEIGHT = 26;
constexpr int ACTION_ROW_HEIGHT = 46;
constexpr int LZH_DECOMPRESS_ROW_HEIGHT = 48;
constexpr int HEX_FIELD_WIDTH = 90;
constexpr int ACTION_BUTTON_HEIGHT = 18;

// The text a hexadecimal field starts with.
QString HexDefault(uint32_t value) {
    return QString::fromStdString(HexFieldText(value));
}

// A row "caption: [field] [...]" with an action button along its bottom: label, button, field
// and "..." in this creation order.
struct ActionRow {
    QPushButton* action;
    QLineEdit* field;
    QPushButton* browse;
};

ActionRow AddActionRow(QWidget* page, int height, const QString& caption,
                       const QString& actionText) {
    QFrame* row = AddRowPanel(page, true, height);
    AddLabel(row, caption, Dock::Left);
    QPushButton* action = AddButton(row, actionText, Dock::Bottom);
    action->setFont(BoldButtonFont(ACTION_BUTTON_HEIGHT));
    action->setEnabled(false);
    QLineEdit* field = AddEdit(row, QString(), Dock::Client);
    QPushButton* browse = AddButton(row, "...", Dock::Right);
    return {action, field, browse};
}

// A row "caption: [field] [...]".
std::pair<QLineEdit*, QPushButton*> AddPathRow(QWidget* page, const QString& caption) {
    QFrame* row = AddRowPanel(page, true, PATH_ROW_HEIGHT);
    AddLabel(row, caption, Dock::Left);
    QLineEdit* field = AddEdit(row, QString(), Dock::Client);
    QPushButton* browse = AddButton(row, "...", Dock::Right);
    return {field, browse};
}

// The two tabs of a compression page, control for control the same on both pages: the
// "Decompression" tab's "TF3.bin:" and "Decompress to:" rows, the "Compression" tab's
// "Compress from:" and "TF3.bin:" rows.
struct ModeTabRows {
    std::pair<QLineEdit*, QPushButton*> decompRom;
    ActionRow decompOut;
    std::pair<QLineEdit*, QPushButton*> compIn;
    ActionRow compRom;
};

ModeTabRows AddModeTabRows(QTabWidget* modeTabs, int decompressRowHeight) {
    ModeTabRows rows;
    QWidget* decompression = modeTabs->widget(DecompressionTab);
    AddLabel(decompression, "Parameters:", Dock::Top);
    rows.decompRom = AddPathRow(decompression, "TF3.bin:");
    rows.decompOut =
        AddActionRow(decompression, decompressRowHeight, "Decompress to:", "Decompress");
    QWidget* compression = modeTabs->widget(CompressionTab);
    AddLabel(compression, "Parameters:", Dock::Top);
    rows.compIn = AddPathRow(compression, "Compress from:");
    rows.compRom = AddActionRow(compression, ACTION_ROW_HEIGHT, "TF3.bin:", "Compress");
    return rows;
}

} // namespace

void MainForm::BuildLzhPage(QWidget* page) {
    QFrame* header = AddRowPanel(page, false, HEADER_ROW_HEIGHT);
    AddLabel(header, "Table Index (HEX)", Dock::Right);
    AddLabel(header, "Table offset (HEX)", Dock::Left);
    LzhTableIndexEdit =
        AddEdit(header, HexDefault(DEFAULT_TABLE_INDEX), Dock::Right, HEX_FIELD_WIDTH);
    LzhTableOffsetEdit =
        AddEdit(header, HexDefault(POINTER_TABLE_OFFSET), Dock::Left, HEX_FIELD_WIDTH);
    LzhModeTabs = AddTabs(page, {"Decompression", "Compression"}, Dock::Client);

    const ModeTabRows rows = AddModeTabRows(LzhModeTabs, LZH_DECOMPRESS_ROW_HEIGHT);
    std::tie(LzhDecompRomEdit, LzhDecompRomBrowse) = rows.decompRom;
    LzhDecompressButton = rows.decompOut.action;
    LzhDecompOutEdit = rows.decompOut.field;
    LzhDecompOutBrowse = rows.decompOut.browse;
    std::tie(LzhCompInEdit, LzhCompInBrowse) = rows.compIn;
    LzhCompressButton = rows.compRom.action;
    LzhCompRomEdit = rows.compRom.field;
    LzhCompRomBrowse = rows.compRom.browse;
}

void MainForm::BuildRlePage(QWidget* page) {
    QFrame* header = AddRowPanel(page, false, HEADER_ROW_HEIGHT);
    AddLabel(header, "Offset (HEX)", Dock::Left);
    RleOffsetEdit = AddEdit(header, HexDefault(DEFAULT_RLE_OFFSET), Dock::Left, HEX_FIELD_WIDTH);
    RleModeTabs = AddTabs(page, {"Decompression", "Compression"}, Dock::Client);

    const ModeTabRows rows = AddModeTabRows(RleModeTabs, ACTION_ROW_HEIGHT);
    std::tie(RleDecompRomEdit, RleDecompRomBrowse) = rows.decompRom;
    RleDecompressButton = rows.decompOut.action;
    RleDecompOutEdit = rows.decompOut.field;
    RleDecompOutBrowse = rows.decompOut.browse;
    std::tie(RleCompInEdit, RleCompInBrowse) = rows.compIn;
    RleCompressButton = rows.compRom.action;
    RleCompRomEdit = rows.compRom.field;
    RleCompRomBrowse = rows.compRom.browse;
}

void MainForm::BuildLevelsPage(QWidget* page) {
    std::tie(LevelRomEdit, LevelRomBrowse) = AddPathRow(page, "TF3.bin:");
    LevelRomEdit->setReadOnly(true);

    QFrame* pngRow = AddRowPanel(page, true, ACTION_ROW_HEIGHT);
    AddLabel(pngRow, "Save PNG to:", Dock::Left);
    LevelPngEdit = AddEdit(pngRow, QString(), Dock::Client);
    LevelPngBrowse = AddButton(pngRow, "...", Dock::Right);
    SaveMapButton = AddButton(pngRow, "Save All Map to PNG", Dock::Bottom);
    SaveMapButton->setEnabled(false);

    LevelCombo = new QComboBox(page);
    LevelCombo->setEditable(false);
    LevelCombo->addItem("ComboBox1");
    LevelCombo->setCurrentIndex(0);
    Docking(page)->AddPlaced(LevelCombo, QRect(0, 80, 121, LevelCombo->sizeHint().height()));

    PlaneARadio = new QRadioButton("Plane A", page);
    Docking(page)->AddPlacedAutoSized(PlaneARadio, QPoint(256, 80), AutoSize::RadioButton);
    PlaneBRadio = new QRadioButton("Plane B", page);
    Docking(page)->AddPlacedAutoSized(PlaneBRadio, QPoint(320, 80), AutoSize::RadioButton);

    ExportProgress = new QProgressBar(page);
    ExportProgress->setTextVisible(false);
    ExportProgress->setRange(0, 100);
    ExportProgress->setValue(0);
    Docking(page)->AddDocked(ExportProgress, Dock::Bottom, QSize(0, 20));
}

void MainForm::BuildTitlePage(QWidget* page) {
    ActionRow row =
        AddActionRow(page, ACTION_ROW_HEIGHT, "TF3.bin:", "View Title Screen Background");
    TitleViewButton = row.action;
    TitleViewButton->setFont(font());
    TitleViewButton->setEnabled(true);
    TitleRomEdit = row.field;
    TitleRomEdit->setReadOnly(true);
    TitleRomBrowse = row.browse;
}

} // namespace drovak::app
