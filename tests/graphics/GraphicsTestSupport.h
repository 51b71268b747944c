#pragma once

#include "base/Stream.h"
#include "demo/DemoRom.h"
#include "graphics/Renderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace drovak::graphics_test {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline const Bytes& DemoRomBytes() {
    static const Bytes rom = MakeDemoRom();
    return rom;
}

// A scratch folder of its own for each test, and a frame buffer.
class GraphicsTest : public ::testing::Test {
protected:
    GraphicsTest() { fs::create_directories(folder_); }
    ~GraphicsTest() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    std::string File(const std::string& name) const { return (folder_ / name).string(); }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(folder_ / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return File(name);
    }

    const fs::path folder_ = fs::temp_directory_path() /
                             ("drovak_gfx_" + std::to_string(::getpid()) + "_" +
                              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::unique_ptr<FrameBuffer> frame = std::make_unique<FrameBuffer>();
};

inline Bytes SolidTile(uint8_t value) {
    return Bytes(32, uint8_t(value << 4 | value));
}

inline void PutTile(Bytes& art, size_t index, const Bytes& tile) {
    if (art.size() < 32 * (index + 1)) art.resize(32 * (index + 1), 0);
    std::copy(tile.begin(), tile.end(), art.begin() + long(32 * index));
}

inline Bytes Words(std::initializer_list<uint16_t> words) {
    Bytes bytes;
    bytes.reserve(2 * words.size());
    for (uint16_t word : words) {
        bytes.push_back(uint8_t(word >> 8));
        bytes.push_back(uint8_t(word));
    }
    return bytes;
}

// Colour i is red i, green 64 + i, blue 128: easy to recognise, and none of them is 0.
inline PaletteTable MarkerPalette() {
    PaletteTable palette{};
    for (uint32_t i = 0; i < palette.size(); ++i) palette[i] = i | (64 + i) << 8 | 128u << 16;
    return palette;
}

inline PreviewImage Render(Bytes art, uint16_t width, uint16_t height, const Bytes* nameTable,
                           FrameBuffer& frame, uint8_t cellHeight = 1) {
    MemoryStream artStream(std::move(art));
    MemoryStream names(nameTable ? *nameTable : Bytes{});
    return RenderTiles(artStream, 1, cellHeight, width, height, MarkerPalette(),
                       nameTable ? &names : nullptr, frame);
}

inline uint32_t PixelAt(const PreviewImage& image, unsigned x, unsigned y) {
    return image.Pixels.at(size_t(y) * image.Width + x);
}

} // namespace drovak::graphics_test
