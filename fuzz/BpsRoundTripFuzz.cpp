// CreateBpsPatch on an original and a modified image built from it by the fuzzer: pieces of the
// original (moved), literal bytes, repeats of what was built, runs. Properties: the patch
// applies to exactly the modified image; it is refused by the original with a byte changed (a
// wrong base); it is never much larger than carrying the modified image literally.
#include "fuzz/FuzzCheck.h"
#include "fuzz/PatchInput.h"
#include "patch/Bps.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// The modified image: steps of a kind byte and its operands, until the input or 16 KiB ends.
std::vector<uint8_t> Modified(const std::vector<uint8_t>& original,
                              const std::vector<uint8_t>& steps) {
    std::vector<uint8_t> out;
    for (size_t at = 0; at + 4 <= steps.size() && out.size() < 0x4000;) {
        const uint8_t kind = steps[at] % 4;
        const size_t a = size_t(steps[at + 1]) << 8 | steps[at + 2], n = steps[at + 3] + 1u;
        at += 4;
        switch (kind) {
        case 0: // a piece of the original, from anywhere
            if (!original.empty()) {
                const size_t from = a % original.size();
                const size_t length = std::min(n * 8, original.size() - from);
                out.insert(out.end(), original.begin() + long(from),
                           original.begin() + long(from + length));
            }
            break;
        case 1: { // literal bytes from the input
            const size_t length = std::min(n % 32, steps.size() - at);
            out.insert(out.end(), steps.begin() + long(at), steps.begin() + long(at + length));
            at += length;
            break;
        }
        case 2: // a repeat of what is built, overlapping when close
            if (!out.empty()) {
                const size_t from = out.size() - 1 - a % out.size();
                for (size_t i = 0; i < n * 4; ++i) {
                    const uint8_t byte = out[from + i];
                    out.push_back(byte);
                }
            }
            break;
        default: // a run
            out.insert(out.end(), n * 16, uint8_t(a));
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const drovak::fuzz::PatchInput input = drovak::fuzz::SplitPatchInput(data, size);
    const std::vector<uint8_t> modified = Modified(input.source, input.rest);
    const std::vector<uint8_t> patch = drovak::CreateBpsPatch(input.source, modified);
    FUZZ_CHECK(patch.size() <= modified.size() + modified.size() / 16 + 40);

    const drovak::PatchResult result = drovak::ApplyBpsPatch(input.source, patch);
    FUZZ_CHECK(result.Applied());
    FUZZ_CHECK(result.target == modified);

    if (!input.source.empty()) {
        std::vector<uint8_t> other = input.source;
        other[other.size() / 2] ^= 0x01;
        // Another image is refused, unless it is the one the patch makes.
        FUZZ_CHECK(drovak::ApplyBpsPatch(other, patch).refusal ==
                   (other == modified ? drovak::PatchRefusal::AlreadyApplied
                                      : drovak::PatchRefusal::WrongSource));
    }
    return 0;
}
