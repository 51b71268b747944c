#include "app/MainForm.h"

#include "app/AppFont.h"
#include "app/CompressionPage.h"
#include "app/Controls.h"
#include "app/LevelsPage.h"
#include "app/TitlePage.h"
#include "base/Paths.h"
#include "preview/PreviewView.h"
#include "rom/RomLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>

namespace drovak::app {

namespace {

constexpr QSize CLIENT_SIZE(660, 708);
constexpr int WINDOW_BORDER = 1;
constexpr int PAGE_TABS_HEIGHT = 184;

} // namespace

MainForm::MainForm(const QString& programFolder, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder), dialogs_(dialogs) {
    BuildMainForm();
}

MainForm::~MainForm() = default;

bool MainForm::ExportRunning() const {
    return levelsPage_->ExportRunning();
}

void MainForm::BuildMainForm() {
    // 1. The window.
    setObjectName("MainForm");
    setWindowTitle(WINDOW_CAPTION);
    setFont(WindowFont(16));
    auto* client = new QWidget(this);
    client->setObjectName("Client");
    new DockLayout(client, WINDOW_BORDER);
    setCentralWidget(client);
    auto* credits = new QLabel(CREDITS);
    statusBar()->addWidget(credits, 1);
    // Cancel, beside the status line while long work runs (the pages' controls stay put).
    cancelButton_ = new QPushButton("Cancel");
    cancelButton_->setObjectName("CancelTaskButton");
    cancelButton_->setToolTip("Cancel the work that runs (Esc)");
    cancelButton_->setFocusPolicy(Qt::NoFocus);
    cancelButton_->hide();
    statusBar()->addPermanentWidget(cancelButton_);
    statusBar()->setSizeGripEnabled(true);
    resize(CLIENT_SIZE + QSize(0, statusBar()->sizeHint().height()));

    // 2. The dialogs.
    OpenRomDialog = {"Please, select Thunder Force III ROM...", OPEN_BIN_FILTER, "bin", QString(),
                     QString()};
    SaveFileDialog = {"Please, select where you want to save...", OPEN_BIN_FILTER, "bin", QString(),
                      QString()};

    setAcceptDrops(true);

    // 3. The preview first, so that the tab control takes the top and the preview the rest.
    previewView_ = new preview::PreviewView(client);
    previewView_->setObjectName("PreviewView");
    Docking(client)->AddDocked(previewView_, Dock::Client);
    pageTabs_ = AddTabs(
        client, {"LZH Compression", "RLE Compression", "Levels Viewer", "Title Screen Background"},
        Dock::Top, PAGE_TABS_HEIGHT);
    pageTabs_->setObjectName("PageTabs");

    // 4. The pages, each wired as it is built (after its default texts are in place).
    const auto tab = [this](MainPage page) { return pageTabs_->widget(TabIndex(page)); };
    lzhPage_ = new CompressionPage(*this, tab(MainPage::Lzh), LzhPageSetup());
    rlePage_ = new CompressionPage(*this, tab(MainPage::Rle), RlePageSetup());
    levelsPage_ = new LevelsPage(*this, tab(MainPage::Levels));
    titlePage_ = new TitlePage(*this, tab(MainPage::Title));
    pages_ = {lzhPage_, rlePage_, levelsPage_, titlePage_};

    // 5. The window's own handlers.
    WireHandlers();

    // 6. Plane A checked (its click handler finds no ROM yet and does nothing).
    RunOperation([this] { levelsPage_->ShowLevel(); });

    // 8. "Levels Viewer" in front; a page chosen by the program runs no page handler.
    pageTabs_->setCurrentIndex(TabIndex(MainPage::Levels));

    // 9. Centred on the screen once its frame exists (showEvent).

    // 10.
    FinishMainForm();
}

void MainForm::FinishMainForm() {
    const QString defaultRom = programFolder_ + DEFAULT_ROM_NAME;
    if (FileExists(defaultRom.toStdString())) document_.RomPath = defaultRom;
    document_.FrameBuffer.fill(0);
}

void MainForm::CentreOnScreen() {
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    // The frame the window manager put around the window counts: the whole window is centred.
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

QString MainForm::OutputFolder() const {
    if (QFileInfo(programFolder_).isWritable()) return programFolder_;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isWritable()) folder = QDir::homePath();
    return folder.endsWith('/') ? folder : folder + "/";
}

} // namespace drovak::app
