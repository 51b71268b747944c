#include "graphics/PreviewPng.h"

#include "base/Errors.h"
#include "png/PngPicture.h"

namespace drovak {

void SavePreviewPng(const PreviewImage& image, const std::string& path) {
    TPngPicture picture;
    if (!picture.CreateBlank(PNG_COLOUR_RGB, 8, image.Width, image.Height)) {
        throw RefusedError(path + ": not written: the picture is empty");
    }
    picture.SetCompressionLevel(9);
    for (uint32_t y = 0; y < image.Height; ++y) {
        for (uint32_t x = 0; x < image.Width; ++x) {
            picture.SetPixel(x, y, image.Pixels[size_t(y) * image.Width + x] & 0xFFFFFF);
        }
    }
    picture.SaveToFile(path);
}

} // namespace drovak
