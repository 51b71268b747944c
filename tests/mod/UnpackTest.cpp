// What an unpack tells its watcher, and what it can't read: left out, named as the file it
// would have been, and why.
#include "mod/Unpack.h"
#include "base/Errors.h"
#include "demo/DemoRom.h"
#include "mod/Pack.h"
#include "rom/HeaderChecksum.h"
#include "rom/LzhPage.h"
#include "rom/LzhTestRoms.h"
#include "rom/RomLayout.h"
#include "support/HandMadeRom.h"
#include "support/ProgressWatcher.h"
#include "words/ModProblemWords.h"

namespace drovak::test {
namespace {

class ModUnpack : public ScratchTest {};

// A step for each data file, and a cancel heeded before the folder is touched; the demo ROM
// decodes whole.
TEST_F(ModUnpack, StepsEachFileAndACancelWritesNothing) {
    const std::string rom = Write("demo.bin", MakeDemoRom()), folder = File("mod");
    ProgressWatcher cancelling;
    cancelling.cancelAfter = 0;
    EXPECT_THROW(Unpack(rom, folder, POINTER_TABLE_OFFSET, {}, cancelling), CancelledError);
    EXPECT_FALSE(std::filesystem::exists(folder));

    ProgressWatcher progress;
    const UnpackResult result = Unpack(rom, folder, POINTER_TABLE_OFFSET, {}, progress);
    EXPECT_TRUE(result.skipped.empty());
    ASSERT_FALSE(result.manifest.files.empty());
    const size_t files = result.manifest.files.size();
    EXPECT_EQ(std::tuple(progress.done.size(), progress.done.front(), progress.done.back(),
                         progress.total),
              std::tuple(files, 1u, files, files));
}

TEST_F(ModUnpack, WhatDoesNotDecodeIsSkippedByItsName) {
    Bytes image = ThreeEntryRom();
    Put32(image, T + 10 + 24, 0x1000); // entry 2's data runs past the end of the file
    const std::string rom = Write("tf3.bin", image);
    const UnpackResult result = Unpack(rom, File("mod"), T, {});
    // And the two RLE blocks and the ten palettes, far past the end.
    ASSERT_EQ(result.skipped.size(), 13u);
    EXPECT_EQ(result.skipped[0].name + ": " + SkippedText(result.skipped[0]),
              "400_2.bin: data past the end of the file");
    EXPECT_EQ(result.skipped[1].name + ": " + SkippedText(result.skipped[1]),
              "48120.bin: " + rom +
                  ": too short: 4 bytes needed at 0x48120, the data ends at 0x766");
    EXPECT_EQ(result.manifest.files.size(), 2u);
}

// An entry whose data lies on a right header checksum's bytes packs as it is: no checksum is
// stored over it, even when a block changes after it.
TEST_F(ModUnpack, DataOnTheHeaderChecksumIsPackedAsItIs) {
    Bytes image = ThreeEntryRom(0x100);
    image.resize(0x50000);
    Put(image, 0x48120, handmade::Packed(Pattern(64), true));
    StoreChecksum(image);
    const std::string folder = File("mod");
    Unpack(Write("header.bin", image), folder, 0x100, {});
    WriteBytes(folder + "/100_0.bin", InputPackingTo(0x100));
    WriteBytes(folder + "/48120.bin", Pattern(64, 3));
    const PackPlan plan = PlanPack(folder, std::nullopt);
    EXPECT_EQ(LzhExtractEntry(Image(plan.image), 0x100, 0).data, InputPackingTo(0x100));
}

} // namespace
} // namespace drovak::test
