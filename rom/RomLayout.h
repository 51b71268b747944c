#pragma once

#include <cstdint>

namespace drovak {

// Fixed ROM positions and defaults.
constexpr uint32_t DEFAULT_TABLE_OFFSET = 0x20000;
constexpr uint32_t DEFAULT_TABLE_INDEX = 0;
constexpr uint32_t DEFAULT_RLE_OFFSET = 0x48120;
constexpr uint32_t PREVIEW_PALETTE_OFFSET = 0x5A000;
constexpr const char* DEFAULT_ROM_NAME = "tf3.bin";

} // namespace drovak
