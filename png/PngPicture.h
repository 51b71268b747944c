#pragma once

#include "png/IdatChunk.h"
#include "png/IhdrChunk.h"
#include "png/Png.h"
#include "png/PngChunkList.h"
#include "png/PngRows.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace drovak {

// One image held in memory (8-bit colours and alpha, or palette indices) and written as a PNG
// file.
//
//     TPngPicture png;
//     png.CreateBlank(PNG_COLOUR_RGB_ALPHA, 16, width, height);
//     png.SetPixel(x, y, red + green * 256 + blue * 65536);
//     png.AlphaRow(y)[x] = 255;
//     png.SaveToFile(path);
//
// A palette image: CreateBlank(PNG_COLOUR_PALETTE, 4, width, height), SetPalette(colours),
// SetIndex(x, y, index).
class TPngPicture {
public:
    TPngPicture() = default;
    TPngPicture(const TPngPicture&) = delete;
    TPngPicture& operator=(const TPngPicture&) = delete;

    // Makes a zero-filled image of chunks IHDR, IDAT, IEND (IHDR, PLTE, IDAT, IEND for a
    // palette image, whose palette starts as 2^bitDepth black colours). This writer encodes
    // colour type 2 (RGB) and 6 (RGB with alpha) at 8 or 16 bits per sample and colour type 3
    // (palette) at 4 or 8 bits, each side 1 to 2^31 - 1 pixels; for anything else the picture is
    // left without chunks and false is returned.
    bool CreateBlank(uint8_t colourType, uint8_t bitDepth, uint32_t width, uint32_t height);

    // 0 (store) to 9 (smallest); values outside are clamped. Default 7.
    void SetCompressionLevel(int level);
    int CompressionLevel() const { return settings_.compressionLevel; }
    // Default {Sub}; see TPngRowFilter for how a row's filter is chosen.
    void SetFilters(TPngFilterSet filters) { settings_.filters = filters; }
    TPngFilterSet Filters() const { return settings_.filters; }
    // The data size of every IDAT chunk but the last. Default 65535; at least 1.
    void SetMaxIdatSize(uint32_t size);
    uint32_t MaxIdatSize() const { return settings_.maxIdatSize; }
    // How many threads compress the image data at once; 0 (the default): one per core.
    void SetThreads(unsigned threads) { settings_.threads = threads; }
    // Called on the saving thread after each compressed part of the image data is written.
    void SetPartWritten(std::function<void()> partWritten) {
        settings_.partWritten = std::move(partWritten);
    }
    const TIdatSettings& IdatSettings() const { return settings_; }

    uint32_t Width() const { return header_ ? header_->Width() : 0; }
    uint32_t Height() const { return header_ ? header_->Height() : 0; }

    // colour = red + green * 256 + blue * 65536; coordinates outside the image are ignored.
    void SetPixel(int64_t x, int64_t y, uint32_t colour) {
        if (header_) header_->SetPixel(x, y, colour);
    }
    uint32_t Pixel(int64_t x, int64_t y) const { return header_ ? header_->Pixel(x, y) : 0; }
    // The Width() alpha bytes of row y, to be written directly; nullptr without alpha or
    // outside the image.
    uint8_t* AlphaRow(uint32_t y) { return header_ ? header_->AlphaRow(y) : nullptr; }

    // Palette images: the index of a pixel (coordinates outside are ignored), and the palette,
    // 1 to 2^bitDepth colours in SetPixel's form (RefusedError for another count or image). Every
    // index must be within the palette when the picture is saved.
    void SetIndex(int64_t x, int64_t y, uint8_t index) {
        if (header_) header_->SetIndex(x, y, index);
    }
    uint8_t Index(int64_t x, int64_t y) const { return header_ ? header_->Index(x, y) : 0; }
    void SetPalette(const std::vector<uint32_t>& colours);
    unsigned PaletteSize() const { return palette_ ? unsigned(palette_->Data().size() / 3) : 0; }

    // Adds a tEXt chunk (before IEND): keyword 1 to 79 printable Latin-1 characters without
    // leading, trailing or double spaces, text without NUL; RefusedError otherwise.
    void AddText(const std::string& keyword, const std::string& text);

    TIhdrChunk* Header() const { return header_; }
    TPngChunkList& Chunks() { return chunks_; }
    const TPngChunkList& Chunks() const { return chunks_; }
    const TPngToneTable& ToneTable() const { return tones_; }

    // The signature, then each chunk in list order. RefusedError when there is no image.
    void SaveToStream(Stream& stream);
    // Saves to a temporary file beside path and renames it over path: a failed save leaves no
    // partial file and an existing file untouched. FileError naming path when it fails.
    void SaveToFile(const std::string& path);

private:
    TPngChunkList chunks_;
    TIhdrChunk* header_ = nullptr;
    TPngChunk* palette_ = nullptr;
    TPngToneTable tones_ = IdentityToneTable();
    TIdatSettings settings_;
};

} // namespace drovak
