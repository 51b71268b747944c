// The picture on screen is the picture rendered: the preview's framebuffer read back.
#include "WindowTest.h"

#include "graphics/Renderer.h"
#include "preview/PreviewView.h"

#include <QApplication>
#include <QImage>
#include <QTest>

using drovak::PreviewImage;
using drovak::app::MainForm;

namespace {

constexpr uint32_t RED = 224;         // bytes 224, 0, 0
constexpr uint32_t GREEN = 160u << 8; // bytes 0, 160, 0
constexpr uint32_t BLUE = 96u << 16;  // bytes 0, 0, 96
constexpr uint32_t GREY = 32u | 32u << 8 | 32u << 16;

// A picture whose top rows, bottom rows, left half and right half differ, so that a flip or
// a swap of red and blue shows. Its top `band` rows are red, the bottom ones blue; between
// them the left half is green and the right half grey.
PreviewImage BandedPicture(uint16_t width, uint16_t height, uint16_t band) {
    PreviewImage image{width, height, std::vector<uint32_t>(size_t(width) * height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t colour = x < width / 2 ? GREEN : GREY;
            if (y < band) colour = RED;
            if (y >= height - band) colour = BLUE;
            image.Pixels[size_t(y) * width + x] = colour;
        }
    }
    return image;
}

QRgb Rgb(uint32_t pixel) {
    return qRgb(pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF);
}

QRgb At(const QImage& image, int x, int y) {
    return image.pixel(x, y) | 0xFF000000u;
}

} // namespace

TEST_F(WindowTest, PreviewIsWhiteBeforeTheFirstPicture) {
    MainForm& f = OpenWindow();
    const QImage shown = f.PreviewView->grabFramebuffer();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(shown.size(), f.PreviewView->size() * f.PreviewView->devicePixelRatio());
    for (int y = 0; y < shown.height(); y += 7) {
        for (int x = 0; x < shown.width(); x += 7) {
            ASSERT_EQ(At(shown, x, y), qRgb(255, 255, 255)) << x << "," << y;
        }
    }
}

TEST_F(WindowTest, PreviewShowsThePictureUprightWithItsColoursOverTheWholeView) {
    MainForm& f = OpenWindow();
    for (const PreviewImage& picture :
         {BandedPicture(512, 224, 56), BandedPicture(512, 512, 128)}) {
        SCOPED_TRACE(picture.Height);
        f.PreviewView->ShowPicture(picture);
        const QImage shown = f.PreviewView->grabFramebuffer();
        const int w = shown.width();
        const int h = shown.height();
        // The top row at the top, the last row at the bottom, the left half on the left; the
        // picture is stretched over the whole view.
        for (int x : {0, w / 4, w - 1}) {
            EXPECT_EQ(At(shown, x, 0), Rgb(RED));
            EXPECT_EQ(At(shown, x, h - 1), Rgb(BLUE));
        }
        EXPECT_EQ(At(shown, 0, h / 2), Rgb(GREEN));
        EXPECT_EQ(At(shown, w - 1, h / 2), Rgb(GREY));
    }
}

TEST_F(WindowTest, RepaintsDrawTheSameTextureAndResizingKeepsThePictureFillingTheView) {
    MainForm& f = OpenWindow();
    f.PreviewView->ShowPicture(BandedPicture(512, 224, 56));
    const uint32_t texture = f.PreviewTexture();
    const unsigned uploads = f.PreviewView->UploadCount();
    ASSERT_NE(texture, 0u);

    f.PreviewView->repaint();
    f.resize(f.width() + 200, f.height() + 150);
    QApplication::processEvents();
    const QImage shown = f.PreviewView->grabFramebuffer();
    EXPECT_EQ(f.PreviewTexture(), texture);
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads);
    EXPECT_EQ(shown.size(), f.PreviewView->size() * f.PreviewView->devicePixelRatio());
    EXPECT_EQ(At(shown, shown.width() - 1, 0), Rgb(RED));
    EXPECT_EQ(At(shown, shown.width() - 1, shown.height() - 1), Rgb(BLUE));
    EXPECT_EQ(At(shown, 0, shown.height() / 2), Rgb(GREEN));

    // The close releases the preview; later pictures are ignored.
    f.close();
    EXPECT_FALSE(f.PreviewView->IsReady());
    EXPECT_EQ(f.PreviewTexture(), 0u);
    f.PreviewView->ShowPicture(BandedPicture(512, 224, 56));
    EXPECT_EQ(f.PreviewTexture(), 0u);
}
