// The picture on screen is the picture rendered: the preview's framebuffer read back.
#include "WindowTest.h"

#include "graphics/Renderer.h"

namespace {

constexpr uint32_t RED = 224;         // bytes 224, 0, 0
constexpr uint32_t GREEN = 160u << 8; // bytes 0, 160, 0
constexpr uint32_t BLUE = 96u << 16;  // bytes 0, 0, 96
constexpr uint32_t GREY = 0x202020;

// A 512 x 224 picture whose top rows, bottom rows, left half and right half differ, so that a
// flip or a swap of red and blue shows: the top 56 rows red, the bottom 56 blue, between them
// the left half green and the right half grey.
drovak::PreviewImage BandedPicture() {
    drovak::PreviewImage image{512, 224, std::vector<uint32_t>(512 * 224)};
    for (size_t i = 0; i < image.Pixels.size(); ++i) {
        const size_t y = i / 512;
        image.Pixels[i] = y < 56 ? RED : y >= 168 ? BLUE : i % 512 < 256 ? GREEN : GREY;
    }
    return image;
}

} // namespace

TEST_F(AppWindow, PreviewShowsThePictureUprightOverTheWholeViewAtAnySize) {
    MainForm& f = OpenWindow();
    // The top row at the top, the last row at the bottom, the left half on the left, stretched
    // over the whole view.
    const auto expectUpright = [&] {
        const QImage shown = Shown();
        EXPECT_EQ(shown.size(), f.PreviewView->size() * f.PreviewView->devicePixelRatio());
        for (int x : {0, shown.width() / 4, -1}) {
            EXPECT_EQ(At(shown, x, 0), Rgb(RED));
            EXPECT_EQ(At(shown, x, -1), Rgb(BLUE));
        }
        EXPECT_EQ(At(shown, 0, shown.height() / 2), Rgb(GREEN));
        EXPECT_EQ(At(shown, -1, shown.height() / 2), Rgb(GREY));
    };
    f.PreviewView->ShowPicture(BandedPicture());
    expectUpright();

    // Repaints and a resize draw the same texture again without uploading.
    const uint32_t texture = f.PreviewTexture();
    const unsigned uploads = f.PreviewView->UploadCount();
    ASSERT_NE(texture, 0u);
    f.PreviewView->repaint();
    f.resize(f.width() + 200, f.height() + 150);
    QApplication::processEvents();
    expectUpright();
    EXPECT_EQ(f.PreviewTexture(), texture);
    EXPECT_EQ(f.PreviewView->UploadCount(), uploads);

    // The close releases the preview; later pictures are ignored.
    f.close();
    EXPECT_FALSE(f.PreviewView->IsReady());
    EXPECT_EQ(f.PreviewTexture(), 0u);
    f.PreviewView->ShowPicture(BandedPicture());
    EXPECT_EQ(f.PreviewTexture(), 0u);
}
