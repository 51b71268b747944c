#pragma once

// Why a patch was not made, or its metadata not set, as data: the kind and the size involved.
// The words for the user are in words/ (PatchProblemText); nothing was written when one is
// thrown.

#include "base/Errors.h"

#include <cstdint>
#include <exception>

namespace drovak {

enum class PatchProblemKind {
    // RefusedError kinds:
    OriginalTooLarge,   // the original image's `size` bytes, over MAX_PATCH_TARGET_SIZE
    ModifiedTooLarge,   // the modified image's `size` bytes, over MAX_PATCH_TARGET_SIZE
    BeyondIpsReach,     // the modified image's `size` bytes, more than IPS offsets reach
    IpsCannotCutTo,     // the modified image shrinks to `size` bytes, which IPS can't write
    MetadataNotBps,     // metadata for bytes that are no BPS patch
    MetadataDamagedBps, // metadata for a BPS patch whose header is damaged
    // DrovakError kind (a library failed):
    SuffixArrayFailed, // no suffix array of `size` bytes
};

struct PatchProblem {
    PatchProblemKind kind = PatchProblemKind::OriginalTooLarge;
    uint64_t size = 0;
};

using PatchProblemCarrier = ProblemCarrier<PatchProblem>;

// what() names only the kind's number: it is not for the user.
class PatchMakingRefusal : public RefusedError, public PatchProblemCarrier {
public:
    explicit PatchMakingRefusal(PatchProblem problem);
};

class PatchMakingFailure : public DrovakError, public PatchProblemCarrier {
public:
    explicit PatchMakingFailure(PatchProblem problem);
};

// Throws PatchMakingRefusal or PatchMakingFailure, as the kind is.
[[noreturn]] void ThrowPatchProblem(PatchProblemKind kind, uint64_t size = 0);

// The problem an exception carries, or nothing.
const PatchProblem* PatchProblemOf(const std::exception& error);

} // namespace drovak
