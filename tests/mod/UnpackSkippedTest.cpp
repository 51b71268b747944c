// What an unpack can't read is left out, named as the file it would have been, and why.
#include "mod/Unpack.h"
#include "rom/LzhTestRoms.h"
#include "support/TestSupport.h"
#include "words/ModProblemWords.h"

namespace drovak::test {
namespace {

class ModUnpack : public ScratchTest {};

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

} // namespace
} // namespace drovak::test
