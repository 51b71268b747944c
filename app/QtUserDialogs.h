#pragma once

#include "app/UserDialogs.h"

#include <QMessageBox>
#include <memory>

namespace drovak::app {

// The message box the dialogs run: modal over its owner (over the whole program without one),
// and kept above other windows.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                            const QString& text, const QString& caption,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton);

// UserDialogs with QMessageBox, QFileDialog, QClipboard and a list dialog (RowChooser.cpp).
class QtUserDialogs final : public UserDialogs {
public:
    bool AskYesNo(QWidget* owner, const QString& text, const QString& caption) override;
    void Inform(QWidget* owner, const QString& text, const QString& caption) override;
    void ShowError(QWidget* owner, const QString& text, const QString& caption) override;
    void ShowFatal(const QString& text) override;
    std::optional<QString> RunFileDialog(QWidget* owner, FileDialogKind kind,
                                         const FileDialogSettings& settings) override;
    void SetClipboardText(const QString& text) override;
    void SetClipboardImage(const QImage& image) override;
    std::optional<int> ChooseRow(QWidget* owner, const QString& title, const QStringList& columns,
                                 const std::vector<QStringList>& rows, int current) override;
};

} // namespace drovak::app
