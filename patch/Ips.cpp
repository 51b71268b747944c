#include "patch/Ips.h"

#include "base/ByteOrder.h"

#include <algorithm>
#include <cstring>

namespace drovak {

namespace {

constexpr uint8_t MAGIC[5] = {'P', 'A', 'T', 'C', 'H'};

uint32_t Load24(const uint8_t* p) {
    return (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
}

} // namespace

bool LooksLikeIps(std::span<const uint8_t> patch) {
    return patch.size() >= sizeof MAGIC && std::memcmp(patch.data(), MAGIC, sizeof MAGIC) == 0;
}

PatchResult ReadIpsPatch(std::span<const uint8_t> patch, IpsContents& contents) {
    if (!LooksLikeIps(patch))
        return PatchResult::Refused(PatchRefusal::NotAPatch, 0, PatchFault::NoIpsStart);
    size_t at = sizeof MAGIC;
    const size_t size = patch.size();
    for (;;) {
        if (size - at < 3)
            return PatchResult::Refused(PatchRefusal::Damaged, at, PatchFault::EndsBeforeEof);
        IpsRecord record;
        record.recordAt = at;
        record.offset = Load24(&patch[at]);
        if (record.offset == IPS_END_MARK) break;
        if (size - at < 5)
            return PatchResult::Refused(PatchRefusal::Damaged, at, PatchFault::RecordEndsEarly);
        record.length = LoadBigEndian16(&patch[at + 3]);
        at += 5;
        if (record.length == 0) { // a run: count, then the byte
            if (size - at < 3)
                return PatchResult::Refused(PatchRefusal::Damaged, record.recordAt,
                                            PatchFault::RunEndsEarly);
            record.length = LoadBigEndian16(&patch[at]);
            if (record.length == 0) {
                return PatchResult::Refused(PatchRefusal::Damaged, record.recordAt,
                                            PatchFault::RunOfZero);
            }
            record.run = true;
            record.dataAt = at + 2;
            at += 3;
        } else if (size - at < record.length) {
            return PatchResult::Refused(PatchRefusal::Damaged, record.recordAt,
                                        PatchFault::RecordBytesEndEarly);
        } else {
            record.dataAt = at;
            at += record.length;
        }
        contents.records.push_back(record);
    }
    at += 3;
    if (size - at == 3) {
        contents.truncation = Load24(&patch[at]);
    } else if (size != at) {
        return PatchResult::Refused(PatchRefusal::Damaged, at, PatchFault::AfterEof);
    }
    return {};
}

PatchResult ApplyIpsPatch(std::span<const uint8_t> source, std::span<const uint8_t> patch) {
    IpsContents contents;
    PatchResult result = ReadIpsPatch(patch, contents);
    if (!result.Applied()) return result;
    if (source.size() > MAX_PATCH_TARGET_SIZE) {
        PatchResult large =
            PatchResult::Refused(PatchRefusal::TargetTooLarge, 0, PatchFault::ImageTooLarge);
        large.size = source.size();
        return large;
    }
    std::vector<uint8_t>& target = result.target;
    target.assign(source.begin(), source.end());
    for (const IpsRecord& record : contents.records) {
        // At most 16 MiB + 64 KiB: within the limit, but the limit is kept should it shrink.
        const uint64_t end = uint64_t(record.offset) + record.length;
        if (end > MAX_PATCH_TARGET_SIZE) {
            PatchResult large = PatchResult::Refused(PatchRefusal::TargetTooLarge, record.recordAt,
                                                     PatchFault::RecordTooLarge);
            large.size = end;
            return large;
        }
        if (target.size() < end) target.resize(end, 0);
        if (record.run) {
            std::fill_n(target.begin() + record.offset, record.length, patch[record.dataAt]);
        } else {
            std::memcpy(&target[record.offset], &patch[record.dataAt], record.length);
        }
    }
    if (contents.truncation && *contents.truncation < target.size())
        target.resize(*contents.truncation);
    return result;
}

} // namespace drovak
