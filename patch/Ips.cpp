#include "patch/Ips.h"

#include "base/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace drovak {

namespace {

constexpr uint8_t MAGIC[5] = {'P', 'A', 'T', 'C', 'H'};
constexpr uint32_t END_MARK = 0x454F46; // "EOF" read where an offset would be

uint32_t Load24(const uint8_t* p) {
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

} // namespace

bool LooksLikeIps(std::span<const uint8_t> patch) {
    return patch.size() >= sizeof MAGIC && std::memcmp(patch.data(), MAGIC, sizeof MAGIC) == 0;
}

PatchResult ApplyIpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch) {
    if (!LooksLikeIps(patch))
        return PatchResult::Refused(PatchRefusal::NotAPatch, 0, "no \"PATCH\" at the start");
    if (source.size() > MAX_PATCH_TARGET_SIZE) {
        PatchResult large =
            PatchResult::Refused(PatchRefusal::TargetTooLarge, 0, "the image is too large");
        large.size = source.size();
        return large;
    }
    PatchResult result;
    std::vector<uint8_t>& target = result.target;
    target.assign(source.begin(), source.end());
    size_t at = sizeof MAGIC;
    const size_t size = patch.size();
    for (;;) {
        if (size - at < 3)
            return PatchResult::Refused(PatchRefusal::Damaged, at, "the patch ends before \"EOF\"");
        const uint32_t offset = Load24(&patch[at]);
        if (offset == END_MARK) break;
        const size_t recordAt = at;
        if (size - at < 5)
            return PatchResult::Refused(PatchRefusal::Damaged, at, "a record ends early");
        const uint32_t length = LoadBigEndian16(&patch[at + 3]);
        at += 5;
        uint32_t count = length;
        bool run = false;
        if (length == 0) { // a run: count, then the byte
            if (size - at < 3)
                return PatchResult::Refused(PatchRefusal::Damaged, recordAt, "a run ends early");
            count = LoadBigEndian16(&patch[at]);
            run = true;
        } else if (size - at < length) {
            return PatchResult::Refused(PatchRefusal::Damaged, recordAt,
                                        "a record's bytes end early");
        }
        // At most 16 MiB + 64 KiB: within the limit, but the limit is kept should it shrink.
        if (uint64_t(offset) + count > MAX_PATCH_TARGET_SIZE) {
            PatchResult large =
                PatchResult::Refused(PatchRefusal::TargetTooLarge, recordAt, "too large");
            large.size = uint64_t(offset) + count;
            return large;
        }
        // An empty run writes nothing, and so grows nothing.
        if (count > 0 && target.size() < offset + count) target.resize(offset + count, 0);
        if (run) {
            // An empty run may name an offset past the image's end: nothing is touched there.
            if (count > 0) std::fill_n(target.begin() + offset, count, patch[at + 2]);
            at += 3;
        } else {
            std::memcpy(&target[offset], &patch[at], length);
            at += length;
        }
    }
    at += 3;
    if (size - at == 3) {
        target.resize(Load24(&patch[at]), 0);
    } else if (size != at) {
        return PatchResult::Refused(PatchRefusal::Damaged, at,
                                    "something other than a size follows \"EOF\"");
    }
    return result;
}

} // namespace drovak
