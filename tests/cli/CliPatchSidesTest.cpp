// patch-apply in place gives exactly the patch's target, a wrong header checksum included (the
// checksum is the patch's business); patch-create refuses MODIFIED as PATCH, as it does ORIGINAL.
#include "CliRunner.h"

namespace drovak::test {
namespace {

class CliPatchSides : public CliTest {};

TEST_F(CliPatchSides, InPlaceGivesTheTargetAndNoImageBecomesThePatch) {
    ASSERT_EQ(Run({"make-demo-rom", "clean.bin"}).exitCode, 0);
    Bytes target = ReadBytes(File("clean.bin"));
    target[0x300] ^= 0xFF; // the stored checksum no longer fits
    WriteBytes(File("modded.bin"), target);
    ASSERT_EQ(Run({"patch-create", "clean.bin", "modded.bin", "p.bps"}).exitCode, 0);
    const CliResult refused =
        Run({"patch-create", "clean.bin", "modded.bin", "modded.bin", "--yes"});
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_EQ(refused.err, "drovak-cli: modded.bin: is the ROM image modded.bin itself; a patch "
                           "is never written over its images; nothing was written\n");
    EXPECT_EQ(ReadBytes(File("modded.bin")), target);
    const CliResult applied = Run({"patch-apply", "clean.bin", "p.bps", "clean.bin"});
    EXPECT_EQ(applied.exitCode, 0) << applied.err;
    EXPECT_EQ(ReadBytes(File("clean.bin")), target);
}

} // namespace
} // namespace drovak::test
