#pragma once

#include "patch/Patch.h"
#include "patch/PatchResult.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace drovak {

// What a BPS patch says of itself: the images it joins, its metadata, its actions by kind.
struct BpsInfo {
    uint64_t sourceSize = 0, targetSize = 0;
    uint32_t sourceCrc = 0, targetCrc = 0;
    std::string metadata;
    uint64_t sourceReads = 0, targetReads = 0, sourceCopies = 0, targetCopies = 0;
    uint64_t Actions() const { return sourceReads + targetReads + sourceCopies + targetCopies; }
};

// What an IPS patch holds: its records (runs among them), the bytes they write, the size after
// "EOF".
struct IpsInfo {
    uint64_t records = 0, runs = 0, bytesWritten = 0;
    std::optional<uint32_t> truncation;
};

struct PatchInfo {
    PatchFormat format = PatchFormat::Unknown;
    std::optional<BpsInfo> bps; // as far as it could be read
    std::optional<IpsInfo> ips;
    // Why the patch can't be applied to any image (NotAPatch, Damaged, OutOfBounds), or None.
    PatchResult problem;
};

// Reads a patch without an image: its format and fields, and whether it is damaged (a BPS
// patch's own checksum, its header and actions as far as they can be checked without the
// source; an IPS patch's records).
PatchInfo DescribePatch(std::span<const uint8_t> patch);

} // namespace drovak
