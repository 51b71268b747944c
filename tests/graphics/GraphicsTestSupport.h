#pragma once

#include "compression/Stream.h"
#include "graphics/DemoRom.h"
#include "graphics/Renderer.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace drovak::graphics_test {

// A fresh folder under the system's temporary folder, removed with its content at the end.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "drovak-gfx-XXXXXX");
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temp folder");
        path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string File(const std::string& name) const { return (path_ / name).string(); }

    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::string path = File(name);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + path);
        return path;
    }

private:
    std::filesystem::path path_;
};

// The demo ROM, made once per test program.
inline const std::vector<uint8_t>& DemoRomBytes() {
    static const std::vector<uint8_t> rom = MakeDemoRom();
    return rom;
}

// A tile whose 64 pixel values are given row by row.
inline std::vector<uint8_t> TileOf(const uint8_t (&pixels)[64]) {
    std::vector<uint8_t> tile;
    for (int i = 0; i < 64; i += 2) tile.push_back(uint8_t(pixels[i] << 4 | pixels[i + 1]));
    return tile;
}

inline std::vector<uint8_t> SolidTile(uint8_t value) {
    return std::vector<uint8_t>(32, uint8_t(value << 4 | value));
}

inline void PutTile(std::vector<uint8_t>& art, size_t index, const std::vector<uint8_t>& tile) {
    if (art.size() < 32 * (index + 1)) art.resize(32 * (index + 1), 0);
    std::copy(tile.begin(), tile.end(), art.begin() + long(32 * index));
}

inline std::vector<uint8_t> Words(std::initializer_list<uint16_t> words) {
    std::vector<uint8_t> bytes;
    for (uint16_t word : words) {
        bytes.push_back(uint8_t(word >> 8));
        bytes.push_back(uint8_t(word));
    }
    return bytes;
}

// A palette whose colour i is easy to recognise: red = i, green = 64 + i, blue = 128 (no
// converted Mega Drive colour looks like this, and none is 0).
inline PaletteTable MarkerPalette() {
    PaletteTable palette{};
    for (uint32_t i = 0; i < palette.size(); ++i) palette[i] = i | (64 + i) << 8 | 128u << 16;
    return palette;
}

inline PreviewImage Render(std::vector<uint8_t> art, uint16_t width, uint16_t height,
                           const std::vector<uint8_t>* nameTable, FrameBuffer& frame,
                           uint8_t cellHeight = 1, const PaletteTable& palette = MarkerPalette()) {
    MemoryStream artStream(std::move(art));
    if (!nameTable)
        return RenderTiles(artStream, 1, cellHeight, width, height, palette, nullptr, frame);
    MemoryStream names(*nameTable);
    return RenderTiles(artStream, 1, cellHeight, width, height, palette, &names, frame);
}

inline uint32_t PixelAt(const PreviewImage& image, unsigned x, unsigned y) {
    return image.Pixels.at(size_t(y) * image.Width + x);
}

} // namespace drovak::graphics_test
