// "Save All Map to PNG": the export runs as a task of the window while the window stays live;
// the arrows do not scroll and a second export does not start until it has ended. Esc or Cancel
// stops it, and nothing is left of it then.
#include "app/LevelsPage.h"
#include "app/MainForm.h"

#include "base/Paths.h"
#include "graphics/LevelExport.h"
#include "words/WindowStatusWords.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>

namespace drovak::app {

namespace {

// The export reports the rows it has written; the page shows them as screens (the progress bar
// and the column counter count 32).
class ScreensProgress final : public Progress {
public:
    explicit ScreensProgress(Progress& task) : task_(task) {}
    void Step(uint64_t done, uint64_t total, std::string_view) override {
        task_.Step(total == 0 ? 0 : done * LEVEL_SCREENS / total, LEVEL_SCREENS, "screens");
    }
    bool Cancelled() const override { return task_.Cancelled(); }

private:
    Progress& task_;
};

} // namespace

void LevelsPage::SaveLevelMap() {
    if (ExportRunning()) return;
    const QString what = QString::fromStdString(
        ExportingText(QFileInfo(levelPngEdit_->text()).fileName().toStdString()));
    form_.RefuseWhileTaskRuns(what);
    exportProgress_->setValue(0);
    exportProgress_->setMaximum(static_cast<int>(LEVEL_SCREENS));
    form_.Document().ScrollColumn = 0;
    exportPath_ = levelPngEdit_->text();
    exportTime_.start();
    std::optional<LevelData> level;
    try {
        level = DecodeLevel(form_.Document().RomPath.toStdString(), SelectedLevel());
    } catch (...) {
        // A ROM that can't be read ends the export before it starts, as any other end.
        form_.Document().FrameBuffer.fill(0);
        exportProgress_->setValue(0);
        form_.FocusPreview();
        throw;
    }
    // The task draws into a picture buffer of its own; nothing the window does reaches it.
    const auto work = [level = std::move(*level), planeB = PlaneBSelected(),
                       path = exportPath_.toStdString()](Progress& progress) {
        ScreensProgress screens(progress);
        ExportLevelPng(level, planeB, path, screens);
    };
    exportRunning_ = true;
    form_.StartTask(what, work, [this](std::exception_ptr error) {
        form_.RunOperation([this, error] { ExportEnded(error); });
    });
}

void LevelsPage::ExportStepped(quint64 done) {
    if (!ExportRunning()) return;
    form_.Document().ScrollColumn = static_cast<uint16_t>(done);
    exportProgress_->setValue(static_cast<int>(done));
}

void LevelsPage::ExportEnded(std::exception_ptr error) {
    exportRunning_ = false;
    // The column is left at the last screen's, as an export of the 32 screens one by one leaves
    // it, also when the file could not be written (the rows are drawn as they are written).
    form_.Document().ScrollColumn = static_cast<uint16_t>(LEVEL_SCREENS);
    form_.Document().FrameBuffer.fill(0);
    exportProgress_->setValue(0);
    // The arrow keys scroll again at once.
    form_.FocusPreview();
    // A ROM changed meanwhile is drawn as it now is.
    if (drawAfterExport_) {
        drawAfterExport_ = false;
        if (form_.PageOnShow() == MainPage::Levels) ShowLevel();
    }
    RethrowTaskError(error, FileNamePart(exportPath_.toStdString()));
    form_.ShowStatus(QString::fromStdString(LevelSavedText(
        QFileInfo(exportPath_).fileName().toStdString(), LEVEL_PNG_WIDTH, LEVEL_PNG_HEIGHT,
        uint64_t(QFileInfo(exportPath_).size()), double(exportTime_.elapsed()) / 1000)));
}

} // namespace drovak::app
