#pragma once

#include "patch/PatchResult.h"

#include <cstdint>
#include <span>

namespace drovak {

enum class PatchFormat { Unknown, Bps, Ips };

// The format the bytes' first bytes name ("BPS1", "PATCH").
PatchFormat DetectPatchFormat(std::span<const uint8_t> patch);

// Applies a BPS or an IPS patch, whichever it is, to `source`; NotAPatch for anything else,
// AlreadyApplied for a patch that makes the image it is given (a BPS patch's target, or a result
// the same as the source).
PatchResult ApplyPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch);

} // namespace drovak
