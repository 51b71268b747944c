#pragma once

#include "patch/PatchResult.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace drovak {

// An IPS patch: "PATCH", then records until "EOF": a 3-byte offset and a 2-byte size (both
// big-endian) and that many bytes to write there, or, with size 0, a 2-byte count (at least 1)
// and one byte written that many times; after "EOF" optionally a 3-byte size the image is cut
// to. Records may write past the source's end: the image grows, zeros filling any gap; a size
// after "EOF" past the image's end leaves it as it is, as the common patchers do. It has no
// checksums: a patch for another image applies without complaint.

// The largest image an IPS patch can describe: offsets and the size after "EOF" have 24 bits.
constexpr uint64_t MAX_IPS_IMAGE_SIZE = uint64_t(1) << 24;
// "EOF" read where an offset would be: no record can start there.
constexpr uint32_t IPS_END_MARK = 0x454F46;

struct IpsRecord {
    uint32_t offset = 0;
    uint32_t length = 0; // the bytes it writes
    bool run = false;    // one byte written `length` times
    size_t dataAt = 0;   // where its bytes (or its run's byte) lie in the patch
    size_t recordAt = 0; // where the record starts in the patch
};

struct IpsContents {
    std::vector<IpsRecord> records;
    std::optional<uint32_t> truncation; // the size after "EOF"
};

// Reads the records of an IPS patch; a refusal (NotAPatch, Damaged: a patch that ends before
// "EOF", a run of length 0, more than a size after "EOF") or None.
PatchResult ReadIpsPatch(std::span<const uint8_t> patch, IpsContents& contents);

// Applies an IPS patch to a copy of `source`. Refused (nothing made) as ReadIpsPatch refuses,
// and for an image over MAX_PATCH_TARGET_SIZE.
PatchResult ApplyIpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch);

// The IPS patch that turns `original` into `modified`: a record for each stretch that differs
// (a run record where one byte repeats), the bytes past the original's end written, a size
// after "EOF" when the image shrinks. A record that would start at 0x454F46 (which reads as
// "EOF") starts a byte earlier. RefusedError where IPS can't say the change: a modified image
// over 16 MiB, or one that shrinks to 16 MiB (the size after "EOF" has 24 bits).
std::vector<uint8_t> CreateIpsPatch(std::span<const uint8_t> original,
                                    std::span<const uint8_t> modified);

// Whether the bytes start as an IPS patch does.
bool LooksLikeIps(std::span<const uint8_t> patch);

} // namespace drovak
