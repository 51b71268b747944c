#include "app/uMain.h"

#include "app/AppFont.h"
#include "app/Controls.h"

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

} // namespace

void MainForm::BuildLzhPage(QWidget* page) {
    QFrame* header = AddRowPanel(page, false, HEADER_ROW_HEIGHT);
    AddLabel(header, "Table Index (HEX)", Dock::Right);
    AddLabel(header, "Table offset (HEX)", Dock::Left);
    LzhTableIndexEdit = AddEdit(header, "0", Dock::Right, HEX_FIELD_WIDTH);
    LzhTableOffsetEdit = AddEdit(header, "20000", Dock::Left, HEX_FIELD_WIDTH);
    LzhModeTabs = AddTabs(page, {"Decompression", "Compression"}, Dock::Client);

    QWidget* decompression = LzhModeTabs->widget(DecompressionTab);
    AddLabel(decompression, "Parameters:", Dock::Top);
    std::tie(LzhDecompRomEdit, LzhDecompRomBrowse) = AddPathRow(decompression, "TF3.bin:");
    ActionRow out =
        AddActionRow(decompression, LZH_DECOMPRESS_ROW_HEIGHT, "Decompress to:", "Decompress");
    LzhDecompressButton = out.action;
    LzhDecompOutEdit = out.field;
    LzhDecompOutBrowse = out.browse;

    QWidget* compression = LzhModeTabs->widget(CompressionTab);
    AddLabel(compression, "Parameters:", Dock::Top);
    std::tie(LzhCompInEdit, LzhCompInBrowse) = AddPathRow(compression, "Compress from:");
    ActionRow rom = AddActionRow(compression, ACTION_ROW_HEIGHT, "TF3.bin:", "Compress");
    LzhCompressButton = rom.action;
    LzhCompRomEdit = rom.field;
    LzhCompRomBrowse = rom.browse;
}

void MainForm::BuildRlePage(QWidget* page) {
    QFrame* header = AddRowPanel(page, false, HEADER_ROW_HEIGHT);
    AddLabel(header, "Offset (HEX)", Dock::Left);
    RleOffsetEdit = AddEdit(header, "48120", Dock::Left, HEX_FIELD_WIDTH);
    RleModeTabs = AddTabs(page, {"Decompression", "Compression"}, Dock::Client);

    QWidget* decompression = RleModeTabs->widget(DecompressionTab);
    AddLabel(decompression, "Parameters:", Dock::Top);
    std::tie(RleDecompRomEdit, RleDecompRomBrowse) = AddPathRow(decompression, "TF3.bin:");
    ActionRow out = AddActionRow(decompression, ACTION_ROW_HEIGHT, "Decompress to:", "Decompress");
    RleDecompressButton = out.action;
    RleDecompOutEdit = out.field;
    RleDecompOutBrowse = out.browse;

    QWidget* compression = RleModeTabs->widget(CompressionTab);
    AddLabel(compression, "Parameters:", Dock::Top);
    std::tie(RleCompInEdit, RleCompInBrowse) = AddPathRow(compression, "Compress from:");
    ActionRow rom = AddActionRow(compression, ACTION_ROW_HEIGHT, "TF3.bin:", "Compress");
    RleCompressButton = rom.action;
    RleCompRomEdit = rom.field;
    RleCompRomBrowse = rom.browse;
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
