#include "app/MainForm.h"

#include "app/AppFont.h"
#include "app/Controls.h"
#include "base/Paths.h"
#include "preview/PreviewView.h"
#include "rom/RomLayout.h"

#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>

namespace drovak::app {

namespace {

constexpr int CLIENT_WIDTH = 660;
constexpr int CLIENT_HEIGHT = 708;
constexpr int WINDOW_BORDER = 1;
constexpr int PAGE_TABS_HEIGHT = 184;

const char* const CAPTION = "Drovak v1.2 [by Halvern]";
const char* const CREDITS =
    "Drovak v1.2 by Halvern - LZH and RLE codecs, level viewer and title screen for ROM modders";

} // namespace

MainForm::MainForm(const QString& programFolder, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder), dialogs_(dialogs) {
    BuildMainForm();
}

MainForm::~MainForm() = default;

uint32_t MainForm::PreviewTexture() const {
    return PreviewView->PreviewTexture();
}

void MainForm::BuildMainForm() {
    // 1. The window.
    setWindowTitle(CAPTION);
    setFont(WindowFont(16));
    auto* client = new QWidget(this);
    client->setObjectName("Client");
    new DockLayout(client, WINDOW_BORDER);
    setCentralWidget(client);
    auto* credits = new QLabel(CREDITS);
    statusBar()->addWidget(credits, 1);
    statusBar()->setSizeGripEnabled(true);
    resize(CLIENT_WIDTH, CLIENT_HEIGHT + statusBar()->sizeHint().height());

    // 2. The dialogs.
    OpenRomDialog = {"Please, select Thunder Force III ROM...", OPEN_BIN_FILTER, "bin", QString()};
    SaveFileDialog = {"Please, select where you want to save...", OPEN_BIN_FILTER, "bin",
                      QString()};

    setAcceptDrops(true);

    // 3. The preview first, so that the tab control takes the top and the preview the rest.
    PreviewView = new preview::PreviewView(client);
    PreviewView->setObjectName("PreviewView");
    Docking(client)->AddDocked(PreviewView, Dock::Client);
    PageTabs = AddTabs(
        client, {"LZH Compression", "RLE Compression", "Levels Viewer", "Title Screen Background"},
        Dock::Top, PAGE_TABS_HEIGHT);
    PageTabs->setObjectName("PageTabs");

    // 4. The pages.
    BuildLzhPage(PageTabs->widget(TabIndex(MainPage::Lzh)));
    BuildRlePage(PageTabs->widget(TabIndex(MainPage::Rle)));
    BuildLevelsPage(PageTabs->widget(TabIndex(MainPage::Levels)));
    BuildTitlePage(PageTabs->widget(TabIndex(MainPage::Title)));

    // 5. The handlers, after every default text is in place.
    WireHandlers();
    NameControls();

    // 6. Plane A checked (its click handler finds no ROM yet and does nothing).
    PlaneARadio->setChecked(true);
    RunOperation([this] { ShowLevel(); });

    // 8. "Levels Viewer" in front; a page chosen by the program runs no page handler.
    PageTabs->setCurrentIndex(TabIndex(MainPage::Levels));

    // 9. Centred on the screen.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    // 10.
    FinishMainForm();
}

void MainForm::NameControls() {
    LzhTableOffsetEdit->setObjectName("LzhTableOffsetEdit");
    LzhTableIndexEdit->setObjectName("LzhTableIndexEdit");
    LzhModeTabs->setObjectName("LzhModeTabs");
    LzhDecompRomEdit->setObjectName("LzhDecompRomEdit");
    LzhDecompRomBrowse->setObjectName("LzhDecompRomBrowse");
    LzhDecompressButton->setObjectName("LzhDecompressButton");
    LzhDecompOutEdit->setObjectName("LzhDecompOutEdit");
    LzhDecompOutBrowse->setObjectName("LzhDecompOutBrowse");
    LzhCompInEdit->setObjectName("LzhCompInEdit");
    LzhCompInBrowse->setObjectName("LzhCompInBrowse");
    LzhCompressButton->setObjectName("LzhCompressButton");
    LzhCompRomEdit->setObjectName("LzhCompRomEdit");
    LzhCompRomBrowse->setObjectName("LzhCompRomBrowse");
    RleOffsetEdit->setObjectName("RleOffsetEdit");
    RleModeTabs->setObjectName("RleModeTabs");
    RleDecompRomEdit->setObjectName("RleDecompRomEdit");
    RleDecompRomBrowse->setObjectName("RleDecompRomBrowse");
    RleDecompressButton->setObjectName("RleDecompressButton");
    RleDecompOutEdit->setObjectName("RleDecompOutEdit");
    RleDecompOutBrowse->setObjectName("RleDecompOutBrowse");
    RleCompInEdit->setObjectName("RleCompInEdit");
    RleCompInBrowse->setObjectName("RleCompInBrowse");
    RleCompressButton->setObjectName("RleCompressButton");
    RleCompRomEdit->setObjectName("RleCompRomEdit");
    RleCompRomBrowse->setObjectName("RleCompRomBrowse");
    LevelRomEdit->setObjectName("LevelRomEdit");
    LevelRomBrowse->setObjectName("LevelRomBrowse");
    LevelPngEdit->setObjectName("LevelPngEdit");
    LevelPngBrowse->setObjectName("LevelPngBrowse");
    SaveMapButton->setObjectName("SaveMapButton");
    LevelCombo->setObjectName("LevelCombo");
    PlaneARadio->setObjectName("PlaneARadio");
    PlaneBRadio->setObjectName("PlaneBRadio");
    ExportProgress->setObjectName("ExportProgress");
    TitleViewButton->setObjectName("TitleViewButton");
    TitleRomEdit->setObjectName("TitleRomEdit");
    TitleRomBrowse->setObjectName("TitleRomBrowse");
    PreviewMenu->setObjectName("PreviewMenu");
    CopyPictureAction->setObjectName("CopyPictureAction");
    SavePictureAction->setObjectName("SavePictureAction");
    SaveTilesAction->setObjectName("SaveTilesAction");
    KeepProportionsAction->setObjectName("KeepProportionsAction");
    TableListAction->setObjectName("TableListAction");
}

void MainForm::FinishMainForm() {
    const QString defaultRom = programFolder_ + DEFAULT_ROM_NAME;
    if (FileExists(defaultRom.toStdString())) RomPath = defaultRom;
    FrameBuffer.fill(0);
}

} // namespace drovak::app
