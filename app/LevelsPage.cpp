// "Levels Viewer": its controls, the level on show and its scrolling.
#include "app/LevelsPage.h"

#include "app/Controls.h"
#include "app/MainForm.h"
#include "base/Paths.h"
#include "graphics/Level.h"
#include "rom/LevelLayout.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include <algorithm>
#include <optional>

namespace drovak::app {

namespace {

constexpr int PNG_ROW_HEIGHT = 46;

bool RomExists(const QString& path) {
    return FileExists(path.toStdString());
}

// Where a key moves the first column of the view: the arrows one column, Page Up and Page Down
// one screen, Home and End to the first and the last; nothing for any other key.
std::optional<int> ColumnAfterKey(int key, int column) {
    switch (key) {
    case Qt::Key_Left:
        return column - 1;
    case Qt::Key_Right:
        return column + 1;
    case Qt::Key_PageUp:
        return column - int(BLOCK_COLUMNS_SHOWN);
    case Qt::Key_PageDown:
        return column + int(BLOCK_COLUMNS_SHOWN);
    case Qt::Key_Home:
        return 0;
    case Qt::Key_End:
        return int(LEVEL_LAST_SCROLL_COLUMN);
    default:
        return std::nullopt;
    }
}

} // namespace

LevelsPage::LevelsPage(MainForm& form, QWidget* tab) : Page(form, tab) {
    Build(tab);
    Wire();
    // Plane A checked (its click handler does not run).
    planeARadio_->setChecked(true);
}

LevelsPage::~LevelsPage() = default;

void LevelsPage::Build(QWidget* tab) {
    const PathRow rom = AddPathRow(tab, "TF3.bin:");
    levelRomEdit_ = rom.field;
    levelRomBrowse_ = rom.browse;
    levelRomEdit_->setReadOnly(true);

    QFrame* pngRow = AddRowPanel(tab, true, PNG_ROW_HEIGHT);
    AddLabel(pngRow, "Save PNG to:", Dock::Left);
    levelPngEdit_ = AddEdit(pngRow, QString(), Dock::Client);
    levelPngBrowse_ = AddButton(pngRow, "...", Dock::Right);
    saveMapButton_ = AddButton(pngRow, "Save All Map to PNG", Dock::Bottom);
    saveMapButton_->setEnabled(false);

    levelCombo_ = new QComboBox(tab);
    levelCombo_->setEditable(false);
    levelCombo_->addItem("ComboBox1");
    levelCombo_->setCurrentIndex(0);
    Docking(tab)->AddPlaced(levelCombo_, QRect(0, 80, 121, levelCombo_->sizeHint().height()));

    planeARadio_ = new QRadioButton("Plane A", tab);
    Docking(tab)->AddPlacedAutoSized(planeARadio_, QPoint(256, 80), AutoSize::RadioButton);
    planeBRadio_ = new QRadioButton("Plane B", tab);
    Docking(tab)->AddPlacedAutoSized(planeBRadio_, QPoint(320, 80), AutoSize::RadioButton);

    exportProgress_ = new QProgressBar(tab);
    exportProgress_->setTextVisible(false);
    exportProgress_->setRange(0, 100);
    exportProgress_->setValue(0);
    Docking(tab)->AddDocked(exportProgress_, Dock::Bottom, QSize(0, 20));

    const std::pair<QObject*, const char*> names[] = {
        {levelRomEdit_, "LevelRomEdit"},    {levelRomBrowse_, "LevelRomBrowse"},
        {levelPngEdit_, "LevelPngEdit"},    {levelPngBrowse_, "LevelPngBrowse"},
        {saveMapButton_, "SaveMapButton"},  {levelCombo_, "LevelCombo"},
        {planeARadio_, "PlaneARadio"},      {planeBRadio_, "PlaneBRadio"},
        {exportProgress_, "ExportProgress"}};
    for (const auto& [control, name] : names) control->setObjectName(name);
}

void LevelsPage::Wire() {
    const auto run = [this](void (LevelsPage::*handler)()) {
        return [this, handler] { form_.RunOperation([this, handler] { (this->*handler)(); }); };
    };
    connect(levelRomEdit_, &QLineEdit::textChanged, this, run(&LevelsPage::UpdateSaveButton));
    connect(levelRomBrowse_, &QPushButton::clicked, this,
            [this] { form_.RunOperation([this] { form_.BrowseRom(false, *this); }); });
    form_.OfferPatchMenu(levelRomEdit_);
    connect(levelPngBrowse_, &QPushButton::clicked, this, run(&LevelsPage::BrowsePngPath));
    connect(saveMapButton_, &QPushButton::clicked, this, run(&LevelsPage::SaveLevelMap));
    connect(levelCombo_, &QComboBox::currentIndexChanged, this, run(&LevelsPage::ShowLevel));
    connect(planeARadio_, &QRadioButton::clicked, this, run(&LevelsPage::ShowLevel));
    connect(planeBRadio_, &QRadioButton::clicked, this, run(&LevelsPage::ShowLevel));
    connect(&form_.Tasks(), &TaskRunner::Stepped, this,
            [this](quint64 done) { ExportStepped(done); });
}

QString LevelsPage::RomOnShow() const {
    return levelRomEdit_->text();
}

void LevelsPage::RomChosen() {
    // A path that names no file has no level to show: nor has the previous ROM's level.
    if (!ExportRunning() && !RomExists(form_.Document().RomPath)) form_.ClearPicture();
    ShowLevel();
}

void LevelsPage::RomChanged() {
    shownLevel_.reset();
    if (ExportRunning()) drawAfterExport_ = true;
}

void LevelsPage::ShowRom(const QString& path) {
    levelRomEdit_->setText(path);
}

void LevelsPage::FillLevelList() {
    // Emptying and filling the list is not a change of the user's choice.
    const QSignalBlocker blocker(levelCombo_);
    levelCombo_->clear();
    for (unsigned level = 0; level < LEVEL_COUNT; ++level) {
        levelCombo_->addItem(QString::fromStdString(LevelListItem(level)));
    }
    levelCombo_->setCurrentIndex(0);
}

unsigned LevelsPage::SelectedLevel() const {
    const int index = levelCombo_->currentIndex();
    return index < 0 ? 0u : static_cast<unsigned>(index);
}

bool LevelsPage::PlaneBSelected() const {
    return !planeARadio_->isChecked();
}

void LevelsPage::ShowLevel() {
    // While an export runs, the level on show stays as it is.
    if (ExportRunning() || !RomExists(form_.Document().RomPath)) return;
    levelPngEdit_->setText(form_.OutputFolder() + QString::fromStdString(DefaultLevelPngName(
                                                      SelectedLevel(), PlaneBSelected())));
    UpdateSaveButton();
    form_.Document().ScrollColumn = 0;
    shownLevel_.reset(); // decoded anew: the level, the plane or the ROM changed
    DrawLevelView();
}

void LevelsPage::DrawLevelView() {
    if (!shownLevel_)
        shownLevel_ = DecodeLevel(form_.Document().RomPath.toStdString(), SelectedLevel());
    form_.ShowPicture(AssembleLevel(*shownLevel_, PlaneBSelected(), form_.Document().ScrollColumn));
    ShowLevelPosition();
}

void LevelsPage::ShowLevelPosition() {
    // Start-up's own drawing leaves the credits on show.
    if (!form_.Started()) return;
    form_.ShowStatus(QString("%1, Plane %2: column %3 of %4, screen %5 of %6")
                         .arg(levelCombo_->currentText(), PlaneBSelected() ? "B" : "A")
                         .arg(form_.Document().ScrollColumn)
                         .arg(LEVEL_LAST_SCROLL_COLUMN)
                         .arg(form_.Document().ScrollColumn / BLOCK_COLUMNS_SHOWN + 1)
                         .arg(LEVEL_SCREENS));
}

void LevelsPage::ScrollLevel(int key) {
    const std::optional<int> column = ColumnAfterKey(key, form_.Document().ScrollColumn);
    if (!column || !form_.PreviewHasFocus()) return;
    // Only the level on show scrolls; nothing before a ROM is there or while an export runs.
    if (form_.PageOnShow() != MainPage::Levels || ExportRunning() ||
        !RomExists(form_.Document().RomPath)) {
        return;
    }
    // At either end the view stays but is still drawn again.
    form_.Document().ScrollColumn = uint16_t(std::clamp(*column, 0, int(LEVEL_LAST_SCROLL_COLUMN)));
    DrawLevelView();
}

void LevelsPage::WheelLevel(int angleDelta) {
    if (form_.PageOnShow() != MainPage::Levels || ExportRunning() ||
        !RomExists(form_.Document().RomPath)) {
        return;
    }
    // One column a step (120), a turn away from the user to the left, as a Left arrow.
    wheelRest_ += angleDelta;
    const int steps = wheelRest_ / 120;
    wheelRest_ %= 120;
    if (steps == 0) return;
    form_.Document().ScrollColumn = uint16_t(
        std::clamp(form_.Document().ScrollColumn - steps, 0, int(LEVEL_LAST_SCROLL_COLUMN)));
    DrawLevelView();
}

void LevelsPage::UpdateSaveButton() {
    saveMapButton_->setEnabled(!levelRomEdit_->text().isEmpty() &&
                               !levelPngEdit_->text().isEmpty());
}

void LevelsPage::BrowsePngPath() {
    form_.SaveFileDialog.defaultExtension = "png";
    form_.SaveFileDialog.filter = PNG_FILTER;
    if (const std::optional<QString> path = form_.RunDialog(FileDialogKind::Save)) {
        levelPngEdit_->setText(*path);
    }
}

} // namespace drovak::app
