// What an unpack tells its watcher: a step for each data file, and a cancel heeded before the
// folder is touched.
#include "base/Errors.h"
#include "demo/DemoRom.h"
#include "mod/Unpack.h"
#include "rom/RomLayout.h"
#include "support/ProgressWatcher.h"
#include "support/TestSupport.h"

namespace drovak::test {
namespace {

TEST(ModUnpackProgress, StepsEachFileAndACancelWritesNothing) {
    TempDir dir;
    const std::string rom = dir.File("demo.bin"), folder = dir.File("mod");
    WriteBytes(rom, MakeDemoRom());
    ProgressWatcher cancelling;
    cancelling.cancelAfter = 0;
    EXPECT_THROW(Unpack(rom, folder, POINTER_TABLE_OFFSET, {}, cancelling), CancelledError);
    EXPECT_FALSE(std::filesystem::exists(folder));

    ProgressWatcher progress;
    const UnpackResult result = Unpack(rom, folder, POINTER_TABLE_OFFSET, {}, progress);
    ASSERT_FALSE(result.manifest.files.empty());
    EXPECT_EQ(progress.done.size(), result.manifest.files.size());
    EXPECT_EQ(progress.done.back(), result.manifest.files.size());
    EXPECT_EQ(progress.total, result.manifest.files.size());
}

} // namespace
} // namespace drovak::test
