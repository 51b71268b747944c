#pragma once

#include "graphics/Renderer.h"

#include <string>

namespace drovak::cli {

// Writes a rendered picture as a plain 8-bit RGB PNG file.
void SavePreviewPng(const PreviewImage& image, const std::string& path);

} // namespace drovak::cli
