#include "app/uMain.h"

#include "base/Paths.h"
#include "graphics/TitleScreen.h"

#include <QLineEdit>
#include <QPushButton>

namespace drovak::app {

void MainForm::ShowTitleScreen() {
    RomPath = TitleRomEdit->text();
    PreviewImage title = RenderTitleScreen(RomPath.toStdString());
    const QString size = QString("%1 x %2").arg(title.Width).arg(title.Height);
    ShowPicture(std::move(title));
    ShowStatus(QString("Title screen background of %1 drawn: %2 pixels.")
                   .arg(QString::fromStdString(FileNamePart(RomPath.toStdString())), size));
}

void MainForm::UpdateTitleButton() {
    TitleViewButton->setEnabled(!TitleRomEdit->text().isEmpty());
}

} // namespace drovak::app
