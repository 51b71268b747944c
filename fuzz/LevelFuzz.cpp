// Level decoding and assembly on a changed demo ROM: the level's table entries, their data and
// its palette are changed in a few places as the fuzzer says. The level is refused, or every
// picture is 512 x 512, the frame buffer holds it, and each pixel is black or a colour of the
// level palette's lines 0 and 1 (ASan checks every read of the decoded data).
#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/Stream.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzRom.h"
#include "fuzz/PictureColours.h"
#include "graphics/Level.h"
#include "rom/PointerTable.h"
#include "rom/RomLayout.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr uint32_t MAX_FUZZ_DECODED_SIZE = 0x20000; // larger entries are skipped: runs stay fast

bool SmallEnough(const std::vector<uint8_t>& image, uint32_t entry) {
    drovak::ViewStream stream(image, "rom");
    try {
        return drovak::ReadTableEntry(stream, drovak::POINTER_TABLE_OFFSET, entry).DecodedSize <=
               MAX_FUZZ_DECODED_SIZE;
    } catch (const drovak::DrovakError&) {
        return true;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const unsigned level = in.ConsumeIntegralInRange<unsigned>(0, drovak::LEVEL_COUNT);
    const bool planeB = in.ConsumeBool();
    const unsigned column = in.ConsumeIntegralInRange<unsigned>(0, 1023);

    static std::vector<uint8_t> image; // reused: no new pages for each run
    image.assign(drovak::fuzz::DemoRom().begin(), drovak::fuzz::DemoRom().end());
    const uint32_t entries[] = {drovak::TileArtEntry(level % 8), drovak::BlockDataEntry(level % 8)};
    std::vector<size_t> fields;
    std::vector<drovak::fuzz::Region> regions{
        {drovak::LevelPaletteOffset(level % 8),
         drovak::LevelPaletteOffset(level % 8) + drovak::PALETTE_SIZE}};
    for (uint32_t entry : entries) {
        const size_t at = drovak::EntryPosition(drovak::POINTER_TABLE_OFFSET, entry);
        for (size_t f = 0; f < 3; ++f) fields.push_back(at + 4 * f);
        const size_t dataAt = drovak::POINTER_TABLE_OFFSET + drovak::LoadBigEndian32(&image[at]);
        regions.push_back({dataAt, dataAt + drovak::LoadBigEndian32(&image[at + 8])});
    }
    drovak::fuzz::Mutate(in, image, fields, regions);
    for (uint32_t entry : entries)
        if (!SmallEnough(image, entry)) return 0;

    drovak::LevelData levelData;
    try {
        levelData = drovak::DecodeLevel(image, "rom", level);
    } catch (const drovak::DrovakError&) {
        return 0; // refused with a message
    }

    const drovak::PreviewImage picture = drovak::AssembleLevel(levelData, planeB, column);
    FUZZ_CHECK(picture.Width == 512 && picture.Height == 512);
    FUZZ_CHECK(picture.Pixels.size() == size_t(512) * 512);
    FUZZ_CHECK(drovak::fuzz::AllColoursOf(picture.Pixels, levelData.palette.begin(),
                                          levelData.palette.begin() + 32));

    // Plane B fills the upper half of the name table only.
    const std::vector<uint8_t> names = drovak::BuildLevelNameTable(levelData, planeB, column);
    FUZZ_CHECK(names.size() == 64 * 64 * 2);
    if (planeB)
        FUZZ_CHECK(std::all_of(names.begin() + 64 * 32 * 2, names.end(),
                               [](uint8_t b) { return b == 0; }));
    return 0;
}
