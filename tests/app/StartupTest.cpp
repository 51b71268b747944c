// The window as built, at start-up with and without a default ROM, its layout, and the close.
#include "WindowTest.h"

#include "graphics/Level.h"
#include "preview/PreviewView.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>

using drovak::app::MainForm;
namespace app = drovak::app;

namespace {

std::vector<QLineEdit*> RomFields(MainForm& f) {
    return {f.LzhDecompRomEdit, f.LzhCompRomEdit, f.RleDecompRomEdit,
            f.RleCompRomEdit,   f.TitleRomEdit,   f.LevelRomEdit};
}

std::vector<QPushButton*> BrowseButtons(MainForm& f) {
    return {f.LzhDecompRomBrowse, f.LzhCompRomBrowse, f.LzhDecompOutBrowse, f.LzhCompInBrowse,
            f.RleDecompRomBrowse, f.RleCompRomBrowse, f.RleDecompOutBrowse, f.RleCompInBrowse,
            f.LevelRomBrowse,     f.LevelPngBrowse,   f.TitleRomBrowse};
}

// The widget's rectangle in the coordinates of `ancestor`.
QRect RectIn(const QWidget* widget, const QWidget* ancestor) {
    return QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
}

} // namespace

TEST_F(WindowTest, WithoutDefaultRomTheWindowOpensEmptyOnLevelsViewer) {
    MainForm& f = OpenWindow();

    EXPECT_EQ(f.windowTitle(), "Drovak v1.2 [by Halvern]");
    EXPECT_EQ(f.centralWidget()->size(), QSize(660, 708));
    EXPECT_TRUE(f.statusBar()->isVisible());
    EXPECT_GE(f.statusBar()->geometry().top(), f.centralWidget()->geometry().bottom());

    ASSERT_EQ(f.PageTabs->count(), 4);
    EXPECT_EQ(f.PageTabs->tabText(0), "LZH Compression");
    EXPECT_EQ(f.PageTabs->tabText(1), "RLE Compression");
    EXPECT_EQ(f.PageTabs->tabText(2), "Levels Viewer");
    EXPECT_EQ(f.PageTabs->tabText(3), "Title Screen Background");
    EXPECT_EQ(f.PageTabs->currentIndex(), app::LevelsPage);
    EXPECT_EQ(f.LzhModeTabs->currentIndex(), app::DecompressionTab);
    EXPECT_EQ(f.RleModeTabs->currentIndex(), app::DecompressionTab);
    EXPECT_EQ(f.LzhModeTabs->tabText(1), "Compression");

    EXPECT_EQ(f.LzhTableOffsetEdit->text(), "20000");
    EXPECT_EQ(f.LzhTableIndexEdit->text(), "0");
    EXPECT_EQ(f.RleOffsetEdit->text(), "48120");
    for (QLineEdit* field : RomFields(f)) EXPECT_TRUE(field->text().isEmpty());
    for (QLineEdit* field : {f.LzhDecompOutEdit, f.LzhCompInEdit, f.RleDecompOutEdit,
                             f.RleCompInEdit, f.LevelPngEdit}) {
        EXPECT_TRUE(field->text().isEmpty());
    }
    EXPECT_TRUE(f.LzhDecompRomEdit->font().bold());
    EXPECT_TRUE(f.LzhDecompressButton->font().bold());
    EXPECT_EQ(f.LzhDecompressButton->font().pixelSize(), 18);
    EXPECT_FALSE(f.SaveMapButton->font().bold());
    EXPECT_LE(QFontMetrics(f.font()).height(), 16);
    EXPECT_TRUE(f.LevelRomEdit->isReadOnly());
    EXPECT_TRUE(f.TitleRomEdit->isReadOnly());
    EXPECT_FALSE(f.LevelPngEdit->isReadOnly());

    for (QPushButton* button : {f.LzhDecompressButton, f.LzhCompressButton, f.RleDecompressButton,
                                f.RleCompressButton, f.SaveMapButton}) {
        EXPECT_FALSE(button->isEnabled()) << button->text().toStdString();
    }
    EXPECT_TRUE(f.TitleViewButton->isEnabled());
    for (QPushButton* button : BrowseButtons(f)) {
        EXPECT_TRUE(button->isEnabled());
        EXPECT_EQ(button->text(), "...");
    }

    EXPECT_TRUE(f.PlaneARadio->isChecked());
    EXPECT_FALSE(f.PlaneBRadio->isChecked());
    ASSERT_EQ(f.LevelCombo->count(), 8);
    EXPECT_EQ(f.LevelCombo->itemText(0), "LEVEL 01");
    EXPECT_EQ(f.LevelCombo->itemText(7), "LEVEL 08");
    EXPECT_EQ(f.LevelCombo->currentIndex(), 0);

    EXPECT_TRUE(f.RomPath.isEmpty());
    EXPECT_EQ(f.ScrollColumn, 0);
    EXPECT_EQ(f.PreviewTexture(), 0u);
    EXPECT_TRUE(std::all_of(f.FrameBuffer.begin(), f.FrameBuffer.end(),
                            [](uint32_t pixel) { return pixel == 0; }));

    EXPECT_EQ(f.OpenRomDialog.title, "Please, select Thunder Force III ROM...");
    EXPECT_EQ(f.OpenRomDialog.filter, "Bin Files (*.bin)|*.bin");
    EXPECT_EQ(f.OpenRomDialog.defaultExtension, "bin");
    EXPECT_EQ(f.OpenRomDialog.startFolder, Folder());
    EXPECT_EQ(f.SaveFileDialog.title, "Please, select where you want to save...");
    EXPECT_EQ(app::QtNameFilters(f.OpenRomDialog.filter), "Bin Files (*.bin)");
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WindowTest, WithDefaultRomStartUpFillsFieldsAndShowsLevelOne) {
    PutDemoRom();
    MainForm& f = OpenWindow();
    const QString rom = Folder() + "tf3.bin";

    EXPECT_EQ(f.RomPath, rom);
    for (QLineEdit* field : RomFields(f)) EXPECT_EQ(field->text(), rom);
    EXPECT_EQ(f.LzhDecompOutEdit->text(), Folder() + "20000_0.bin");
    EXPECT_EQ(f.LzhCompInEdit->text(), Folder() + "20000_0.bin");
    EXPECT_EQ(f.RleDecompOutEdit->text(), Folder() + "48120.bin");
    EXPECT_EQ(f.RleCompInEdit->text(), Folder() + "48120.bin");
    EXPECT_EQ(f.LevelPngEdit->text(), Folder() + "Level_01_PlaneA.png");
    for (QPushButton* button : {f.LzhDecompressButton, f.LzhCompressButton, f.RleDecompressButton,
                                f.RleCompressButton, f.SaveMapButton, f.TitleViewButton}) {
        EXPECT_TRUE(button->isEnabled()) << button->text().toStdString();
    }
    EXPECT_EQ(f.PageTabs->currentIndex(), app::LevelsPage);
    EXPECT_EQ(f.ScrollColumn, 0);

    // The picture on show is level 1, Plane A, from block column 0.
    EXPECT_NE(f.PreviewTexture(), 0u);
    drovak::FrameBuffer expected{};
    drovak::AssembleLevel(rom.toStdString(), 0, false, true, 0, expected);
    EXPECT_TRUE(f.FrameBuffer == expected);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WindowTest, AFolderNamedLikeTheDefaultRomIsNoRom) {
    ASSERT_TRUE(QDir(Folder()).mkdir("tf3.bin"));
    MainForm& f = OpenWindow();
    EXPECT_TRUE(f.RomPath.isEmpty());
    for (QLineEdit* field : RomFields(f)) EXPECT_TRUE(field->text().isEmpty());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WindowTest, TabAreaKeepsItsHeightAndPreviewTakesTheRest) {
    MainForm& f = OpenWindow();
    EXPECT_EQ(f.PageTabs->geometry(), QRect(1, 1, 658, 184));
    EXPECT_EQ(f.PreviewView->geometry(), QRect(1, 186, 658, 521));

    f.resize(900, f.height() + 300);
    QApplication::processEvents();
    const QSize client = f.centralWidget()->size();
    EXPECT_EQ(client.width(), 900);
    EXPECT_EQ(f.PageTabs->geometry(), QRect(1, 1, 898, 184));
    EXPECT_EQ(f.PreviewView->geometry(), QRect(1, 186, 898, client.height() - 187));
    EXPECT_EQ(client.height(), 1008);
}

TEST_F(WindowTest, LevelsPageRowsFieldsAndButtonsLandWhereTheRulePutsThem) {
    MainForm& f = OpenWindow();
    QWidget* page = f.PageTabs->widget(app::LevelsPage);
    const int pageWidth = page->width();

    QWidget* romRow = f.LevelRomEdit->parentWidget();
    EXPECT_EQ(romRow->geometry(), QRect(1, 1, pageWidth - 2, 26));
    QWidget* pngRow = f.LevelPngEdit->parentWidget();
    EXPECT_EQ(pngRow->geometry(), QRect(1, 28, pageWidth - 2, 46));

    // In a row: label at the left, "..." at the right, the field between them.
    const QRect inside = romRow->contentsRect();
    const QRect browse = f.LevelRomBrowse->geometry();
    const QRect field = f.LevelRomEdit->geometry();
    EXPECT_EQ(browse.right(), inside.right());
    EXPECT_EQ(field.right() + 1, browse.left());
    EXPECT_EQ(field.top(), inside.top());
    EXPECT_EQ(field.height(), inside.height());
    auto* label = qobject_cast<QLabel*>(romRow->childAt(inside.left() + 1, inside.center().y()));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "TF3.bin:");
    EXPECT_EQ(label->geometry().left(), inside.left());
    EXPECT_EQ(label->geometry().right() + 1, field.left());
    EXPECT_EQ(label->width(), QFontMetrics(label->font()).horizontalAdvance("TF3.bin:") + 1);
    const QFontMetrics buttonMetrics(f.LevelRomBrowse->font());
    EXPECT_EQ(browse.width(), buttonMetrics.horizontalAdvance("...") + 14);

    // "Save All Map to PNG" spans the row's bottom with its auto height; the field and "..."
    // share what is above it.
    const QRect pngInside = pngRow->contentsRect();
    const QRect save = f.SaveMapButton->geometry();
    EXPECT_EQ(save.bottom(), pngInside.bottom());
    EXPECT_EQ(save.width(), pngInside.width());
    EXPECT_EQ(save.height(), QFontMetrics(f.SaveMapButton->font()).height() + 6);
    EXPECT_EQ(f.LevelPngEdit->geometry().bottom() + 1, save.top());
    EXPECT_EQ(f.LevelPngBrowse->geometry().right(), pngInside.right());

    // The list and the radio buttons are not docked.
    EXPECT_EQ(f.LevelCombo->geometry().topLeft(), QPoint(0, 80));
    EXPECT_EQ(f.LevelCombo->width(), 121);
    EXPECT_EQ(f.PlaneARadio->geometry().topLeft(), QPoint(256, 80));
    EXPECT_EQ(f.PlaneBRadio->geometry().topLeft(), QPoint(320, 80));
    EXPECT_EQ(f.PlaneARadio->width(),
              QFontMetrics(f.PlaneARadio->font()).horizontalAdvance("Plane A") + 24);

    // The progress bar lies along the page's bottom.
    EXPECT_EQ(f.ExportProgress->geometry(), QRect(1, page->height() - 21, pageWidth - 2, 20));
}

TEST_F(WindowTest, LzhHeaderRowReadsOffsetThenIndexFromTheEdges) {
    MainForm& f = OpenWindow();
    ClickTab(f.PageTabs, app::LzhPage);
    QWidget* header = f.LzhTableOffsetEdit->parentWidget();
    QWidget* page = f.PageTabs->widget(app::LzhPage);
    EXPECT_EQ(RectIn(header, page), QRect(1, 1, page->width() - 2, 23));
    const QRect offset = f.LzhTableOffsetEdit->geometry();
    const QRect index = f.LzhTableIndexEdit->geometry();
    EXPECT_EQ(offset.width(), 90);
    EXPECT_EQ(index.width(), 90);
    EXPECT_EQ(offset.height(), 23);
    const int offsetLabelWidth =
        QFontMetrics(header->font()).horizontalAdvance("Table offset (HEX)") + 1;
    const int indexLabelWidth =
        QFontMetrics(header->font()).horizontalAdvance("Table Index (HEX)") + 1;
    EXPECT_EQ(offset.left(), offsetLabelWidth);
    EXPECT_EQ(index.right() + 1, header->width() - indexLabelWidth);

    // The "Decompress" button spans the bottom of its 48-pixel row.
    QWidget* row = f.LzhDecompressButton->parentWidget();
    EXPECT_EQ(row->height(), 48);
    EXPECT_EQ(f.LzhDecompressButton->geometry().bottom(), row->contentsRect().bottom());
    EXPECT_EQ(f.LzhDecompressButton->height(),
              QFontMetrics(f.LzhDecompressButton->font()).height() + 6);
    ClickTab(f.PageTabs, app::RlePage);
    EXPECT_EQ(f.RleDecompressButton->parentWidget()->height(), 46);
}

TEST_F(WindowTest, ClosingWithNoPictureEverShownEndsTheLoopWithExitCodeZero) {
    MainForm& f = OpenWindow();
    ASSERT_EQ(f.PreviewTexture(), 0u);
    QApplication::setQuitOnLastWindowClosed(true);
    QTimer::singleShot(50, &f, &QWidget::close);
    const int code = QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(false);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(f.PreviewView->IsReady());
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(WindowTest, AnUnexpectedErrorIsShownAndEndsTheProgram) {
    MainForm& f = OpenWindow();
    f.RunOperation([] { throw std::logic_error("broken invariant"); });
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].kind, "fatal");
    EXPECT_TRUE(dialogs.boxes[0].text.contains("broken invariant"));
    EXPECT_FALSE(f.isVisible());
    // The request to end the loop stays pending; a loop run here takes it, so later tests
    // start afresh.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QApplication::exec();
}
