#pragma once

#include "patch/PatchResult.h"

#include <cstdint>
#include <span>

namespace drovak {

// An IPS patch: "PATCH", then records until "EOF": a 3-byte offset and a 2-byte size (both
// big-endian) and that many bytes to write there, or, with size 0, a 2-byte count and one byte
// written that many times; after "EOF" optionally a 3-byte size the image is cut (or padded
// with zeros) to. Records may write past the source's end: the image grows, zeros filling any
// gap. It has no checksums: a patch for another image applies without complaint.

// Applies an IPS patch to a copy of `source`. Refused (nothing made): a patch that ends before
// "EOF" or holds more than a size after it (Damaged), an image over MAX_PATCH_TARGET_SIZE.
PatchResult ApplyIpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch);

// Whether the bytes start as an IPS patch does.
bool LooksLikeIps(std::span<const uint8_t> patch);

} // namespace drovak
