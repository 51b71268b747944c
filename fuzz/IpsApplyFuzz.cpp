// ApplyIpsPatch on a source and a patch from the fuzzer ("PATCH" put in front of the rest, so
// that the records are reached). Properties: a refusal makes nothing; an applied patch keeps
// the source's bytes that no record covers (checked where the image did not shrink) and makes
// no image over the limit, and patch-info's reading of it finds nothing wrong; no record writes
// out of bounds (the sanitizers).
#include "fuzz/FuzzCheck.h"
#include "fuzz/PatchInput.h"
#include "patch/Ips.h"
#include "patch/PatchInfo.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    drovak::fuzz::PatchInput input = drovak::fuzz::SplitPatchInput(data, size);
    std::vector<uint8_t> patch = {'P', 'A', 'T', 'C', 'H'};
    patch.insert(patch.end(), input.rest.begin(), input.rest.end());
    const drovak::PatchResult result = drovak::ApplyIpsPatch(input.source, patch);
    if (!result.Applied()) {
        FUZZ_CHECK(result.target.empty());
        return 0;
    }
    FUZZ_CHECK(result.target.size() <= drovak::MAX_PATCH_TARGET_SIZE);
    FUZZ_CHECK(drovak::DescribePatch(patch).problem.Applied());
    // Which of the bytes kept from the source the records cover, read the simple way.
    const size_t kept = std::min(result.target.size(), input.source.size());
    std::vector<bool> covered(kept, false);
    size_t at = 5;
    while (patch[at] != 'E' || patch[at + 1] != 'O' || patch[at + 2] != 'F') {
        const size_t offset = size_t(patch[at]) << 16 | size_t(patch[at + 1]) << 8 | patch[at + 2];
        const size_t length = size_t(patch[at + 3]) << 8 | patch[at + 4];
        const size_t count = length ? length : size_t(patch[at + 5]) << 8 | patch[at + 6];
        for (size_t i = offset; i < std::min(kept, offset + count); ++i) covered[i] = true;
        at += 5 + (length ? length : 3);
    }
    for (size_t i = 0; i < kept; ++i)
        if (!covered[i]) FUZZ_CHECK(result.target[i] == input.source[i]);
    return 0;
}
