#include "patch/Patch.h"

#include "base/Crc32.h"
#include "patch/Bps.h"
#include "patch/Ips.h"

#include <algorithm>

namespace drovak {

PatchFormat DetectPatchFormat(std::span<const uint8_t> patch) {
    if (LooksLikeBps(patch)) return PatchFormat::Bps;
    if (LooksLikeIps(patch)) return PatchFormat::Ips;
    return PatchFormat::Unknown;
}

PatchResult ApplyPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch) {
    PatchResult result;
    switch (DetectPatchFormat(patch)) {
    case PatchFormat::Bps:
        result = ApplyBpsPatch(source, patch);
        break;
    case PatchFormat::Ips:
        result = ApplyIpsPatch(source, patch);
        break;
    case PatchFormat::Unknown:
        result.refusal = PatchRefusal::NotAPatch;
        return result;
    }
    // A patch that changes nothing in the image was applied to it already.
    if (result.Applied() &&
        std::equal(source.begin(), source.end(), result.target.begin(), result.target.end())) {
        result.refusal = PatchRefusal::AlreadyApplied;
        result.expectedCrc = result.actualCrc = Crc32(source);
        result.target.clear();
    }
    return result;
}

std::string PatchRefusalText(const PatchResult& result, const std::string& patchName,
                             const std::string& romName) {
    const std::string at = " (at byte " + std::to_string(result.position) + " of the patch)";
    switch (result.refusal) {
    case PatchRefusal::None:
        return {};
    case PatchRefusal::NotAPatch:
        return patchName + " is not a patch: it starts with neither \"BPS1\" nor \"PATCH\"";
    case PatchRefusal::WrongSource:
        return patchName + " was made for a ROM with CRC-32 " + CrcText(result.expectedCrc) + " (" +
               std::to_string(result.size) + " bytes); " + romName + " has " +
               CrcText(result.actualCrc);
    case PatchRefusal::Damaged:
        if (result.expectedCrc != result.actualCrc) {
            return patchName + " is damaged: its own checksum fails (it names " +
                   CrcText(result.expectedCrc) + ", its bytes give " + CrcText(result.actualCrc) +
                   ")";
        }
        return patchName + " is damaged: " + result.detail + at;
    case PatchRefusal::OutOfBounds:
        return patchName + " is damaged or hostile: " + result.detail + at;
    case PatchRefusal::TargetTooLarge:
        return patchName + " would make an image of " + std::to_string(result.size) +
               " bytes, more than a ROM image may hold (" + std::to_string(MAX_PATCH_TARGET_SIZE) +
               ")";
    case PatchRefusal::AlreadyApplied:
        return patchName + " is already applied: " + romName + " (CRC-32 " +
               CrcText(result.actualCrc) + ") is the image it makes, and it would change nothing";
    case PatchRefusal::TargetMismatch:
        return patchName + " did not make the image it was made from: the result has CRC-32 " +
               CrcText(result.actualCrc) + ", the patch names " + CrcText(result.expectedCrc);
    }
    return patchName + ": refused";
}

} // namespace drovak
