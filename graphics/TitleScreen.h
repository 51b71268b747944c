#pragma once

#include "graphics/Renderer.h"

#include <string>

namespace drovak {

constexpr uint32_t TITLE_PALETTE_OFFSET = 0x6DA56;
constexpr uint32_t TITLE_NAME_TABLE_OFFSET = 0x6DA78;
constexpr uint32_t TITLE_ART_OFFSET = 0x6DDB4;
constexpr uint16_t TITLE_WIDTH_TILES = 40;
constexpr uint16_t TITLE_HEIGHT_TILES = 28;

// Decodes the title-screen art (RLE) and name table (masked tiles) and renders the 320 x 224
// picture with the palette at 0x6DA56. Throws FileError when the ROM can't be opened.
PreviewImage RenderTitleScreen(const std::string& romPath, FrameBuffer& frameBuffer);

} // namespace drovak
