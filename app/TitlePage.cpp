#include "app/TitlePage.h"

#include "app/Controls.h"
#include "app/MainForm.h"
#include "base/Paths.h"
#include "graphics/TitleScreen.h"
#include "words/WindowStatusWords.h"

#include <QLineEdit>
#include <QPushButton>

namespace drovak::app {

namespace {
constexpr int ROW_HEIGHT = 46;
} // namespace

TitlePage::TitlePage(MainForm& form, QWidget* tab) : Page(form, tab) {
    const ActionRow row = AddActionRow(tab, ROW_HEIGHT, "TF3.bin:", "View Title Screen Background");
    titleViewButton_ = row.action;
    titleViewButton_->setFont(form.font());
    titleViewButton_->setEnabled(true);
    titleRomEdit_ = row.field;
    titleRomEdit_->setReadOnly(true);
    titleRomBrowse_ = row.browse;
    titleViewButton_->setObjectName("TitleViewButton");
    titleRomEdit_->setObjectName("TitleRomEdit");
    titleRomBrowse_->setObjectName("TitleRomBrowse");

    connect(titleRomEdit_, &QLineEdit::textChanged, this,
            [this] { form_.RunOperation([this] { UpdateTitleButton(); }); });
    connect(titleRomBrowse_, &QPushButton::clicked, this,
            [this] { form_.RunOperation([this] { form_.BrowseRom(false, *this); }); });
    form_.OfferPatchMenu(titleRomEdit_);
    connect(titleViewButton_, &QPushButton::clicked, this,
            [this] { form_.RunOperation([this] { ShowTitleScreen(); }); });
}

QString TitlePage::RomOnShow() const {
    return titleRomEdit_->text();
}

void TitlePage::ShowRom(const QString& path) {
    titleRomEdit_->setText(path);
}

void TitlePage::ShowTitleScreen() {
    form_.Document().RomPath = titleRomEdit_->text();
    PreviewImage title = RenderTitleScreen(form_.Document().RomPath.toStdString());
    const std::string status = TitleDrawnText(FileNamePart(form_.Document().RomPath.toStdString()),
                                              title.Width, title.Height);
    form_.ShowPicture(std::move(title));
    form_.ShowStatus(QString::fromStdString(status));
}

void TitlePage::UpdateTitleButton() {
    titleViewButton_->setEnabled(!titleRomEdit_->text().isEmpty());
}

} // namespace drovak::app
