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

} // namespace drovak
