#include "preview/PreviewView.h"

#include "graphics/Renderer.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <QFrame>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QSurfaceFormat>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace drovak::preview {

namespace {

// The view's context, current for as long as this lives.
class ContextCurrent {
public:
    explicit ContextCurrent(QOpenGLWidget& view) : view_(view) { view_.makeCurrent(); }
    ~ContextCurrent() { view_.doneCurrent(); }
    ContextCurrent(const ContextCurrent&) = delete;
    ContextCurrent& operator=(const ContextCurrent&) = delete;

private:
    QOpenGLWidget& view_;
};

} // namespace

QRect ProportionalArea(QSize view, QSize picture) {
    if (picture.isEmpty() || view.isEmpty()) return QRect(QPoint(0, 0), view);
    QSize size;
    if (view.width() >= picture.width() && view.height() >= picture.height()) {
        size = picture * std::min(view.width() / picture.width(), view.height() / picture.height());
    } else {
        const double scale = std::min(double(view.width()) / picture.width(),
                                      double(view.height()) / picture.height());
        size = QSize(std::max(1, int(std::lround(picture.width() * scale))),
                     std::max(1, int(std::lround(picture.height() * scale))));
    }
    return QRect(QPoint((view.width() - size.width()) / 2, (view.height() - size.height()) / 2),
                 size);
}

PreviewView::PreviewView(QWidget* parent) : QOpenGLWidget(parent) {
    // Any RGBA surface with 32-bit colour and a 24-bit depth buffer will do; the default
    // (compatibility) profile keeps the fixed-function calls available. No alpha planes: the
    // pictures' fourth byte is 0 and must not make the view transparent.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setAlphaBufferSize(0);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    setFormat(format);
    // Each paint clears the frame buffer itself: the toolkit need not discard or clear it first.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    // The sunken edge: a frame over the view that lets the mouse through.
    auto* edge = new QFrame(this);
    edge->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    edge->setAttribute(Qt::WA_TransparentForMouseEvents);
    edge->setObjectName("PreviewEdge");
    edge_ = edge;
}

bool PreviewView::HasContext() const {
    if (qEnvironmentVariableIsSet("DROVAK_NO_OPENGL")) return false;
    if (isValid()) return true;
    // Not made yet (a view not yet shown at a size of its own): whether one can be made at all.
    QOpenGLContext probe;
    probe.setFormat(format());
    return probe.create();
}

void PreviewView::SetKeepProportions(bool keep) {
    keepProportions_ = keep;
    update();
}

void PreviewView::resizeEvent(QResizeEvent* event) {
    QOpenGLWidget::resizeEvent(event);
    edge_->setGeometry(rect());
}

void PreviewView::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    emit Wheel(angle.y() != 0 ? angle.y() : angle.x());
    event->accept();
}

PreviewView::~PreviewView() {
    ReleasePreview();
}

void PreviewView::initializeGL() {
    if (released_) return;
    ready_ = true;
    // A context that goes away under the view (the widget moved to another window) takes its
    // texture along; the next initialisation starts white again.
    connect(
        context(), &QOpenGLContext::aboutToBeDestroyed, this,
        [this] {
            const ContextCurrent current(*this);
            ReleaseTexture();
            ready_ = false;
        },
        Qt::DirectConnection);
    if (pending_) {
        texture_ = UploadPreviewImage(pending_->width, pending_->height, pending_->pixels.data());
        pending_.reset();
    }
}

void PreviewView::paintGL() {
    if (!ready_) return;
    const QSize view = size() * devicePixelRatioF(); // rounded, as the toolkit sizes its frame
    // Kept proportions: the quadrilateral covers the picture's area (the viewport's origin is
    // its bottom left); the clear blacks the rest.
    const QRect area = keepProportions_ && texture_ != 0 ? ProportionalArea(view, pictureSize_)
                                                         : QRect(QPoint(0, 0), view);
    glViewport(area.x(), view.height() - area.y() - area.height(), area.width(), area.height());
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    DrawPreview();
}

void PreviewView::DrawPreview() {
    // Black (OpenGL's clear colour unless set) wherever the picture does not reach.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_);
    // t runs from 0 at the bottom to -1 at the top and the texture repeats, so the picture's
    // first row (top row first in memory) lands at the top edge.
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex2f(-1, -1);
    glTexCoord2f(0, -1);
    glVertex2f(-1, 1);
    glTexCoord2f(1, -1);
    glVertex2f(1, 1);
    glTexCoord2f(1, 0);
    glVertex2f(1, -1);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    // The toolkit presents the frame (the swap) after paintGL returns.
}

uint32_t PreviewView::UploadPreviewImage(uint16_t width, uint16_t height, const uint32_t* pixels) {
    ReleaseTexture();
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    ++uploads_;
    return name;
}

void PreviewView::ShowPicture(const PreviewImage& image) {
    if (released_ || image.Width == 0 || image.Height == 0 ||
        image.Pixels.size() < size_t(image.Width) * image.Height) {
        return;
    }
    pictureSize_ = QSize(image.Width, image.Height);
    if (!ready_) {
        pending_ = PendingPicture{image.Width, image.Height, image.Pixels};
        return;
    }
    const ContextCurrent current(*this);
    texture_ = UploadPreviewImage(image.Width, image.Height, image.Pixels.data());
    update();
}

void PreviewView::ReleaseTexture() {
    if (texture_ != 0) {
        const GLuint name = texture_;
        glDeleteTextures(1, &name);
        texture_ = 0;
    }
}

void PreviewView::ClearPicture() {
    pending_.reset();
    pictureSize_ = QSize();
    if (!ready_) return;
    const ContextCurrent current(*this);
    ReleaseTexture();
    update();
}

void PreviewView::ReleasePreview() {
    if (released_) return;
    released_ = true;
    if (context()) disconnect(context(), nullptr, this, nullptr);
    if (ready_) {
        const ContextCurrent current(*this);
        ReleaseTexture();
    }
    ready_ = false;
}

void PreviewView::mousePressEvent(QMouseEvent* event) {
    emit Clicked();
    QOpenGLWidget::mousePressEvent(event);
}

} // namespace drovak::preview
