#pragma once

#include <cstdint>
#include <vector>

namespace drovak {

// The largest image a patch may make: a ROM image's largest size.
constexpr uint64_t MAX_PATCH_TARGET_SIZE = 64u << 20;

// Why a patch was not applied.
enum class PatchRefusal {
    None,           // applied: `target` holds the new image
    NotAPatch,      // neither "BPS1" nor "PATCH" at the start
    WrongSource,    // made for another image: `expectedCrc` (the patch's) and `actualCrc`
    Damaged,        // the patch's own checksum fails, or it ends early or holds something else
    OutOfBounds,    // an action reads or writes past an end: `position` in the patch
    TargetTooLarge, // the image it would make is `size` bytes, over MAX_PATCH_TARGET_SIZE
    TargetMismatch, // the image made is not the one the patch was made from (CRCs as above)
    AlreadyApplied, // the image is the one the patch makes (`actualCrc`): it would change nothing
};

// What exactly was wrong where a patch was refused (its words are in words/).
enum class PatchFault {
    None,
    NoBpsStart,
    NoIpsStart,
    NoPatchStart,
    EndsEarly,
    ChecksumFails,
    HeaderIntoFooter,
    ActionIntoFooter,
    WritesPastTarget,
    ReadsPastSource,
    LiteralsIntoFooter,
    CopyOutsideSource,
    CopyOutsideTarget,
    CopyPastSource,
    ActionsEndEarly,
    ImageIsTarget,
    MadeForAnother,
    TargetTooLarge,
    ImageNotTarget,
    EndsBeforeEof,
    RecordEndsEarly,
    RunEndsEarly,
    RunOfZero,
    RecordBytesEndEarly,
    AfterEof,
    ImageTooLarge,
    RecordTooLarge,
};

// What applying a patch gave: the new image, or the refusal and its numbers. Nothing is written
// by the functions that return it.
struct PatchResult {
    PatchRefusal refusal = PatchRefusal::None;
    std::vector<uint8_t> target;
    uint32_t expectedCrc = 0;
    uint32_t actualCrc = 0;
    uint64_t position = 0; // where in the patch the fault lies
    uint64_t size = 0;     // the size that was too large, or the source size the patch expects
    PatchFault fault = PatchFault::None; // what was wrong there

    bool Applied() const { return refusal == PatchRefusal::None; }

    // A refusal of the given kind found at `at` in the patch.
    static PatchResult Refused(PatchRefusal kind, uint64_t at, PatchFault fault) {
        PatchResult result;
        result.refusal = kind;
        result.position = at;
        result.fault = fault;
        return result;
    }
};

} // namespace drovak
