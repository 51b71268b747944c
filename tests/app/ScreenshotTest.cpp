// Not a check: with DROVAK_SCREENSHOT=FILE.png set, saves a picture of the window on the demo
// ROM (level 1, Plane A on show) for the README.
#include "WindowTest.h"

#include "preview/PreviewView.h"

#include <QPainter>
#include <QPixmap>
#include <cstdlib>

TEST_F(WindowTest, Screenshot) {
    const char* path = std::getenv("DROVAK_SCREENSHOT");
    if (path == nullptr) GTEST_SKIP() << "DROVAK_SCREENSHOT not set";
    PutDemoRom();
    drovak::app::MainForm& form = OpenWindow();
    // The window's own grab leaves the OpenGL view out: paint the view's framebuffer over it.
    QPixmap shot = form.grab();
    QPainter painter(&shot);
    painter.drawImage(form.PreviewView->mapTo(&form, QPoint(0, 0)),
                      form.PreviewView->grabFramebuffer());
    painter.end();
    ASSERT_TRUE(shot.save(QString::fromLocal8Bit(path)));
}
