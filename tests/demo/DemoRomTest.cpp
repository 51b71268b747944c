#include "demo/DemoRom.h"

#include "compression/Lzh.h"
#include "rom/PointerTable.h"
#include "support/TestSupport.h"

namespace drovak {
namespace {

using namespace test;

TEST(DemoRom, LevelEntriesDecodeWithinTheirPackedSize) {
    const Bytes rom = MakeDemoRom();
    MemoryStream stream(rom);
    ASSERT_EQ(EntryCount(stream, 0x20000), 32u);
    for (uint32_t index = 0; index < 32; ++index) {
        const TableEntry entry = ReadTableEntry(stream, 0x20000, index);
        const auto start = rom.begin() + 0x20000 + entry.DataOffset;
        const Bytes decoded =
            LzhDecode(Bytes(start, start + entry.PackedSize), entry.DecodedSize).bytes;
        EXPECT_EQ(entry.DecodedSize, index / 8 == 1   ? 528 * 32
                                     : index / 8 == 2 ? 0x7000
                                                      : 57344)
            << index;
        EXPECT_GE(decoded.size(), entry.DecodedSize) << index;
    }
}

} // namespace
} // namespace drovak
