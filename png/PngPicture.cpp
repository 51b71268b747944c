#include "png/PngPicture.h"

#include "base/Errors.h"
#include "base/ReplaceFile.h"

#include <algorithm>
#include <memory>

namespace drovak {

bool TPngPicture::CreateBlank(uint8_t colourType, uint8_t bitDepth, uint32_t width,
                              uint32_t height) {
    chunks_.Clear();
    header_ = nullptr;
    if (PngPixelSize(colourType, bitDepth) == 0) return false;
    if (width == 0 || height == 0 || width > PNG_MAX_CHUNK_LENGTH ||
        height > PNG_MAX_CHUNK_LENGTH) {
        return false;
    }
    tones_ = IdentityToneTable();
    chunks_.Add(std::make_unique<TIendChunk>());
    auto header = std::make_unique<TIhdrChunk>();
    header->CreateImage(width, height, bitDepth, colourType);
    header_ = header.get();
    chunks_.Add(std::move(header));
    chunks_.Add(std::make_unique<TIdatChunk>(*this));
    return true;
}

void TPngPicture::SetCompressionLevel(int level) {
    settings_.compressionLevel = std::clamp(level, 0, 9);
}

void TPngPicture::SetMaxIdatSize(uint32_t size) {
    settings_.maxIdatSize = std::clamp<uint32_t>(size, 1, PNG_MAX_CHUNK_LENGTH);
}

void TPngPicture::SaveToStream(Stream& stream) {
    if (header_ == nullptr) throw RefusedError("PNG picture: there is no image to save");
    stream.Write(PNG_SIGNATURE, sizeof PNG_SIGNATURE);
    for (size_t i = 0; i < chunks_.Count(); ++i) chunks_.Item(i).SaveToStream(stream);
}

void TPngPicture::SaveToFile(const std::string& path) {
    if (header_ == nullptr) {
        throw RefusedError(path + ": not written: the PNG picture has no image");
    }
    WriteFileReplacing(path, [this](Stream& file) { SaveToStream(file); });
}

} // namespace drovak
