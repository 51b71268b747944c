#pragma once

#include "base/Errors.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace drovak {

// Blocks announcing more than this are refused: no Mega Drive data is that large.
constexpr uint32_t RLE_MAX_DECODED_SIZE = 16u * 1024 * 1024;

struct RleDecodeResult {
    std::vector<uint8_t> bytes; // 4 x (T / 4) bytes for a header T
    uint32_t consumed = 0;      // the block's bytes, header included
};

// Decodes the RLE block at offset `at` of source (4-byte big-endian length header, then run
// items). A header below 4 gives no data and 4 bytes consumed. Throws, naming the source by
// `name`, FileError when the source ends before the header or the output is complete and
// RefusedError when the header announces more than RLE_MAX_DECODED_SIZE.
RleDecodeResult RleDecode(std::span<const uint8_t> source, uint64_t at,
                          const std::string& name = "memory");

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
    std::vector<uint8_t> bytes; // the header, then the run items
    // Set when a run was too long to write: its length in the input as given (the padding not
    // counted) minus one. The runs from it on are missing from the output (the header is there
    // all the same).
    std::optional<uint32_t> unsupportedRepeatCount;
};

// Encodes the whole of source as an RLE block: the header, then the runs. An input whose length
// is not a multiple of 4 is padded with zero bytes to the length the header announces (the
// padding never makes a run too long: it takes an item of its own when it would); an empty input
// gives the header 00 00 00 00 alone. Throws RefusedError, naming the source by `name`, when it
// is longer than RLE_MAX_DECODED_SIZE (no decoder would take the block).
RleEncodeResult RleEncode(std::span<const uint8_t> source, const std::string& name = "memory");

} // namespace drovak
