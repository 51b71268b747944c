// Applying a BPS patch: every number is checked against the bounds it must keep before a byte
// is copied, and the target is given only when its checksum is the one the patch names.
#include "patch/Bps.h"

#include "base/ByteOrder.h"

#include "base/Crc32.h"
#include "patch/BpsNumbers.h"

#include <algorithm>
#include <cstring>

namespace drovak {

namespace {

constexpr uint8_t MAGIC[4] = {'B', 'P', 'S', '1'};
constexpr size_t FOOTER_SIZE = 12;

PatchResult Mismatch(PatchRefusal refusal, uint32_t expected, uint32_t actual, PatchFault fault) {
    PatchResult result;
    result.refusal = refusal;
    result.expectedCrc = expected;
    result.actualCrc = actual;
    result.fault = fault;
    return result;
}

enum Action { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// Runs the actions in patch[at, end) into `target` (sized already). A refusal, or None.
PatchResult RunActions(std::span<const uint8_t> source, std::span<const uint8_t> patch, size_t at,
                       size_t end, std::vector<uint8_t>& target) {
    const uint64_t targetSize = target.size();
    uint64_t out = 0, sourceCursor = 0, targetCursor = 0;
    while (at < end) {
        const size_t actionAt = at;
        const std::optional<uint64_t> word = bps::ReadNumber(patch, at, end);
        if (!word)
            return PatchResult::Refused(PatchRefusal::Damaged, actionAt,
                                        PatchFault::ActionIntoFooter);
        const uint64_t length = (*word >> 2) + 1;
        if (length > targetSize - out) {
            return PatchResult::Refused(PatchRefusal::OutOfBounds, actionAt,
                                        PatchFault::WritesPastTarget);
        }
        switch (*word & 3) {
        case SourceRead:
            if (out + length > source.size()) {
                return PatchResult::Refused(PatchRefusal::OutOfBounds, actionAt,
                                            PatchFault::ReadsPastSource);
            }
            std::memcpy(&target[out], &source[out], length);
            break;
        case TargetRead:
            if (length > end - at) {
                return PatchResult::Refused(PatchRefusal::Damaged, actionAt,
                                            PatchFault::LiteralsIntoFooter);
            }
            std::memcpy(&target[out], &patch[at], length);
            at += length;
            break;
        case SourceCopy:
        case TargetCopy: {
            const std::optional<uint64_t> delta = bps::ReadNumber(patch, at, end);
            if (!delta) {
                return PatchResult::Refused(PatchRefusal::Damaged, actionAt,
                                            PatchFault::ActionIntoFooter);
            }
            const bool fromSource = (*word & 3) == SourceCopy;
            uint64_t& cursor = fromSource ? sourceCursor : targetCursor;
            const uint64_t magnitude = *delta >> 1;
            // A copy from the target reads only what is written already (it may overlap what it
            // writes: byte by byte, each is written before it is read).
            const uint64_t limit = fromSource ? source.size() : out;
            if ((*delta & 1) ? magnitude > cursor : magnitude > limit - std::min(cursor, limit)) {
                return PatchResult::Refused(PatchRefusal::OutOfBounds, actionAt,
                                            fromSource ? PatchFault::CopyOutsideSource
                                                       : PatchFault::CopyOutsideTarget);
            }
            cursor = (*delta & 1) ? cursor - magnitude : cursor + magnitude;
            if (fromSource ? length > limit - cursor : cursor >= limit) {
                return PatchResult::Refused(PatchRefusal::OutOfBounds, actionAt,
                                            fromSource ? PatchFault::CopyPastSource
                                                       : PatchFault::CopyOutsideTarget);
            }
            if (fromSource) {
                std::memcpy(&target[out], &source[cursor], length);
            } else {
                for (uint64_t i = 0; i < length; ++i) target[out + i] = target[cursor + i];
            }
            cursor += length;
            break;
        }
        }
        out += length;
    }
    if (out != targetSize) {
        return PatchResult::Refused(PatchRefusal::Damaged, end, PatchFault::ActionsEndEarly);
    }
    return {};
}

} // namespace

bool LooksLikeBps(std::span<const uint8_t> patch) {
    return patch.size() >= sizeof MAGIC && std::memcmp(patch.data(), MAGIC, sizeof MAGIC) == 0;
}

PatchResult ApplyBpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch) {
    if (!LooksLikeBps(patch))
        return PatchResult::Refused(PatchRefusal::NotAPatch, 0, PatchFault::NoBpsStart);
    if (patch.size() < sizeof MAGIC + 3 + FOOTER_SIZE) {
        return PatchResult::Refused(PatchRefusal::Damaged, patch.size(), PatchFault::EndsEarly);
    }
    const uint8_t* footer = patch.data() + patch.size() - FOOTER_SIZE;
    const uint32_t patchCrc = Crc32(patch.first(patch.size() - 4));
    if (LoadLittleEndian32(footer + 8) != patchCrc) {
        return Mismatch(PatchRefusal::Damaged, LoadLittleEndian32(footer + 8), patchCrc,
                        PatchFault::ChecksumFails);
    }
    const size_t end = patch.size() - FOOTER_SIZE;
    size_t at = sizeof MAGIC;
    const std::optional<uint64_t> sourceSize = bps::ReadNumber(patch, at, end);
    const std::optional<uint64_t> targetSize =
        sourceSize ? bps::ReadNumber(patch, at, end) : std::nullopt;
    const std::optional<uint64_t> metadataSize =
        targetSize ? bps::ReadNumber(patch, at, end) : std::nullopt;
    if (!metadataSize || *metadataSize > end - at) {
        return PatchResult::Refused(PatchRefusal::Damaged, at, PatchFault::HeaderIntoFooter);
    }
    at += *metadataSize;

    const uint32_t expectedSource = LoadLittleEndian32(footer);
    const uint32_t sourceCrc = Crc32(source);
    if (*sourceSize != source.size() || expectedSource != sourceCrc) {
        if (*targetSize == source.size() && LoadLittleEndian32(footer + 4) == sourceCrc) {
            return Mismatch(PatchRefusal::AlreadyApplied, sourceCrc, sourceCrc,
                            PatchFault::ImageIsTarget);
        }
        PatchResult wrong = Mismatch(PatchRefusal::WrongSource, expectedSource, sourceCrc,
                                     PatchFault::MadeForAnother);
        wrong.size = *sourceSize;
        return wrong;
    }
    if (*targetSize > MAX_PATCH_TARGET_SIZE) {
        PatchResult large =
            PatchResult::Refused(PatchRefusal::TargetTooLarge, 4, PatchFault::TargetTooLarge);
        large.size = *targetSize;
        return large;
    }

    std::vector<uint8_t> target(*targetSize);
    PatchResult result = RunActions(source, patch, at, end, target);
    if (!result.Applied()) return result;
    const uint32_t expectedTarget = LoadLittleEndian32(footer + 4);
    const uint32_t targetCrc = Crc32(target);
    if (expectedTarget != targetCrc) {
        return Mismatch(PatchRefusal::TargetMismatch, expectedTarget, targetCrc,
                        PatchFault::ImageNotTarget);
    }
    result.target = std::move(target);
    return result;
}

} // namespace drovak
