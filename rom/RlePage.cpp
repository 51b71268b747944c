#include "rom/RlePage.h"
#include "rom/HeaderChecksum.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Rle.h"
#include "rom/DataFile.h"
#include "rom/RomProblem.h"

namespace drovak {

std::string SuggestedRleFileName(const std::string& romPath, const std::string& offsetText) {
    return FolderPart(romPath) + offsetText + ".bin";
}

namespace {

RleExtractResult ExtractAt(std::span<const uint8_t> rom, const std::string& name, uint32_t offset) {
    RleDecodeResult decoded = RleDecode(rom, offset, name);
    RleExtractResult result;
    result.consumed = int32_t(decoded.consumed);
    result.data = std::move(decoded.bytes);
    return result;
}

} // namespace

RleExtractResult RleExtractAt(Stream& rom, uint32_t offset) {
    return ExtractAt(ReadRest(rom, 0), rom.Name(), offset);
}

RleExtractResult RleExtractAt(const RomBytes& rom, uint32_t offset) {
    return ExtractAt(rom.bytes, rom.name, offset);
}

RleExtractResult RleExtractAt(const std::string& romPath, uint32_t offset) {
    return RleExtractAt(*OpenRomRead(romPath), offset);
}

namespace {

// The block now at the offset, or nothing when what lies there can't be a block (it runs past
// the end of the file, or announces more than the limit).
std::optional<RleDecodeResult> DecodeBlock(const RomBytes& rom, uint32_t offset) {
    try {
        return RleDecode(rom.bytes, offset, rom.name);
    } catch (const DrovakError&) {
        return std::nullopt;
    }
}

std::optional<uint32_t> MeasureBlock(const RomBytes& rom, uint32_t offset) {
    const std::optional<RleDecodeResult> block = DecodeBlock(rom, offset);
    if (!block) return std::nullopt;
    return block->consumed;
}

} // namespace

std::optional<uint64_t> RleBlockDataSize(const RomBytes& rom, uint32_t offset) {
    const std::optional<RleDecodeResult> block = DecodeBlock(rom, offset);
    if (!block) return std::nullopt;
    return block->bytes.size();
}

RleInsertPlan PlanRleInsert(const RomBytes& rom, const std::vector<uint8_t>& input,
                            uint32_t offset) {
    if (offset >= rom.bytes.size()) {
        RomProblem problem{RomProblemKind::RleOffsetPastEnd, rom.name};
        problem.at = offset;
        problem.fileSize = rom.bytes.size();
        ThrowRomProblem(problem);
    }
    CheckDataSize(rom.name, input.size());
    RleEncodeResult encoded = RleEncode(input);
    if (encoded.unsupportedRepeatCount) {
        throw UnsupportedRepeatError(*encoded.unsupportedRepeatCount);
    }

    // The block must give back the input, padded to whole words, before it goes anywhere.
    std::vector<uint8_t> expected = input;
    expected.resize((input.size() + 3) / 4 * 4, 0);
    const RleDecodeResult decoded = RleDecode(encoded.bytes, 0);
    if (decoded.bytes != expected || decoded.consumed != encoded.bytes.size()) {
        ThrowRomProblem({RomProblemKind::RleNotDecodedBack, rom.name});
    }

    RleInsertPlan plan;
    plan.offset = offset;
    plan.packed = std::move(encoded.bytes);
    plan.emptyInput = input.empty();
    plan.fileSize = rom.bytes.size();
    plan.newFileSize = std::max<uint64_t>(plan.fileSize, uint64_t(offset) + plan.packed.size());
    CheckRomSize(rom.name, plan.newFileSize);
    plan.dataOnChecksum = CoversChecksum(offset, plan.packed.size());
    plan.oldBlockSize = MeasureBlock(rom, offset);
    const uint32_t newSize = uint32_t(plan.packed.size());
    if (!plan.oldBlockSize) {
        plan.needsConfirmation = true;
        plan.bytesBeyondOldBlock = newSize;
    } else if (newSize > *plan.oldBlockSize) {
        plan.needsConfirmation = true;
        plan.bytesBeyondOldBlock = newSize - *plan.oldBlockSize;
    }
    const uint64_t end = std::min<uint64_t>(plan.fileSize, uint64_t(offset) + newSize);
    for (uint64_t at = uint64_t(offset) + newSize - plan.bytesBeyondOldBlock; at < end; ++at) {
        if (rom.bytes[at] != 0x00 && rom.bytes[at] != 0xFF) ++plan.beyondNotBlank;
    }
    return plan;
}

RleInsertPlan PlanRleInsert(const std::string& romPath, const std::string& inputPath,
                            uint32_t offset) {
    const std::vector<uint8_t> input = ReadDataFile(inputPath);
    return PlanRleInsert(ReadRom(romPath), input, offset);
}

std::vector<uint8_t> ApplyRleInsert(const RleInsertPlan& plan, const RomBytes& rom) {
    // The question was asked about the block the plan measured; the file must still hold it.
    if (rom.bytes.size() != plan.fileSize || MeasureBlock(rom, plan.offset) != plan.oldBlockSize) {
        RomProblem problem{RomProblemKind::RleBlockChanged, rom.name};
        problem.at = plan.offset;
        ThrowRomProblem(problem);
    }
    std::vector<uint8_t> image = rom.bytes;
    image.resize(size_t(plan.newFileSize), 0);
    std::copy(plan.packed.begin(), plan.packed.end(), image.begin() + plan.offset);
    return image;
}

RomChange ApplyRleInsert(const RleInsertPlan& plan, const std::string& romPath) {
    return ChangeRom(
        romPath, [&plan](const RomBytes& rom) { return ApplyRleInsert(plan, rom); },
        plan.dataOnChecksum);
}

} // namespace drovak
