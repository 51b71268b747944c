#pragma once

#include "base/ReplaceFile.h"
#include "graphics/Renderer.h"

#include <string>

namespace drovak {

// Writes a rendered picture as a plain 8-bit RGB PNG file, through the atomic file writer
// (FileError naming path when it can't be written; an existing file is then left as it was).
void SavePreviewPng(const PreviewImage& image, const std::string& path,
                    const ReplaceOptions& options = {});

} // namespace drovak
