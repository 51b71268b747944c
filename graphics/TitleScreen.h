#pragma once

#include "graphics/Renderer.h"
#include "rom/RomLayout.h"

#include <span>
#include <string>

namespace drovak {

constexpr uint16_t TITLE_WIDTH_TILES = 40;
constexpr uint16_t TITLE_HEIGHT_TILES = 28;

// Decodes the title-screen art (RLE) and name table (masked tiles) of a ROM image and renders
// the 320 x 224 picture with the title palette.
PreviewImage RenderTitleScreen(std::span<const uint8_t> rom);
// The same from the ROM image at romPath; FileError when it can't be opened.
PreviewImage RenderTitleScreen(const std::string& romPath);

} // namespace drovak
