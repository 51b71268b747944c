// The picture on screen is the picture rendered: the preview's framebuffer read back; the
// preview's menu, its edge, and the window without OpenGL.
#include "WindowTest.h"

#include "graphics/Renderer.h"
#include "support/LibpngCodec.h"

#include <GL/gl.h>
#include <QFrame>
#include <QStatusBar>
#include <QSurfaceFormat>
#include <functional>
#include <tuple>

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
        EXPECT_EQ(shown.size(), Preview()->size() * Preview()->devicePixelRatio());
        for (int x : {0, shown.width() / 4, -1}) {
            EXPECT_EQ(At(shown, x, 0), Rgb(RED));
            EXPECT_EQ(At(shown, x, -1), Rgb(BLUE));
        }
        EXPECT_EQ(At(shown, 0, shown.height() / 2), Rgb(GREEN));
        EXPECT_EQ(At(shown, -1, shown.height() / 2), Rgb(GREY));
    };
    // Each change of what is on show is drawn on the screen too, not only when read back.
    int frames = 0;
    const QObject counting;
    QObject::connect(Preview(), &QOpenGLWidget::frameSwapped, &counting, [&frames] { ++frames; });
    const auto drawn = [&](const std::function<void()>& change) {
        const int before = frames;
        change();
        return QTest::qWaitFor([&] { return frames > before; }, 2000);
    };
    EXPECT_TRUE(drawn([&] { Preview()->ShowPicture(BandedPicture()); }));
    expectUpright();

    // Repaints and a resize draw the same texture again without uploading.
    const uint32_t texture = Preview()->PreviewTexture();
    const unsigned uploads = Preview()->UploadCount();
    ASSERT_NE(texture, 0u);
    Preview()->repaint();
    f.resize(f.width() + 200, f.height() + 150);
    QApplication::processEvents();
    expectUpright();
    EXPECT_EQ(Preview()->PreviewTexture(), texture);
    EXPECT_EQ(Preview()->UploadCount(), uploads);
    // Kept proportions: black beside the picture, where the stretched one was drawn before.
    EXPECT_TRUE(drawn([&] { Preview()->SetKeepProportions(true); }));
    const QImage kept = Shown();
    EXPECT_EQ(At(kept, 0, kept.height() / 2), qRgb(0, 0, 0));
    // A new picture takes the old one's texture away; so does clearing the view.
    const auto deleted = [&](GLuint name) {
        Preview()->makeCurrent();
        const bool gone = !glIsTexture(name);
        Preview()->doneCurrent();
        return gone;
    };
    Preview()->ShowPicture(BandedPicture());
    EXPECT_TRUE(Preview()->PreviewTexture() == texture || deleted(texture));
    const GLuint last = Preview()->PreviewTexture();
    EXPECT_TRUE(drawn([&] { Preview()->ClearPicture(); }));
    EXPECT_EQ(Preview()->PreviewTexture(), 0u);
    EXPECT_TRUE(deleted(last));
    // Pictures with no pixels, or fewer than their size says, are ignored; one a pixel wide
    // is not.
    const unsigned before = Preview()->UploadCount();
    using drovak::PreviewImage;
    for (const PreviewImage& bad : {PreviewImage{0, 1, {1}}, {1, 0, {1}}, {2, 2, {1, 2, 3}}})
        Preview()->ShowPicture(bad);
    EXPECT_EQ(Preview()->UploadCount(), before);
    Preview()->ShowPicture({1, 2, {RED, BLUE}});
    EXPECT_EQ(Preview()->UploadCount(), before + 1);
    // Made smaller, a picture shows some of its pixels as they are, not blends of them.
    PreviewImage stripes{4096, 4, std::vector<uint32_t>(4096 * 4)};
    for (size_t i = 0; i < stripes.Pixels.size(); ++i) stripes.Pixels[i] = i % 2 ? BLUE : RED;
    Preview()->ShowPicture(stripes);
    const QImage small = Shown();
    const QRgb middle = At(small, small.width() / 2, small.height() / 2);
    EXPECT_TRUE(middle == Rgb(RED) || middle == Rgb(BLUE)) << std::hex << middle;

    // Moved to another window, the view loses its context and the texture with it. Back in its
    // own, a picture shown meanwhile (0) shows; with nothing shown meanwhile (1), or a picture
    // shown and cleared (2), the view starts white.
    Preview()->SetKeepProportions(false);
    auto* view = Preview();
    QWidget* home = view->parentWidget();
    const QRect place = view->geometry();
    for (const int away : {0, 1, 2}) {
        SCOPED_TRACE(away);
        {
            QWidget elsewhere;
            view->setParent(&elsewhere);
            EXPECT_EQ(std::pair(view->IsReady(), view->PreviewTexture()), std::pair(false, 0u));
            view->setParent(home);
        }
        if (away != 1) view->ShowPicture(BandedPicture());
        if (away == 2) view->ClearPicture();
        view->setGeometry(place);
        EXPECT_TRUE(drawn([&] { view->show(); }));
        if (away == 0) {
            expectUpright();
        } else {
            EXPECT_EQ(At(Shown(), 0, 0), qRgb(255, 255, 255));
        }
    }
    Preview()->ShowPicture(BandedPicture());
    ASSERT_NE(Preview()->PreviewTexture(), 0u);

    // The close releases the preview; later pictures are ignored.
    f.close();
    EXPECT_FALSE(Preview()->IsReady());
    EXPECT_EQ(Preview()->PreviewTexture(), 0u);
    Preview()->ShowPicture(BandedPicture());
    EXPECT_EQ(Preview()->PreviewTexture(), 0u);
}

TEST(AppPreview, AKeptProportionIsAnIntegerZoomWhereOneFitsCentred) {
    using drovak::preview::ProportionalArea;
    const std::tuple<QSize, QSize, QRect> cases[] = {
        {{1100, 600}, {512, 224}, {38, 76, 1024, 448}},   // zoom 2
        {{1100, 1000}, {512, 224}, {38, 276, 1024, 448}}, // the width allows 2, the height 4
        {{2000, 600}, {512, 224}, {488, 76, 1024, 448}},  // the width 3, the height 2
        {{300, 200}, {1, 4096}, {149, 0, 1, 200}},        // a column stays a column
        {{300, 200}, {512, 224}, {0, 34, 300, 131}},      // smaller than the picture: its shape
        {{300, 200}, {0, 0}, {0, 0, 300, 200}},           // no picture: the whole view
        {{300, 200}, {4096, 1}, {0, 99, 300, 1}},         // a line stays a line
    };
    for (const auto& [view, picture, area] : cases)
        EXPECT_EQ(ProportionalArea(view, picture), area) << view.width() << " " << picture.width();
}

// The preview's menu offers nothing to copy or save before a picture is shown (its undo:
// AppDocument.OneUndoQuestion..., AppLzhPage.ThePreviewFollows...).
TEST_F(AppWindow, ThePreviewMenuOffersWhatCanBeDoneNow) {
    for (const bool rom : {false, true}) {
        SCOPED_TRACE(rom ? "with a ROM" : "without a ROM");
        if (rom) PutDemoRom();
        OpenWindow();
        ASSERT_EQ(OpenContextMenu(Preview()), Control<QMenu>("PreviewMenu"));
        for (const char* name : {"CopyPictureAction", "SavePictureAction"}) {
            const QAction* action = Control<QAction>(name);
            EXPECT_EQ(std::pair(action->isVisible(), action->isEnabled()), std::pair(true, rom));
        }
        EXPECT_EQ(Control<QAction>("CopyPictureAction")->text(), "Copy picture");
        Control<QMenu>("PreviewMenu")->close();
    }
}

// The menu on the picture on show: its exact pixels to the clipboard and a PNG file, and kept
// proportions with black around them.
TEST_F(AppWindow, ThePictureIsCopiedAndSavedAsShownAndKeepsItsProportions) {
    PutDemoRom();
    MainForm& f = OpenWindow();
    // The level on show: "Save tiles as PNG..." is for the compression pages' sheets only.
    ASSERT_EQ(OpenContextMenu(Preview()), Control<QMenu>("PreviewMenu"));
    EXPECT_FALSE(Control<QAction>("SaveTilesAction")->isVisible());
    EXPECT_FALSE(Control<QAction>("KeepProportionsAction")->isChecked());
    Control<QMenu>("PreviewMenu")->close();

    Control<QAction>("CopyPictureAction")->trigger();
    ASSERT_EQ(dialogs.clipboardImages.size(), 1u);
    const QImage copied = dialogs.clipboardImages[0];
    ASSERT_EQ(copied.size(), QSize(512, 512));
    const auto expectFrameBuffer = [&](auto pixelAt) {
        for (int y = 0; y < 512; ++y)
            for (int x = 0; x < 512; ++x)
                ASSERT_EQ(pixelAt(x, y), Rgb(f.Document().FrameBuffer[512 * y + x]))
                    << x << "," << y;
    };
    expectFrameBuffer([&](int x, int y) { return copied.pixel(x, y); });
    EXPECT_EQ(f.StatusText(), "Picture copied: 512 x 512 pixels.");

    dialogs.picks = {Folder() + "shot.png"};
    Control<QAction>("SavePictureAction")->trigger();
    EXPECT_EQ(dialogs.dialogRuns.back().second.filter, "PNG Files (*.png)|*.png");
    EXPECT_EQ(dialogs.dialogRuns.back().second.startFolder, Folder());
    const drovak::test::LibpngPicture saved = drovak::test::DecodeWithLibpng(ReadFile("shot.png"));
    ASSERT_EQ(saved.samples.size(), 512u * 512 * 3);
    expectFrameBuffer([&](int x, int y) {
        const size_t at = 3 * (512 * size_t(y) + size_t(x));
        return qRgb(saved.samples[at], saved.samples[at + 1], saved.samples[at + 2]);
    });
    EXPECT_EQ(f.StatusText(), "Picture saved as shot.png: 512 x 512 pixels.");
    EXPECT_EQ(f.statusBar()->toolTip(), f.StatusText()); // whole where the mouse rests

    // Kept proportions: the 512 x 512 picture pixel for pixel in the middle, black beside it.
    Control<QAction>("KeepProportionsAction")->trigger();
    QApplication::processEvents();
    const QImage view = Shown();
    const QRect area(QPoint((view.width() - 512) / 2, (view.height() - 512) / 2), QSize(512, 512));
    expectFrameBuffer([&](int x, int y) { return At(view, area.x() + x, area.y() + y); });
    for (int y = 0; y < view.height(); y += 16) {
        EXPECT_EQ(At(view, area.x() - 1, y), qRgb(0, 0, 0));
        EXPECT_EQ(At(view, area.right() + 1, y), qRgb(0, 0, 0));
    }
    // Every bit of each colour is copied.
    f.ShowPicture({2, 1, {0x010203, 0xFEFDFC}});
    Control<QAction>("CopyPictureAction")->trigger();
    const QImage bits = dialogs.clipboardImages.back();
    EXPECT_EQ(std::pair(bits.pixel(0, 0), bits.pixel(1, 0)),
              std::pair(qRgb(3, 2, 1), qRgb(0xFC, 0xFD, 0xFE)));
}

// The view has its sunken edge over it. Without an OpenGL context
// the window says so and closes itself right after start-up, releasing the preview.
TEST_F(AppWindow, ASunkenEdgeAndAWindowThatClosesWithoutOpenGL) {
    qputenv("DROVAK_NO_OPENGL", "1");
    MainForm f(Folder(), dialogs);
    const auto* view = f.findChild<drovak::preview::PreviewView*>("PreviewView");
    ASSERT_NE(view, nullptr);
    // The surface it asks for: double-buffered OpenGL with its fixed-function calls, 8 bits a
    // colour and no alpha planes, a 24-bit depth buffer.
    const QSurfaceFormat asked = view->format();
    EXPECT_EQ(std::tuple(asked.renderableType(), asked.profile(), asked.swapBehavior()),
              std::tuple(QSurfaceFormat::OpenGL, QSurfaceFormat::CompatibilityProfile,
                         QSurfaceFormat::DoubleBuffer));
    EXPECT_EQ(std::tuple(asked.redBufferSize(), asked.greenBufferSize(), asked.blueBufferSize(),
                         asked.alphaBufferSize(), asked.depthBufferSize()),
              std::tuple(8, 8, 8, 0, 24));
    f.show();
    const auto* edge = view->findChild<QFrame*>("PreviewEdge");
    ASSERT_NE(edge, nullptr);
    EXPECT_EQ(edge->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(edge->geometry(), view->rect());
    for (int i = 0; i < 250 && f.isVisible(); ++i) QTest::qWait(20);
    qunsetenv("DROVAK_NO_OPENGL");
    EXPECT_FALSE(f.isVisible());
    ASSERT_EQ(dialogs.Kinds(), "error");
    EXPECT_TRUE(Starts(dialogs.boxes[0], "error Error owned: No OpenGL context"));
    EXPECT_FALSE(view->IsReady());
}
