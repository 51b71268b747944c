// The RLE page's compress over a ROM image in memory: a small image with an RLE block at an
// offset (perhaps a header with a right checksum), changed in a few places as the fuzzer says,
// and the fuzzer's remaining bytes compressed into a block there. The plan refuses, or its new
// image holds a block at the offset that decodes to the input (padded to whole words), takes as
// many bytes as planned, a right checksum stays right (unless the block lies on it), and nothing
// changed outside the new block and the checksum; no question means the new block fits where the
// old one was.
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "compression/Rle.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzRom.h"
#include "rom/HeaderChecksum.h"
#include "rom/RlePage.h"
#include "rom/RomLayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<uint8_t> image = drovak::fuzz::Content(
        in.ConsumeIntegralInRange<size_t>(0x100, 0x500), in.ConsumeIntegral<uint8_t>(), 7);
    const uint32_t offset = in.ConsumeIntegralInRange<uint32_t>(0, uint32_t(image.size()) + 8);
    {
        const std::vector<uint8_t> content = drovak::fuzz::Content(
            in.ConsumeIntegralInRange<size_t>(0, 300), in.ConsumeIntegral<uint8_t>(), 3);
        const std::vector<uint8_t> packed = drovak::RleEncode(content).bytes;
        if (offset < image.size()) {
            image.resize(std::max<size_t>(image.size(), offset + packed.size()));
            std::copy(packed.begin(), packed.end(), image.begin() + offset);
        }
    }
    if (in.ConsumeBool()) drovak::StoreChecksum(image);
    drovak::fuzz::Mutate(in, image, {offset});
    const std::vector<uint8_t> input = in.ConsumeRemainingBytes<uint8_t>();
    const drovak::RomBytes rom{"rom", image};

    drovak::RleInsertPlan plan;
    try {
        plan = drovak::PlanRleInsert(rom, input, offset);
    } catch (const drovak::DrovakError&) {
        return 0; // refused: nothing is written
    }
    std::vector<uint8_t> after = drovak::ApplyRleInsert(plan, rom);
    drovak::KeepChecksum(rom.bytes, after, plan.dataOnChecksum);
    // A right checksum stays right, unless the new block lies on it and keeps its data there.
    const bool checksumKept =
        drovak::CheckChecksum(rom.bytes) == drovak::ChecksumState::Right && !plan.dataOnChecksum;

    FUZZ_CHECK(after.size() == plan.newFileSize);
    FUZZ_CHECK(after.size() == std::max<uint64_t>(rom.bytes.size(), offset + plan.packed.size()));
    if (!plan.needsConfirmation) {
        FUZZ_CHECK(plan.oldBlockSize && plan.packed.size() <= *plan.oldBlockSize);
        FUZZ_CHECK(after.size() == rom.bytes.size());
    }
    if (checksumKept) FUZZ_CHECK(drovak::CheckChecksum(after) == drovak::ChecksumState::Right);

    std::vector<uint8_t> padded = input;
    padded.resize((input.size() + 3) / 4 * 4, 0);
    const drovak::RleExtractResult block =
        drovak::RleExtractAt(drovak::RomBytes{"after", after}, offset);
    FUZZ_CHECK(block.data == padded);
    FUZZ_CHECK(uint64_t(block.consumed) == plan.packed.size());

    drovak::fuzz::Ranges planned;
    planned.Add(offset, plan.packed.size());
    if (checksumKept) planned.Add(drovak::HEADER_CHECKSUM_OFFSET, 2);
    FUZZ_CHECK(planned.OnlyTheseChanged(rom.bytes, after));
    return 0;
}
