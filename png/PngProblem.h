#pragma once

// Why a PNG picture was not read or written, as data: what kind of problem, in which file, and
// the numbers. The words for the user are in words/ (PngProblemText); nothing was written when
// one is thrown.

#include "base/Errors.h"

#include <cstdint>
#include <exception>
#include <string>

namespace drovak {

enum class PngProblemKind {
    // FileError kinds (the file is shorter than what it holds):
    ChunkPastEnd,    // a chunk of `size` bytes at byte `at` runs past the data's `end`
    TooShortForData, // `size` bytes can't hold the image data of `width` x `height` pixels
    EndsEarly,       // the data ends at byte `end` before the picture does
    // RefusedError kinds:
    NotPng,             // no PNG signature (`flag`: the file is empty)
    TooLarge,           // `width` x `height` pixels, over `limit` a side or `size` in all
    Unreadable,         // libpng's reason `text`
    IndexBeyondPalette, // the pixel at `x`, `y` has index `value`, beyond `size` colours
    ChunkTooLong,       // chunk `text` of `size` bytes
    NotWritable,        // colour type `value` at `depth` bits, `width` x `height` pixels
    PaletteNotTaken,    // a palette for a picture that is not a palette image
    PaletteSize,        // a palette of `size` colours, where the image takes 1 to `limit`
    PaletteMissing,     // a palette image without its palette
    NotAKeyword,        // `text` is not a tEXt keyword
    NothingToCompress,  // image data of no parts
    // DrovakError kinds (a library failed):
    ReaderNotStarted,     // libpng could not start
    CompressorNotStarted, // zlib's deflate could not start
    CompressorNotPrimed,  // zlib's deflate took no dictionary
    CompressorFailed,     // zlib's deflate failed
};

struct PngProblem {
    PngProblemKind kind = PngProblemKind::NotPng;
    std::string file{}; // the file's name as given, where there is one
    uint64_t at = 0;
    uint64_t end = 0;
    uint64_t size = 0;
    uint64_t limit = 0;
    uint64_t width = 0;
    uint64_t height = 0;
    uint64_t x = 0;
    uint64_t y = 0;
    uint64_t value = 0;
    uint64_t depth = 0;
    std::string text{};
    bool flag = false;
};

// What the three kinds of exception carry; find it with PngProblemOf to word it.
using PngProblemCarrier = ProblemCarrier<PngProblem>;

// what() names only the file and the kind's number: it is not for the user.
class PngFileProblem : public FileError, public PngProblemCarrier {
public:
    explicit PngFileProblem(PngProblem problem);
};

class PngRefusal : public RefusedError, public PngProblemCarrier {
public:
    explicit PngRefusal(PngProblem problem);
};

class PngFailure : public DrovakError, public PngProblemCarrier {
public:
    explicit PngFailure(PngProblem problem);
};

// Throws PngFileProblem, PngRefusal or PngFailure, as the kind is.
[[noreturn]] void ThrowPngProblem(PngProblem problem);

// The problem an exception carries, or nothing.
const PngProblem* PngProblemOf(const std::exception& error);

} // namespace drovak
