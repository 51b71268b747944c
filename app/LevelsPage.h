#pragma once

#include "app/Page.h"
#include "graphics/Level.h"

#include <QElapsedTimer>
#include <exception>
#include <optional>

class QComboBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace drovak::app {

// "Levels Viewer": a plane of a level in the preview, scrolled by keys and the wheel, and the
// whole plane exported as a PNG picture (LevelExport.cpp).
class LevelsPage final : public Page {
public:
    LevelsPage(MainForm& form, QWidget* tab);
    ~LevelsPage() override;

    void ShowRom(const QString& path) override;
    void Switched() override { ShowLevel(); }
    void RomChosen() override;
    QString RomOnShow() const override;
    void DrawFromRom(const QString&) override { ShowLevel(); }

    // Start-up: the list of the levels, the first chosen.
    void FillLevelList();
    // The chosen level and plane from column 0, with the default name of its PNG.
    void ShowLevel();
    // A key on the window and a turn of the wheel over the preview.
    void ScrollLevel(int key);
    void WheelLevel(int angleDelta);
    bool ExportRunning() const { return exportRunning_; }
    // The ROM changed: the level decoded from it is of the ROM as it was. While an export runs
    // the view stays, and is drawn anew from the ROM as it is once the export has ended.
    void RomChanged();

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
    void ExportStepped(quint64 done);
    void ExportEnded(std::exception_ptr error);

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
    // The export that runs (on the window's task runner), and since when.
    bool exportRunning_ = false;
    bool drawAfterExport_ = false;
    QString exportPath_;
    QElapsedTimer exportTime_;
};

} // namespace drovak::app
