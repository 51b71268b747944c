#include "patch/PatchInfo.h"

#include "base/ByteOrder.h"
#include "base/Crc32.h"
#include "patch/Bps.h"
#include "patch/BpsNumbers.h"
#include "patch/Ips.h"

namespace drovak {

namespace {

constexpr size_t BPS_FOOTER = 12;

PatchResult Damaged(uint64_t at, PatchFault fault) {
    return PatchResult::Refused(PatchRefusal::Damaged, at, fault);
}

// The header, then the actions: their lengths must fill the target, their bytes the patch.
PatchResult ReadBps(std::span<const uint8_t> patch, BpsInfo& info) {
    if (patch.size() < 4 + 3 + BPS_FOOTER) return Damaged(patch.size(), PatchFault::EndsEarly);
    const size_t end = patch.size() - BPS_FOOTER;
    info.sourceCrc = LoadLittleEndian32(&patch[end]);
    info.targetCrc = LoadLittleEndian32(&patch[end + 4]);
    size_t at = 4;
    const auto source = bps::ReadNumber(patch, at, end);
    const auto target = source ? bps::ReadNumber(patch, at, end) : std::nullopt;
    const auto metadata = target ? bps::ReadNumber(patch, at, end) : std::nullopt;
    if (!metadata || *metadata > end - at) return Damaged(at, PatchFault::HeaderIntoFooter);
    info.sourceSize = *source;
    info.targetSize = *target;
    info.metadata.assign(patch.begin() + long(at), patch.begin() + long(at + *metadata));
    at += *metadata;
    const uint32_t stored = LoadLittleEndian32(&patch[end + 8]);
    const uint32_t actual = Crc32(patch.first(patch.size() - 4));
    if (stored != actual) {
        PatchResult damaged = Damaged(end + 8, PatchFault::ChecksumFails);
        damaged.expectedCrc = stored;
        damaged.actualCrc = actual;
        return damaged;
    }
    uint64_t out = 0;
    while (at < end) {
        const size_t actionAt = at;
        const auto word = bps::ReadNumber(patch, at, end);
        if (!word) return Damaged(actionAt, PatchFault::ActionIntoFooter);
        const uint64_t length = (*word >> 2) + 1;
        if (length > info.targetSize - out) {
            return PatchResult::Refused(PatchRefusal::OutOfBounds, actionAt,
                                        PatchFault::WritesPastTarget);
        }
        out += length;
        switch (*word & 3) {
        case 0:
            ++info.sourceReads;
            break;
        case 1:
            ++info.targetReads;
            if (length > end - at) return Damaged(actionAt, PatchFault::LiteralsIntoFooter);
            at += length;
            break;
        default:
            ++((*word & 3) == 2 ? info.sourceCopies : info.targetCopies);
            if (!bps::ReadNumber(patch, at, end))
                return Damaged(actionAt, PatchFault::ActionIntoFooter);
        }
    }
    if (out != info.targetSize) return Damaged(end, PatchFault::ActionsEndEarly);
    return {};
}

} // namespace

PatchInfo DescribePatch(std::span<const uint8_t> patch) {
    PatchInfo info;
    info.format = DetectPatchFormat(patch);
    if (info.format == PatchFormat::Bps) {
        info.bps.emplace();
        info.problem = ReadBps(patch, *info.bps);
        // A patch whose own checksum fails tells nothing that can be trusted.
        if (info.problem.expectedCrc != info.problem.actualCrc) info.bps.reset();
    } else if (info.format == PatchFormat::Ips) {
        IpsContents contents;
        info.problem = ReadIpsPatch(patch, contents);
        IpsInfo& ips = info.ips.emplace();
        ips.truncation = contents.truncation;
        for (const IpsRecord& record : contents.records) {
            ++ips.records;
            ips.runs += record.run ? 1 : 0;
            ips.bytesWritten += record.length;
        }
    } else {
        info.problem = PatchResult::Refused(PatchRefusal::NotAPatch, 0, PatchFault::NoPatchStart);
    }
    return info;
}

} // namespace drovak
