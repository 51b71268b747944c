#include "rom/RlePage.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "compression/Rle.h"
#include "rom/DataFile.h"
#include "rom/RomFile.h"

namespace drovak {

std::string SuggestedRleFileName(const std::string& romPath, const std::string& offsetText) {
    return FolderPart(romPath) + offsetText + ".bin";
}

RleExtractResult RleExtractAt(Stream& rom, uint32_t offset) {
    rom.Seek(offset, SeekOrigin::Begin);
    MemoryStream data;
    RleExtractResult result;
    result.consumed = RleDecode(rom, data);
    result.data = data.Take();
    return result;
}

RleExtractResult RleExtractAt(const std::string& romPath, uint32_t offset) {
    return RleExtractAt(*OpenRomRead(romPath), offset);
}

namespace {

// The length of the block now at the offset, or nothing when what lies there can't be a block
// (it runs past the end of the file, or announces more than the limit).
std::optional<uint32_t> MeasureBlock(Stream& rom, uint32_t offset) {
    rom.Seek(offset, SeekOrigin::Begin);
    MemoryStream discarded;
    try {
        return uint32_t(RleDecode(rom, discarded));
    } catch (const DrovakError&) {
        return std::nullopt;
    }
}

} // namespace

RleInsertPlan PlanRleInsert(const std::string& romPath, const std::string& inputPath,
                            uint32_t offset) {
    std::vector<uint8_t> input = ReadDataFile(inputPath);

    MemoryStream source(input);
    MemoryStream packed;
    RleEncodeResult encoded = RleEncode(source, packed, uint32_t(input.size()));
    if (encoded.unsupportedRepeatCount) {
        throw UnsupportedRepeatError(*encoded.unsupportedRepeatCount);
    }

    // The block must give back the input, padded to whole words, before it goes anywhere.
    std::vector<uint8_t> expected = input;
    expected.resize((input.size() + 3) / 4 * 4, 0);
    packed.Seek(0, SeekOrigin::Begin);
    MemoryStream decoded;
    int32_t consumed = RleDecode(packed, decoded);
    if (decoded.Data() != expected || consumed != encoded.size) {
        throw RefusedError(inputPath + ": the RLE block made from it does not decode back to it; " +
                           "nothing was written");
    }

    RleInsertPlan plan;
    plan.romPath = romPath;
    plan.offset = offset;
    plan.packed = packed.Take();
    {
        // Read-only: a ROM that is missing is reported, never created.
        auto rom = OpenRomRead(romPath);
        plan.oldBlockSize = MeasureBlock(*rom, offset);
    }
    const uint32_t newSize = uint32_t(plan.packed.size());
    if (!plan.oldBlockSize) {
        plan.needsConfirmation = true;
        plan.bytesBeyondOldBlock = newSize;
    } else if (newSize > *plan.oldBlockSize) {
        plan.needsConfirmation = true;
        plan.bytesBeyondOldBlock = newSize - *plan.oldBlockSize;
    }
    return plan;
}

std::string RleGrowthQuestion(const RleInsertPlan& plan) {
    const std::string at = HexText(plan.offset);
    const std::string size = std::to_string(plan.packed.size());
    if (!plan.oldBlockSize) {
        return "There is no valid RLE block at " + at + "!\r\nThe new block will overwrite the " +
               size + " bytes from there. Do you want to continue?";
    }
    return "New size of the compressed data is greater than previous!\r\nThe new block (" + size +
           " bytes) will overwrite " + std::to_string(plan.bytesBeyondOldBlock) +
           " bytes after the old one at " + at + " (" + std::to_string(*plan.oldBlockSize) +
           " bytes). Do you want to continue?";
}

void ApplyRleInsert(const RleInsertPlan& plan) {
    // The plan found the ROM; if it has gone since, don't create an empty one.
    if (!FileExists(plan.romPath)) {
        throw FileError(plan.romPath + ": cannot open for writing: the file no longer exists");
    }
    auto rom = OpenRomPatch(plan.romPath);
    // The question was asked about the block the plan measured; the file must still hold it.
    if (MeasureBlock(*rom, plan.offset) != plan.oldBlockSize) {
        throw RefusedError(plan.romPath + ": the RLE data at " + HexText(plan.offset) +
                           " changed since it was read; nothing was written");
    }
    rom->Seek(plan.offset, SeekOrigin::Begin);
    rom->Write(plan.packed.data(), plan.packed.size());
    rom->Sync();
}

} // namespace drovak
