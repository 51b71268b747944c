// ApplyBpsPatch on a source and a patch from the fuzzer. A patch whose first byte after the
// source has its low bit set gets its footer's source and patch checksums made right first, so
// that the actions are reached at all (a random patch fails its own checksum). Properties: a
// refusal makes nothing; an applied patch makes the target its header announces, with the
// checksum its footer names, and patch-info's reading of it finds nothing wrong and the same
// target size; no action reads or writes out of bounds (the sanitizers).
#include "base/ByteOrder.h"
#include "base/Crc32.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/PatchInput.h"
#include "patch/Bps.h"
#include "patch/PatchInfo.h"

#include <cstddef>
#include <cstdint>

namespace {

void StoreLe32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = uint8_t(value >> (8 * i));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    drovak::fuzz::PatchInput input = drovak::fuzz::SplitPatchInput(data, size);
    if (input.rest.empty()) return 0;
    const bool fix = input.rest[0] & 1;
    std::vector<uint8_t> patch(input.rest.begin() + 1, input.rest.end());
    if (fix && patch.size() >= 12) {
        StoreLe32(&patch[patch.size() - 12], drovak::Crc32(input.source));
        StoreLe32(&patch[patch.size() - 4],
                  drovak::Crc32(std::span(patch).first(patch.size() - 4)));
    }
    const drovak::PatchResult result = drovak::ApplyBpsPatch(input.source, patch);
    const drovak::PatchInfo info = drovak::DescribePatch(patch);
    if (!result.Applied()) {
        FUZZ_CHECK(result.target.empty());
        return 0;
    }
    FUZZ_CHECK(patch.size() >= 16);
    FUZZ_CHECK(result.target.size() <= drovak::MAX_PATCH_TARGET_SIZE);
    FUZZ_CHECK(drovak::Crc32(result.target) ==
               drovak::LoadLittleEndian32(&patch[patch.size() - 8]));
    FUZZ_CHECK(drovak::Crc32(input.source) ==
               drovak::LoadLittleEndian32(&patch[patch.size() - 12]));
    FUZZ_CHECK(info.problem.Applied() && info.bps && info.bps->targetSize == result.target.size());
    return 0;
}
