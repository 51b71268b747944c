// Not a check: with DROVAK_SCREENSHOT=FILE.png set, saves a picture of the window on the demo
// ROM (level 1, Plane A on show) for the README.
#include "WindowTest.h"

#include <QPainter>
#include <cstdlib>

TEST_F(WindowTest, Screenshot) {
    const char* path = std::getenv("DROVAK_SCREENSHOT");
    if (path == nullptr) GTEST_SKIP() << "DROVAK_SCREENSHOT not set";
    PutDemoRom();
    MainForm& form = OpenWindow();
    // The window's own grab leaves the OpenGL view out: paint the view's framebuffer over it.
    QPixmap shot = form.grab();
    QPainter(&shot).drawImage(form.PreviewView->mapTo(&form, QPoint(0, 0)), Shown());
    ASSERT_TRUE(shot.save(QString::fromLocal8Bit(path)));
}
