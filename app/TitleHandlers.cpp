#include "app/uMain.h"

#include "graphics/TitleScreen.h"

#include <QLineEdit>
#include <QPushButton>

namespace drovak::app {

void MainForm::ShowTitleScreen() {
    RomPath = TitleRomEdit->text();
    ShowPicture(RenderTitleScreen(RomPath.toStdString(), FrameBuffer));
}

void MainForm::UpdateTitleButton() {
    TitleViewButton->setEnabled(!TitleRomEdit->text().isEmpty());
}

} // namespace drovak::app
