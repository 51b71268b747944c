// "Save All Map to PNG": the export runs on a job of its own while the window stays live; the
// arrows do not scroll and a second export does not start until it has ended.
#include "app/LevelExportJob.h"
#include "app/LevelsPage.h"
#include "app/MainForm.h"

#include "graphics/LevelExport.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QProgressBar>
#include <QRadioButton>

namespace drovak::app {

void LevelsPage::SaveLevelMap() {
    if (ExportRunning()) return;
    exportProgress_->setValue(0);
    exportProgress_->setMaximum(static_cast<int>(LEVEL_SCREENS));
    form_.ScrollColumn = 0;
    exportPath_ = levelPngEdit_->text();
    exportTime_.start();
    try {
        exportJob_ = std::make_unique<LevelExportJob>(
            DecodeLevel(form_.RomPath.toStdString(), SelectedLevel()), PlaneBSelected(),
            exportPath_.toStdString());
    } catch (...) {
        // A ROM that can't be read ends the export before it starts, as any other end.
        form_.FrameBuffer.fill(0);
        exportProgress_->setValue(0);
        form_.FocusPreview();
        throw;
    }
    connect(exportJob_.get(), &LevelExportJob::ScreensDone, this, &LevelsPage::ScreensExported,
            Qt::QueuedConnection);
    connect(exportJob_.get(), &LevelExportJob::Finished, this,
            [this] { form_.RunOperation([this] { ExportEnded(); }); });
    exportJob_->Start();
}

void LevelsPage::ScreensExported(unsigned screens) {
    form_.ScrollColumn = static_cast<uint16_t>(screens);
    exportProgress_->setValue(static_cast<int>(screens));
}

void LevelsPage::ExportEnded() {
    const std::exception_ptr error = exportJob_->Error();
    // The job's signal is still being delivered: the job goes once it is over.
    exportJob_.release()->deleteLater();
    // The column is left at the last screen's, as an export of the 32 screens one by one leaves
    // it, also when the file could not be written (the rows are drawn as they are written).
    form_.ScrollColumn = static_cast<uint16_t>(LEVEL_SCREENS);
    form_.FrameBuffer.fill(0);
    exportProgress_->setValue(0);
    // The arrow keys scroll again at once.
    form_.FocusPreview();
    if (error) std::rethrow_exception(error);
    form_.ShowStatus(QString("%1 saved: %2 x %3 pixels, %4 bytes, in %5 s.")
                         .arg(QFileInfo(exportPath_).fileName())
                         .arg(LEVEL_PNG_WIDTH)
                         .arg(LEVEL_PNG_HEIGHT)
                         .arg(QFileInfo(exportPath_).size())
                         .arg(double(exportTime_.elapsed()) / 1000, 0, 'f', 1));
}

} // namespace drovak::app
