// The controls of a compression page and the handlers of its fields and buttons.
#include "app/CompressionPage.h"

#include "app/Controls.h"
#include "app/MainForm.h"
#include "rom/HexField.h"
#include "words/HexFieldWords.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>

namespace drovak::app {

namespace {

constexpr int HEADER_ROW_HEIGHT = 23;
constexpr int COMPRESS_ROW_HEIGHT = 46;
constexpr int HEX_FIELD_WIDTH = 90;

void Name(QObject* object, const QString& prefix, const char* name) {
    object->setObjectName(prefix + name);
}

} // namespace

CompressionPage::CompressionPage(MainForm& form, QWidget* tab, CompressionPageSetup setup)
    : Page(form, tab), setup_(std::move(setup)) {
    Build(tab);
    Wire();
}

void CompressionPage::Build(QWidget* tab) {
    const QString& prefix = setup_.prefix;
    QFrame* header = AddRowPanel(tab, false, HEADER_ROW_HEIGHT);
    Name(header, prefix, "HeaderPanel");
    for (const HexFieldSetup& field : setup_.hexFields) {
        AddLabel(header, field.caption, field.dock)->setObjectName(field.labelName);
    }
    for (const HexFieldSetup& field : setup_.hexFields) {
        QLineEdit* edit = AddEdit(header, QString::fromStdString(HexFieldText(field.defaultValue)),
                                  field.dock, HEX_FIELD_WIDTH);
        edit->setObjectName(field.name);
        hexFields_.push_back(edit);
    }

    // The mode tabs: the "Decompression" tab's "TF3.bin:" and "Decompress to:" rows, the
    // "Compression" tab's "Compress from:" and "TF3.bin:" rows.
    modeTabs_ = AddTabs(tab, {"Decompression", "Compression"}, Dock::Client);
    Name(modeTabs_, prefix, "ModeTabs");
    QWidget* decompression = modeTabs_->widget(TabIndex(ModeTab::Decompression));
    AddLabel(decompression, "Parameters:", Dock::Top);
    const PathRow decompRom = AddPathRow(decompression, "TF3.bin:");
    const ActionRow decompOut =
        AddActionRow(decompression, setup_.decompressRowHeight, "Decompress to:", "Decompress");
    QWidget* compression = modeTabs_->widget(TabIndex(ModeTab::Compression));
    AddLabel(compression, "Parameters:", Dock::Top);
    const PathRow compIn = AddPathRow(compression, "Compress from:");
    const ActionRow compRom =
        AddActionRow(compression, COMPRESS_ROW_HEIGHT, "TF3.bin:", "Compress");

    decompRomEdit_ = decompRom.field;
    decompRomBrowse_ = decompRom.browse;
    decompressButton_ = decompOut.action;
    decompOutEdit_ = decompOut.field;
    decompOutBrowse_ = decompOut.browse;
    compInEdit_ = compIn.field;
    compInBrowse_ = compIn.browse;
    compressButton_ = compRom.action;
    compRomEdit_ = compRom.field;
    compRomBrowse_ = compRom.browse;
    const std::pair<QObject*, const char*> names[] = {
        {decompRomEdit_, "DecompRomEdit"},       {decompRomBrowse_, "DecompRomBrowse"},
        {decompressButton_, "DecompressButton"}, {decompOutEdit_, "DecompOutEdit"},
        {decompOutBrowse_, "DecompOutBrowse"},   {compInEdit_, "CompInEdit"},
        {compInBrowse_, "CompInBrowse"},         {compressButton_, "CompressButton"},
        {compRomEdit_, "CompRomEdit"},           {compRomBrowse_, "CompRomBrowse"}};
    for (const auto& [control, name] : names) Name(control, prefix, name);
}

void CompressionPage::Run(void (CompressionPage::*handler)()) {
    form_.RunOperation([this, handler] { (this->*handler)(); });
}

void CompressionPage::Wire() {
    // Each handler runs on its own: a failure of one does not keep the next from running.
    const auto run = [this](void (CompressionPage::*handler)()) {
        return [this, handler] { Run(handler); };
    };
    for (QLineEdit* field : hexFields_) {
        connect(field, &QLineEdit::textChanged, this, run(&CompressionPage::UpdateDataFileName));
    }
    connect(decompRomEdit_, &QLineEdit::textChanged, this, [this] {
        Run(&CompressionPage::UpdateDataFileName);
        Run(&CompressionPage::UpdateDecompressButton);
    });
    connect(decompOutEdit_, &QLineEdit::textChanged, this,
            run(&CompressionPage::UpdateDecompressButton));
    connect(compInEdit_, &QLineEdit::textChanged, this,
            run(&CompressionPage::UpdateCompressButton));
    connect(compRomEdit_, &QLineEdit::textChanged, this,
            run(&CompressionPage::UpdateCompressButton));
    // A ROM named: the start-up hint on how to choose one has done its work.
    for (QLineEdit* rom : {decompRomEdit_, compRomEdit_}) {
        connect(rom, &QLineEdit::textChanged, this, [this] {
            if (form_.StatusText() == NO_ROM_STATUS) form_.ShowStatus(QString());
        });
    }
    connect(decompRomBrowse_, &QPushButton::clicked, this,
            [this] { form_.RunOperation([this] { form_.BrowseRom(false, *this); }); });
    connect(compRomBrowse_, &QPushButton::clicked, this,
            [this] { form_.RunOperation([this] { form_.BrowseRom(true, *this); }); });
    connect(decompOutBrowse_, &QPushButton::clicked, this, run(&CompressionPage::BrowseDecompOut));
    connect(compInBrowse_, &QPushButton::clicked, this, run(&CompressionPage::BrowseCompIn));
    connect(decompressButton_, &QPushButton::clicked, this,
            [this] { form_.RunOperation([this] { setup_.decompress(*this); }); });
    connect(compressButton_, &QPushButton::clicked, this,
            [this] { form_.RunOperation([this] { setup_.compress(*this); }); });
    form_.OfferPatchMenu(decompRomEdit_);
    form_.OfferPatchMenu(compRomEdit_);
    if (setup_.valueList) BuildValueList();
}

void CompressionPage::BuildValueList() {
    listField_ = HexField(setup_.valueList->caption);
    listAction_ = new QAction(setup_.valueList->actionText, this);
    listAction_->setObjectName(setup_.valueList->actionName);
    connect(listAction_, &QAction::triggered, this,
            [this] { form_.RunOperation([this] { setup_.valueList->choose(*this); }); });
    listField_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(listField_, &QLineEdit::customContextMenuRequested, this,
            [this](const QPoint& position) {
                form_.RunOperation([this, position] { ShowValueListMenu(position); });
            });
    listField_->installEventFilter(this);
}

void CompressionPage::ShowValueListMenu(const QPoint& position) {
    // The field's own menu (undo, cut, copy, paste...) with the list on top.
    QMenu* menu = listField_->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction* first = menu->actions().value(0);
    menu->insertAction(first, listAction_);
    menu->insertSeparator(first);
    menu->popup(listField_->mapToGlobal(position));
}

bool CompressionPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == listField_ && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        form_.RunOperation([this] { setup_.valueList->choose(*this); });
        return true;
    }
    return Page::eventFilter(watched, event);
}

void CompressionPage::ShowRom(const QString& path) {
    decompRomEdit_->setText(path);
    compRomEdit_->setText(path);
}

void CompressionPage::DrawFromRom(const QString& path) {
    form_.Document().RomPath = path;
    setup_.showFromRom(*this, path.toStdString());
}

bool CompressionPage::TakeDroppedFile(QObject* target, const QString& path) {
    if (target != compInEdit_) return false;
    compInEdit_->setText(path);
    return true;
}

bool CompressionPage::IsHexField(const QObject* object) const {
    return std::find(hexFields_.begin(), hexFields_.end(), object) != hexFields_.end();
}

void CompressionPage::EnterReleased() {
    // The buttons' state is not consulted: Enter works with empty fields too.
    if (modeTabs_->currentIndex() != TabIndex(ModeTab::Decompression)) {
        setup_.compress(*this);
    } else {
        setup_.decompress(*this);
    }
}

QLineEdit* CompressionPage::HexField(const char* caption) const {
    for (size_t i = 0; i < setup_.hexFields.size(); ++i) {
        if (QString(setup_.hexFields[i].caption) == caption) return hexFields_[i];
    }
    return nullptr;
}

QString CompressionPage::HexText(const char* caption) const {
    return HexField(caption)->text();
}

uint32_t CompressionPage::HexValue(const char* caption) const {
    return HexFieldValue(caption, HexText(caption).toStdString());
}

void CompressionPage::SetHexText(const char* caption, const QString& text) {
    HexField(caption)->setText(text);
}

QString CompressionPage::DecompRomText() const {
    return decompRomEdit_->text();
}
QString CompressionPage::DecompOutText() const {
    return decompOutEdit_->text();
}
QString CompressionPage::CompInText() const {
    return compInEdit_->text();
}
QString CompressionPage::CompRomText() const {
    return compRomEdit_->text();
}

QLineEdit* CompressionPage::RomFieldOnShow() const {
    return modeTabs_->currentIndex() == TabIndex(ModeTab::Compression) ? compRomEdit_
                                                                       : decompRomEdit_;
}

QString CompressionPage::RomTextOnShow() const {
    return RomFieldOnShow()->text();
}

void CompressionPage::UpdateDataFileName() {
    decompOutEdit_->setText(QString::fromStdString(setup_.suggestedFileName(*this)));
    compInEdit_->setText(decompOutEdit_->text());
}

void CompressionPage::UpdateDecompressButton() {
    decompressButton_->setEnabled(!decompOutEdit_->text().isEmpty() &&
                                  !decompRomEdit_->text().isEmpty());
}

void CompressionPage::UpdateCompressButton() {
    compressButton_->setEnabled(!compRomEdit_->text().isEmpty() && !compInEdit_->text().isEmpty());
}

void CompressionPage::BrowseDecompOut() {
    form_.SaveFileDialog.filter = SAVE_BIN_FILTER;
    form_.SaveFileDialog.defaultExtension = "bin";
    if (const std::optional<QString> path = form_.RunDialog(FileDialogKind::Save)) {
        decompOutEdit_->setText(*path);
        compInEdit_->setText(*path);
    }
}

void CompressionPage::BrowseCompIn() {
    if (const std::optional<QString> path = form_.RunDialog(FileDialogKind::Open)) {
        compInEdit_->setText(*path);
        decompOutEdit_->setText(*path);
    }
}

} // namespace drovak::app
