#pragma once

#include "app/Page.h"
#include "graphics/Level.h"

#include <QElapsedTimer>
#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace drovak::app {

class LevelExportJob;

// "Levels Viewer": a plane of a level in the preview, scrolled by keys and the wheel, and the
// whole plane exported as a PNG picture (LevelExport.cpp).
class LevelsPage final : public Page {
public:
    LevelsPage(MainForm& form, QWidget* tab);
    // Waits for an export that still runs.
    ~LevelsPage() override;

    void ShowRom(const QString& path) override;
    void Switched() override { ShowLevel(); }
    void RomChosen() override { ShowLevel(); }
    QString RomOnShow() const override;
    void DrawFromRom(const QString&) override { ShowLevel(); }

    // Start-up: the list of the levels, the first chosen.
    void FillLevelList();
    // The chosen level and plane from column 0, with the default name of its PNG.
    void ShowLevel();
    // A key on the window and a turn of the wheel over the preview.
    void ScrollLevel(int key);
    void WheelLevel(int angleDelta);
    bool ExportRunning() const { return exportJob_ != nullptr; }

private:
    void Build(QWidget* tab);
    void Wire();
    void DrawLevelView();
    void ShowLevelPosition();
    void UpdateSaveButton();
    void BrowsePngPath();
    unsigned SelectedLevel() const;
    bool PlaneBSelected() const;

    // The export (LevelExport.cpp).
    void SaveLevelMap();
    void ScreensExported(unsigned screens);
    void ExportEnded();

    QLineEdit* levelRomEdit_ = nullptr;
    QPushButton* levelRomBrowse_ = nullptr;
    QLineEdit* levelPngEdit_ = nullptr;
    QPushButton* levelPngBrowse_ = nullptr;
    QPushButton* saveMapButton_ = nullptr;
    QComboBox* levelCombo_ = nullptr;
    QRadioButton* planeARadio_ = nullptr;
    QRadioButton* planeBRadio_ = nullptr;
    QProgressBar* exportProgress_ = nullptr;

    // The level on show, decoded when it was shown: scrolling draws other columns of it.
    std::optional<LevelData> shownLevel_;
    // Wheel turns not yet a whole step (a step is 120).
    int wheelRest_ = 0;
    // The export that runs, and since when.
    std::unique_ptr<LevelExportJob> exportJob_;
    QString exportPath_;
    QElapsedTimer exportTime_;
};

} // namespace drovak::app
