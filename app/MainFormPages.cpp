#include "app/uMain.h"

#include "app/AppFont.h"
#include "app/Controls.h"
#include "rom/HexField.h"
#include "rom/LzhPage.h"
#include "rom/RlePage.h"
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

// The mode tabs of a compression page, control for control the same on both pages: the
// "Decompression" tab's "TF3.bin:" and "Decompress to:" rows, the "Compression" tab's
// "Compress from:" and "TF3.bin:" rows.
void AddModeTabs(QWidget* page, int decompressRowHeight, CompressionPage& controls) {
    controls.modeTabs = AddTabs(page, {"Decompression", "Compression"}, Dock::Client);
    QWidget* decompression = controls.modeTabs->widget(TabIndex(ModeTab::Decompression));
    AddLabel(decompression, "Parameters:", Dock::Top);
    std::tie(controls.decompRomEdit, controls.decompRomBrowse) =
        AddPathRow(decompression, "TF3.bin:");
    const ActionRow decompOut =
        AddActionRow(decompression, decompressRowHeight, "Decompress to:", "Decompress");
    controls.decompressButton = decompOut.action;
    controls.decompOutEdit = decompOut.field;
    controls.decompOutBrowse = decompOut.browse;
    QWidget* compression = controls.modeTabs->widget(TabIndex(ModeTab::Compression));
    AddLabel(compression, "Parameters:", Dock::Top);
    std::tie(controls.compInEdit, controls.compInBrowse) =
        AddPathRow(compression, "Compress from:");
    const ActionRow compRom = AddActionRow(compression, ACTION_ROW_HEIGHT, "TF3.bin:", "Compress");
    controls.compressButton = compRom.action;
    controls.compRomEdit = compRom.field;
    controls.compRomBrowse = compRom.browse;
}

} // namespace

void MainForm::BuildLzhPage(QWidget* page) {
    QFrame* header = AddRowPanel(page, false, HEADER_ROW_HEIGHT);
    AddLabel(header, TABLE_INDEX_CAPTION, Dock::Right);
    AddLabel(header, TABLE_OFFSET_CAPTION, Dock::Left);
    LzhTableIndexEdit =
        AddEdit(header, HexDefault(DEFAULT_TABLE_INDEX), Dock::Right, HEX_FIELD_WIDTH);
    LzhTableOffsetEdit =
        AddEdit(header, HexDefault(POINTER_TABLE_OFFSET), Dock::Left, HEX_FIELD_WIDTH);
    lzhPage_.hexFields = {LzhTableOffsetEdit, LzhTableIndexEdit};
    AddModeTabs(page, LZH_DECOMPRESS_ROW_HEIGHT, lzhPage_);

    LzhModeTabs = lzhPage_.modeTabs;
    LzhDecompRomEdit = lzhPage_.decompRomEdit;
    LzhDecompRomBrowse = lzhPage_.decompRomBrowse;
    LzhDecompressButton = lzhPage_.decompressButton;
    LzhDecompOutEdit = lzhPage_.decompOutEdit;
    LzhDecompOutBrowse = lzhPage_.decompOutBrowse;
    LzhCompInEdit = lzhPage_.compInEdit;
    LzhCompInBrowse = lzhPage_.compInBrowse;
    LzhCompressButton = lzhPage_.compressButton;
    LzhCompRomEdit = lzhPage_.compRomEdit;
    LzhCompRomBrowse = lzhPage_.compRomBrowse;
    lzhPage_.suggestedFileName = [this] {
        return QString::fromStdString(SuggestedLzhFileName(
            LzhDecompRomEdit->text().toStdString(), LzhTableOffsetEdit->text().toStdString(),
            LzhTableIndexEdit->text().toStdString()));
    };
    lzhPage_.decompress = [this] { LzhDecompressEntry(); };
    lzhPage_.compress = [this] { LzhCompressEntry(); };
    lzhPage_.sheetCell = {1, 1};
    lzhPage_.showFromRom = [this](const std::string& romPath) { ShowLzhEntry(romPath); };
}

void MainForm::BuildRlePage(QWidget* page) {
    QFrame* header = AddRowPanel(page, false, HEADER_ROW_HEIGHT);
    AddLabel(header, RLE_OFFSET_CAPTION, Dock::Left);
    RleOffsetEdit = AddEdit(header, HexDefault(DEFAULT_RLE_OFFSET), Dock::Left, HEX_FIELD_WIDTH);
    rlePage_.hexFields = {RleOffsetEdit};
    AddModeTabs(page, ACTION_ROW_HEIGHT, rlePage_);

    RleModeTabs = rlePage_.modeTabs;
    RleDecompRomEdit = rlePage_.decompRomEdit;
    RleDecompRomBrowse = rlePage_.decompRomBrowse;
    RleDecompressButton = rlePage_.decompressButton;
    RleDecompOutEdit = rlePage_.decompOutEdit;
    RleDecompOutBrowse = rlePage_.decompOutBrowse;
    RleCompInEdit = rlePage_.compInEdit;
    RleCompInBrowse = rlePage_.compInBrowse;
    RleCompressButton = rlePage_.compressButton;
    RleCompRomEdit = rlePage_.compRomEdit;
    RleCompRomBrowse = rlePage_.compRomBrowse;
    rlePage_.suggestedFileName = [this] {
        return QString::fromStdString(SuggestedRleFileName(RleDecompRomEdit->text().toStdString(),
                                                           RleOffsetEdit->text().toStdString()));
    };
    rlePage_.decompress = [this] { RleDecompressAt(); };
    rlePage_.compress = [this] { RleCompressAt(); };
    // Four tiles stacked top to bottom in a cell, the order of a sprite's tiles.
    rlePage_.sheetCell = {1, 4};
    rlePage_.showFromRom = [this](const std::string& romPath) { ShowRleBlock(romPath); };
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
