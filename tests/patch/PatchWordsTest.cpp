// What a refused patch says, whole: which checksum the patch names and which the bytes give,
// each with all eight digits, and the sizes.
#include "base/Crc32.h"
#include "patch/Bps.h"
#include "patch/Patch.h"
#include "support/TestSupport.h"
#include "words/PatchRefusalWords.h"

namespace drovak::test {
namespace {

PatchResult Refusal(PatchRefusal kind, uint32_t named, uint32_t given, uint64_t size = 0,
                    PatchFault fault = PatchFault::None, uint64_t position = 0) {
    PatchResult result = PatchResult::Refused(kind, position, fault);
    result.expectedCrc = named;
    result.actualCrc = given;
    result.size = size;
    return result;
}

TEST(PatchWords, EveryRefusalNamesWhatWasExpectedAndWhatWasFound) {
    const std::pair<PatchResult, std::string> cases[] = {
        {Refusal(PatchRefusal::None, 1, 2), ""},
        {Refusal(PatchRefusal::NotAPatch, 1, 2),
         "hack.bps is not a patch: it starts with neither \"BPS1\" nor \"PATCH\""},
        {Refusal(PatchRefusal::WrongSource, 0x00C0FFEE, 0x0BADF00D, 3000),
         "hack.bps was made for a ROM with CRC-32 00C0FFEE (3000 bytes); tf3.bin has 0BADF00D"},
        {Refusal(PatchRefusal::Damaged, 0x0000ABCD, 0x00000001),
         "hack.bps is damaged: its own checksum fails (it names 0000ABCD, its bytes give "
         "00000001)"},
        {Refusal(PatchRefusal::Damaged, 5, 5, 0, PatchFault::EndsEarly, 7),
         "hack.bps is damaged: the patch ends early (at byte 7 of the patch)"},
        {Refusal(PatchRefusal::OutOfBounds, 0, 0, 0, PatchFault::CopyPastSource, 12),
         "hack.bps is damaged or hostile: a copy reads past the source's end (at byte 12 of the "
         "patch)"},
        {Refusal(PatchRefusal::TargetTooLarge, 0, 0, MAX_PATCH_TARGET_SIZE + 1),
         "hack.bps would make an image of 67108865 bytes, more than a ROM image may hold "
         "(67108864)"},
        {Refusal(PatchRefusal::TargetMismatch, 0x01234567, 0x089ABCDE),
         "hack.bps did not make the image it was made from: the result has CRC-32 089ABCDE, the "
         "patch names 01234567"},
    };
    for (const auto& [result, words] : cases) {
        EXPECT_EQ(PatchRefusalText(result, "hack.bps", "tf3.bin"), words);
    }
}

// The source's size in the header is checked beside its checksum: a header naming one byte more
// is refused even though the checksum is the source's.
TEST(PatchWords, ASourceOfAnotherSizeIsRefusedThoughItsChecksumIsRight) {
    const Bytes source = Pattern(16), target = Pattern(20, 3);
    Bytes patch = CreateBpsPatch(source, target);
    ASSERT_EQ(patch[4], 0x90); // the source's size, 16, in one byte
    patch[4] = 0x91;
    const uint32_t crc = Crc32(Slice(patch, 0, patch.size() - 4));
    for (int k = 0; k < 4; ++k) patch[patch.size() - 4 + k] = uint8_t(crc >> 8 * k);
    const PatchResult result = ApplyBpsPatch(source, patch);
    EXPECT_EQ(result.refusal, PatchRefusal::WrongSource);
    EXPECT_EQ(PatchRefusalText(result, "a.bps", "b.bin"),
              "a.bps was made for a ROM with CRC-32 " + CrcText(Crc32(source)) +
                  " (17 bytes); b.bin has " + CrcText(Crc32(source)));
}

} // namespace
} // namespace drovak::test
