#pragma once

#include "app/Page.h"

class QLineEdit;
class QPushButton;

namespace drovak::app {

// "Title Screen Background": the title screen's background picture of the ROM in the preview.
class TitlePage final : public Page {
public:
    TitlePage(MainForm& form, QWidget* tab);

    void ShowRom(const QString& path) override;
    void RomChosen() override { ShowTitleScreen(); }
    QString RomOnShow() const override;
    void DrawFromRom(const QString&) override { ShowTitleScreen(); }

private:
    void ShowTitleScreen();
    void UpdateTitleButton();

    QPushButton* titleViewButton_ = nullptr;
    QLineEdit* titleRomEdit_ = nullptr;
    QPushButton* titleRomBrowse_ = nullptr;
};

} // namespace drovak::app
