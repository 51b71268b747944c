// A BPS patch's metadata: any text between its header's sizes and its actions, which most
// patchers show.
#include "base/Crc32.h"
#include "patch/Bps.h"
#include "patch/BpsNumbers.h"
#include "patch/PatchProblem.h"

namespace drovak {

std::vector<uint8_t> WithBpsMetadata(std::span<const uint8_t> patch, std::string_view metadata) {
    const size_t footer = 12;
    if (!LooksLikeBps(patch) || patch.size() < 4 + 3 + footer)
        ThrowPatchProblem(PatchProblemKind::MetadataNotBps);
    const size_t end = patch.size() - footer;
    size_t at = 4;
    const auto source = bps::ReadNumber(patch, at, end);
    const auto target = source ? bps::ReadNumber(patch, at, end) : std::nullopt;
    const auto old = target ? bps::ReadNumber(patch, at, end) : std::nullopt;
    if (!old || *old > end - at) ThrowPatchProblem(PatchProblemKind::MetadataDamagedBps);
    std::vector<uint8_t> out = {'B', 'P', 'S', '1'};
    bps::PutNumber(out, *source);
    bps::PutNumber(out, *target);
    bps::PutNumber(out, metadata.size());
    out.insert(out.end(), metadata.begin(), metadata.end());
    // The actions and the images' CRC-32s as they were; the patch's own is made anew.
    out.insert(out.end(), patch.begin() + long(at + *old), patch.end() - 4);
    const uint32_t crc = Crc32(out);
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(crc >> shift));
    return out;
}

} // namespace drovak
