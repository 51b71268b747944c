#pragma once

#include <QOpenGLWidget>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <optional>
#include <vector>

namespace drovak {
struct PreviewImage;
}

namespace drovak::preview {

// The sunken panel that shows the last rendered picture: one textured quadrilateral over the
// whole view, drawn with the OpenGL 1.1 fixed-function pipeline. White until the first picture.
// The sunken edge is drawn over the picture's outer pixels, so the view keeps its geometry.
// A picture that keeps its proportions takes this part of a view: an integer zoom of it where
// one fits (1 and more), else the largest size of its shape that fits; centred.
QRect ProportionalArea(QSize view, QSize picture);

class PreviewView final : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit PreviewView(QWidget* parent = nullptr);
    ~PreviewView() override;

    // Uploads the picture and repaints. A picture given before the view is ready is kept and
    // uploaded as soon as the context exists.
    void ShowPicture(const PreviewImage& image);

    // Generates a texture from width x height pixels (bytes red, green, blue, alpha, top row
    // first) with its mipmaps, deletes the previous one, and returns the new name. The
    // context must be current.
    uint32_t UploadPreviewImage(uint16_t width, uint16_t height, const uint32_t* pixels);

    // The texture on show; 0 until the first picture.
    uint32_t PreviewTexture() const { return texture_; }
    // How many pictures have been uploaded (each upload is a new picture drawn).
    unsigned UploadCount() const { return uploads_; }
    // Whether the context exists and has not been released.
    bool IsReady() const { return ready_; }
    // No picture: the view white again, as before the first one.
    void ClearPicture();
    // Deletes the texture and stops drawing; nothing is drawn or uploaded afterwards.
    void ReleasePreview();
    // Whether the view has its OpenGL context (the toolkit makes it as the view is first shown),
    // or, before that, whether one can be made. False while DROVAK_NO_OPENGL is set in the
    // environment: a machine without OpenGL, for trying what the program does there.
    bool HasContext() const;

    // Off (the default): the picture is stretched over the whole view. On: it keeps its
    // proportions (ProportionalArea), black around it.
    void SetKeepProportions(bool keep);
    bool KeepsProportions() const { return keepProportions_; }

signals:
    // A mouse click on the view (the window gives the view the keyboard focus).
    void Clicked();
    // A turn of the mouse wheel over the view: the vertical angle, or the horizontal one when
    // there is no vertical (eighths of a degree; 120 a step, positive away from the user).
    void Wheel(int angleDelta);

protected:
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawPreview();
    void ReleaseTexture();

    bool ready_ = false;
    bool released_ = false;
    bool keepProportions_ = false;
    uint32_t texture_ = 0;
    QSize pictureSize_;
    QWidget* edge_ = nullptr;
    unsigned uploads_ = 0;
    struct PendingPicture {
        uint16_t width;
        uint16_t height;
        std::vector<uint32_t> pixels;
    };
    std::optional<PendingPicture> pending_;
};

} // namespace drovak::preview
