#pragma once

// Why a codec stopped, as data: what kind of problem, in which source, and the numbers. The
// words for the user are in words/ (CodecProblemText); nothing was written when one is thrown.

#include "base/Errors.h"

#include <cstdint>
#include <exception>
#include <string>

namespace drovak {

enum class CodecProblemKind {
    // FileError kinds (the source ends before what it announces):
    RleHeaderPastEnd,  // the 4 header bytes at `at` run past the data's `end`
    RleBlockEndsEarly, // the block at `at` ends at `end` with `done` of its `size` bytes decoded
    // RefusedError kinds:
    LzhSizeOverLimit, // an LZH stream asked to decode `size` bytes, over `limit`
    RleSizeOverLimit, // the block at `at` announces `size` bytes, over `limit`
    RleDataOverLimit, // `size` bytes to encode, more than the `limit` a block holds
};

struct CodecProblem {
    CodecProblemKind kind = CodecProblemKind::RleHeaderPastEnd;
    std::string source{}; // the source's name as given
    uint64_t at = 0;
    uint64_t end = 0;
    uint64_t size = 0;
    uint64_t done = 0;
    uint64_t limit = 0;
};

// What both kinds of exception carry; find it with CodecProblemOf to word it.
using CodecProblemCarrier = ProblemCarrier<CodecProblem>;

// what() names only the source and the kind's number: it is not for the user.
class CodecShortData : public FileError, public CodecProblemCarrier {
public:
    explicit CodecShortData(CodecProblem problem);
};

class CodecRefusal : public RefusedError, public CodecProblemCarrier {
public:
    explicit CodecRefusal(CodecProblem problem);
};

// Throws CodecShortData or CodecRefusal, as the kind is.
[[noreturn]] void ThrowCodecProblem(CodecProblem problem);

// The problem an exception carries, or nothing.
const CodecProblem* CodecProblemOf(const std::exception& error);

} // namespace drovak
