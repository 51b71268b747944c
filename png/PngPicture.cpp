#include "png/PngPicture.h"

#include "base/Errors.h"
#include "base/ReplaceFile.h"
#include "png/IndexImageData.h"

#include <algorithm>
#include <memory>

namespace drovak {

bool TPngPicture::CreateBlank(uint8_t colourType, uint8_t bitDepth, uint32_t width,
                              uint32_t height) {
    chunks_.Clear();
    header_ = nullptr;
    palette_ = nullptr;
    const bool palette = colourType == PNG_COLOUR_PALETTE && (bitDepth == 4 || bitDepth == 8);
    if (!palette && PngPixelSize(colourType, bitDepth) == 0) return false;
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
    if (palette) {
        auto colours = std::make_unique<TPngChunk>("PLTE");
        colours->Data().assign(size_t(3) << bitDepth, 0);
        palette_ = &chunks_.Add(std::move(colours));
        chunks_.Add(std::make_unique<TIndexIdatChunk>(*this));
    } else {
        chunks_.Add(std::make_unique<TIdatChunk>(*this));
    }
    return true;
}

void TPngPicture::SetPalette(const std::vector<uint32_t>& colours) {
    if (palette_ == nullptr) throw RefusedError("PNG picture: only a palette image has a palette");
    const size_t most = size_t(1) << header_->BitDepth();
    if (colours.empty() || colours.size() > most) {
        throw RefusedError("PNG picture: a palette of " + std::to_string(colours.size()) +
                           " colours; this image takes 1 to " + std::to_string(most));
    }
    std::vector<uint8_t>& data = palette_->Data();
    data.clear();
    for (uint32_t colour : colours) {
        data.push_back(uint8_t(colour));
        data.push_back(uint8_t(colour >> 8));
        data.push_back(uint8_t(colour >> 16));
    }
}

void TPngPicture::AddText(const std::string& keyword, const std::string& text) {
    bool good = !keyword.empty() && keyword.size() <= 79 && keyword.front() != ' ' &&
                keyword.back() != ' ' && keyword.find("  ") == std::string::npos &&
                text.find('\0') == std::string::npos;
    for (unsigned char c : keyword) good = good && ((c >= 32 && c <= 126) || c >= 161);
    if (!good) throw RefusedError("PNG picture: \"" + keyword + "\" is not a tEXt keyword");
    auto chunk = std::make_unique<TPngChunk>("tEXt");
    chunk->Data().assign(keyword.begin(), keyword.end());
    chunk->Data().push_back(0);
    chunk->Data().insert(chunk->Data().end(), text.begin(), text.end());
    chunks_.Add(std::move(chunk));
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
