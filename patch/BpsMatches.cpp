#include "patch/BpsMatches.h"

#include "patch/PatchProblem.h"

#include <divsufsort.h>

namespace drovak::bps {

MatchCandidates FindMatchCandidates(std::span<const uint8_t> original,
                                    std::span<const uint8_t> modified) {
    const int32_t sourceSize = int32_t(original.size());
    const int32_t size = int32_t(original.size() + modified.size());
    MatchCandidates found;
    for (auto* list :
         {&found.sourceBelow, &found.sourceAbove, &found.earlierBelow, &found.earlierAbove}) {
        list->assign(modified.size(), -1);
    }
    if (modified.empty()) return found;

    std::vector<uint8_t> whole(original.begin(), original.end());
    whole.insert(whole.end(), modified.begin(), modified.end());
    std::vector<int32_t> sorted(size_t(size), 0);
    if (divsufsort(whole.data(), sorted.data(), size) != 0) {
        ThrowPatchProblem(PatchProblemKind::SuffixArrayFailed, uint64_t(size));
    }
    whole.clear();
    whole.shrink_to_fit();

    // The nearest suffixes of the original on either side, in one pass each way.
    int32_t last = -1;
    for (int32_t rank = 0; rank < size; ++rank) {
        const int32_t at = sorted[size_t(rank)];
        if (at < sourceSize) {
            last = at;
        } else {
            found.sourceBelow[size_t(at - sourceSize)] = last;
        }
    }
    last = -1;
    for (int32_t rank = size - 1; rank >= 0; --rank) {
        const int32_t at = sorted[size_t(rank)];
        if (at < sourceSize) {
            last = at;
        } else {
            found.sourceAbove[size_t(at - sourceSize)] = last;
        }
    }

    // The nearest suffixes that start earlier, on either side: a stack of positions that
    // rise from bottom to top. A suffix pops those that start later than it (it is the nearest
    // earlier one above them); the one left on top is its nearest earlier one below.
    std::vector<int32_t> stack;
    stack.reserve(4096);
    for (int32_t rank = 0; rank < size; ++rank) {
        const int32_t at = sorted[size_t(rank)];
        while (!stack.empty() && stack.back() > at) {
            if (stack.back() >= sourceSize)
                found.earlierAbove[size_t(stack.back() - sourceSize)] = at;
            stack.pop_back();
        }
        if (at >= sourceSize && !stack.empty()) {
            found.earlierBelow[size_t(at - sourceSize)] = stack.back();
        }
        stack.push_back(at);
    }
    return found;
}

} // namespace drovak::bps
