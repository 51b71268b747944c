#pragma once

#include "base/Errors.h"
#include "base/Stream.h"

#include <cstdint>
#include <optional>
#include <string>

namespace drovak {

// Decodes the RLE block at the source's position (4-byte big-endian length header, then run
// items) and writes the 4 x (T / 4) decoded bytes to the destination in one Write. Returns the
// number of source bytes consumed, header included. A header below 4 gives no data and 4
// bytes consumed. Throws FileError when the source ends before the output is complete (nothing
// is written then) and RefusedError when the header announces more than MAX_DECODED_SIZE.
int32_t RleDecode(Stream& source, Stream& destination);

// The text of the encoder's one failure: "Unsupported repeat count: " + count.
std::string UnsupportedRepeatMessage(uint32_t count);

// Raised by the operations that refuse to write a block with a run the encoder can't write;
// what() is UnsupportedRepeatMessage(count), the text of the "Error" box.
class UnsupportedRepeatError : public RefusedError {
public:
    explicit UnsupportedRepeatError(uint32_t count)
        : RefusedError(UnsupportedRepeatMessage(count)), count_(count) {}
    uint32_t count() const { return count_; }

private:
    uint32_t count_;
};

struct RleEncodeResult {
    int32_t size = 0; // the destination's size after the call
    // Set when a run was too long to write: its length in the input as given (the padding not
    // counted) minus one. The runs from it on are missing from the output (the header is
    // written all the same).
    std::optional<uint32_t> unsupportedRepeatCount;
};

// Rewinds the source and encodes sourceSize bytes of it; writes the runs from destination
// position 4 on and then the header at 0. An input whose length is not a multiple of 4 is
// padded with zero bytes to the length the header announces (the padding never makes a run too
// long: it takes an item of its own when it would); an empty input gives the header
// 00 00 00 00 alone. Throws, before writing anything, FileError when the source holds fewer than
// sourceSize bytes and RefusedError when sourceSize exceeds MAX_DECODED_SIZE (no decoder would
// take the block).
RleEncodeResult RleEncode(Stream& source, Stream& destination, uint32_t sourceSize);

} // namespace drovak
