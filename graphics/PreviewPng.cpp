#include "graphics/PreviewPng.h"

#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "graphics/GraphicsProblem.h"
#include "png/PngRows.h"
#include "png/PngWriter.h"

namespace drovak {

void SavePreviewPng(const PreviewImage& image, const std::string& path,
                    const ReplaceOptions& options) {
    const PngHeader header{image.Width, image.Height, PNG_COLOUR_RGB, 8};
    if (!PngWritable(header) || image.Pixels.size() < size_t(image.Width) * image.Height) {
        ThrowGraphicsProblem({GraphicsProblemKind::EmptyPicture, path});
    }
    PngCompression compression;
    compression.level = 9;
    ReplaceFile(
        path,
        [&](Stream& file) {
            PngWriter png(file, header);
            png.ImageData(
                [&image](uint32_t y, uint8_t* out) {
                    PackPngRow(image.Pixels.data() + size_t(y) * image.Width, image.Width,
                               PNG_COLOUR_RGB, 8, out);
                },
                compression);
            png.End();
        },
        options);
}

} // namespace drovak
