#pragma once

#include "patch/PatchResult.h"

#include <cstdint>
#include <span>
#include <string>

namespace drovak {

enum class PatchFormat { Unknown, Bps, Ips };

// The format the bytes' first bytes name ("BPS1", "PATCH").
PatchFormat DetectPatchFormat(std::span<const uint8_t> patch);

// Applies a BPS or an IPS patch, whichever it is, to `source`; NotAPatch for anything else,
// AlreadyApplied for a patch that makes the image it is given (a BPS patch's target, or a result
// the same as the source).
PatchResult ApplyPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch);

// Why a patch was refused, in one sentence that names the patch and the image (the file names
// given): "hack.bps was made for a ROM with CRC-32 1A2B3C4D; tf3.bin has 0BADF00D". Empty for
// an applied patch.
std::string PatchRefusalText(const PatchResult& result, const std::string& patchName,
                             const std::string& romName);

} // namespace drovak
