#include "app/QtUserDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QImage>
#include <QMessageBox>
#include <QStringList>

namespace drovak::app {

QString QtNameFilters(const QString& pipeSeparatedFilter) {
    const QStringList parts = pipeSeparatedFilter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(';', ' ');
        if (description.contains('(' + patterns + ')')) {
            filters << description;
        } else {
            filters << description + " (" + patterns + ")";
        }
    }
    return filters.join(";;");
}

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* owner, QMessageBox::Icon icon,
                                            const QString& text, const QString& caption,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) {
    // Texts break their lines with "\r\n"; the toolkit wants a plain line feed.
    auto box = std::make_unique<QMessageBox>(icon, caption, QString(text).replace("\r\n", "\n"),
                                             buttons, owner);
    box->setDefaultButton(defaultButton);
    box->setWindowModality(owner ? Qt::WindowModal : Qt::ApplicationModal);
    // Last: setting the modality sets the window flags anew, and would drop the hint.
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    return box;
}

namespace {

QMessageBox::StandardButton RunBox(QWidget* owner, QMessageBox::Icon icon, const QString& text,
                                   const QString& caption, QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton) {
    return static_cast<QMessageBox::StandardButton>(
        MakeMessageBox(owner, icon, text, caption, buttons, defaultButton)->exec());
}

} // namespace

bool QtUserDialogs::AskYesNo(QWidget* owner, const QString& text, const QString& caption) {
    return RunBox(owner, QMessageBox::Warning, text, caption, QMessageBox::Yes | QMessageBox::No,
                  QMessageBox::No) == QMessageBox::Yes;
}

void QtUserDialogs::Inform(QWidget* owner, const QString& text, const QString& caption) {
    RunBox(owner, QMessageBox::Information, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

void QtUserDialogs::ShowError(QWidget* owner, const QString& text, const QString& caption) {
    RunBox(owner, QMessageBox::Critical, text, caption, QMessageBox::Ok, QMessageBox::Ok);
}

void QtUserDialogs::ShowFatal(const QString& text) {
    // No owner: the box stands for the whole program, above every window.
    RunBox(nullptr, QMessageBox::Critical, text, "Error", QMessageBox::Ok, QMessageBox::Ok);
}

std::optional<QString> QtUserDialogs::RunFileDialog(QWidget* owner, FileDialogKind kind,
                                                    const FileDialogSettings& settings) {
    QFileDialog dialog(owner, settings.title, settings.startFolder, QtNameFilters(settings.filter));
    dialog.setDefaultSuffix(settings.defaultExtension);
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (kind == FileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        // An existing file is taken as it is: there is no overwrite question.
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (!settings.fileName.isEmpty()) dialog.selectFile(settings.fileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().first();
}

void QtUserDialogs::SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void QtUserDialogs::SetClipboardImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image, QClipboard::Clipboard);
}

} // namespace drovak::app
