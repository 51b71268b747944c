#pragma once

#include "base/Stream.h"
#include "demo/DemoRom.h"
#include "graphics/Renderer.h"
#include "support/TestSupport.h"

#include <memory>
#include <optional>
#include <span>

namespace drovak::test {

inline const Bytes& DemoRomBytes() {
    static const Bytes rom = MakeDemoRom();
    return rom;
}

// A scratch folder of its own for each test, and a frame buffer.
class GraphicsTest : public ScratchTest {
protected:
    std::unique_ptr<FrameBuffer> frame = std::make_unique<FrameBuffer>();
};

inline Bytes SolidTile(uint8_t value) {
    return Bytes(32, uint8_t(value << 4 | value));
}

inline void PutTile(Bytes& art, size_t index, const Bytes& tile) {
    if (art.size() < 32 * (index + 1)) art.resize(32 * (index + 1), 0);
    std::copy(tile.begin(), tile.end(), art.begin() + long(32 * index));
}

// Colour i is red i, green 64 + i, blue 128: easy to recognise, and none of them is 0.
inline PaletteTable MarkerPalette() {
    PaletteTable palette{};
    for (uint32_t i = 0; i < palette.size(); ++i) palette[i] = i | (64 + i) << 8 | 128u << 16;
    return palette;
}

inline PreviewImage Render(const Bytes& art, uint16_t width, uint16_t height,
                           const Bytes* nameTable, uint8_t cellHeight = 1) {
    std::optional<std::span<const uint8_t>> names;
    if (nameTable) names = *nameTable;
    return RenderTiles(art, 1, cellHeight, width, height, MarkerPalette(), names);
}

inline uint32_t PixelAt(const PreviewImage& image, unsigned x, unsigned y) {
    return image.Pixels.at(size_t(y) * image.Width + x);
}

} // namespace drovak::test
