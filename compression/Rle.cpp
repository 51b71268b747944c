#include "compression/Rle.h"

#include "base/ByteOrder.h"
#include "compression/CodecProblem.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace drovak {

namespace {

// Control byte low nibbles that announce a count in the following bytes.
constexpr uint8_t CODE_ONE_BYTE = 13;
constexpr uint8_t CODE_TWO_BYTES = 14;
constexpr uint8_t CODE_TWO_BYTES_HIGH = 15;

// Counts stored by each item form (the run length minus one).
constexpr uint32_t MAX_INLINE_COUNT = 12;
constexpr uint32_t MAX_ONE_BYTE_COUNT = 0xFF;
constexpr uint32_t MAX_TWO_BYTES_COUNT = 0xFFFF;
constexpr uint32_t HIGH_COUNT_BASE = 0x10000;
constexpr uint32_t MAX_COUNT = HIGH_COUNT_BASE + 0xFFFF;

// Fills nibbles [at, at + count) of a zero-initialised buffer with v, high nibble of each byte
// first.
inline void FillNibbles(uint8_t* out, uint64_t at, uint64_t count, uint8_t v) {
    if (count == 1) {
        out[at / 2] |= (at & 1) ? v : uint8_t(v << 4);
        return;
    }
    if (at & 1) {
        out[at / 2] |= v;
        ++at;
        --count;
    }
    uint64_t wholeBytes = count / 2;
    std::memset(out + at / 2, v * 0x11, size_t(wholeBytes));
    at += wholeBytes * 2;
    if (count & 1) out[at / 2] = uint8_t(v << 4);
}

// Reads the run items from the block. The block is not complete while items are read, so the
// end of the source is an error.
class ItemReader {
public:
    ItemReader(std::span<const uint8_t> source, uint64_t at, const std::string& name)
        : source_(source), blockStart_(at), next_(at + 4), name_(name) {}

    uint8_t Byte(uint64_t decodedBytes, uint64_t totalBytes) {
        if (next_ >= source_.size()) [[unlikely]]
            EndsEarly(decodedBytes, totalBytes);
        return source_[next_++];
    }

    // The position after the last byte taken.
    uint64_t End() const { return next_; }

private:
    // Kept out of the loop that reads the items.
    [[noreturn, gnu::noinline, gnu::cold]] void EndsEarly(uint64_t decodedBytes,
                                                          uint64_t totalBytes) const {
        CodecProblem problem{CodecProblemKind::RleBlockEndsEarly, name_, blockStart_};
        problem.end = source_.size();
        problem.done = decodedBytes;
        problem.size = totalBytes;
        ThrowCodecProblem(std::move(problem));
    }

    std::span<const uint8_t> source_;
    uint64_t blockStart_;
    uint64_t next_;
    const std::string& name_;
};

// Writes the item for a run of `length` nibbles of value v at `out` and returns the position
// after it; returns nullptr (and writes nothing) when the run is too long for any item.
uint8_t* PutRunItem(uint8_t* out, uint8_t v, uint32_t length) {
    uint32_t count = length - 1;
    uint8_t high = uint8_t(v << 4);
    if (count <= MAX_INLINE_COUNT) {
        *out++ = uint8_t(high | count);
    } else if (count <= MAX_ONE_BYTE_COUNT) {
        *out++ = high | CODE_ONE_BYTE;
        *out++ = uint8_t(count);
    } else if (count <= MAX_COUNT) {
        bool highForm = count > MAX_TWO_BYTES_COUNT;
        uint32_t stored = highForm ? count - HIGH_COUNT_BASE : count;
        *out++ = high | (highForm ? CODE_TWO_BYTES_HIGH : CODE_TWO_BYTES);
        *out++ = uint8_t(stored >> 8);
        *out++ = uint8_t(stored);
    } else {
        return nullptr;
    }
    return out;
}

} // namespace

RleDecodeResult RleDecode(std::span<const uint8_t> source, uint64_t at, const std::string& name) {
    if (at >= source.size() || source.size() - at < 4) {
        CodecProblem problem{CodecProblemKind::RleHeaderPastEnd, name, at};
        problem.end = source.size();
        ThrowCodecProblem(std::move(problem));
    }
    const uint32_t announced = LoadBigEndian32(source.data() + at);
    if (announced > RLE_MAX_DECODED_SIZE) {
        CodecProblem problem{CodecProblemKind::RleSizeOverLimit, name, at};
        problem.size = announced;
        problem.limit = RLE_MAX_DECODED_SIZE;
        ThrowCodecProblem(std::move(problem));
    }
    RleDecodeResult result;
    result.consumed = 4;
    // Only whole 32-bit words are produced; a header below 4 asks for none.
    const uint64_t totalBytes = uint64_t(announced / 4) * 4;
    if (totalBytes == 0) return result;

    std::vector<uint8_t> out(size_t(totalBytes), 0);
    const uint64_t totalNibbles = totalBytes * 2;
    ItemReader items(source, at, name);
    uint64_t done = 0;
    while (done < totalNibbles) {
        uint8_t control = items.Byte(done / 2, totalBytes);
        uint8_t v = control >> 4;
        uint32_t count = control & 0x0F;
        if (count == CODE_ONE_BYTE) {
            count = items.Byte(done / 2, totalBytes);
        } else if (count >= CODE_TWO_BYTES) {
            uint32_t base = count == CODE_TWO_BYTES_HIGH ? HIGH_COUNT_BASE : 0;
            uint32_t high = items.Byte(done / 2, totalBytes);
            uint32_t low = items.Byte(done / 2, totalBytes);
            count = (high << 8 | low) + base;
        }
        // The nibbles of the last run beyond the last word are dropped.
        uint64_t length = std::min<uint64_t>(uint64_t(count) + 1, totalNibbles - done);
        FillNibbles(out.data(), done, length, v);
        done += length;
    }
    result.consumed = uint32_t(items.End() - at);
    result.bytes = std::move(out);
    return result;
}

RleEncodeResult RleEncode(std::span<const uint8_t> source, const std::string& name) {
    if (source.size() > RLE_MAX_DECODED_SIZE) {
        CodecProblem problem{CodecProblemKind::RleDataOverLimit, name};
        problem.size = source.size();
        problem.limit = RLE_MAX_DECODED_SIZE;
        ThrowCodecProblem(std::move(problem));
    }
    const auto sourceSize = uint32_t(source.size());
    // The header announces the length rounded up to whole words; the input is padded with
    // zero bytes to that length so that the runs cover everything the decoder will produce.
    const uint32_t paddedSize = (sourceSize + 3) & ~3u;
    std::vector<uint8_t> input(paddedSize, 0);
    std::copy(source.begin(), source.end(), input.begin());

    RleEncodeResult result;
    // At most one item byte per nibble: a run of one takes one byte, longer runs fewer per
    // nibble.
    auto items = std::make_unique_for_overwrite<uint8_t[]>(size_t(paddedSize) * 2);
    uint8_t* out = items.get();
    if (paddedSize > 0) {
        const uint8_t* in = input.data();
        const uint8_t* const end = in + paddedSize;
        uint8_t runValue = SelectNibble(in[0], false);
        uint32_t runLength = 0;
        // Writes the current run's item; false (and the count noted) when no item can hold it.
        auto endRun = [&]() {
            uint8_t* next = PutRunItem(out, runValue, runLength);
            if (!next) {
                result.unsupportedRepeatCount = runLength - 1;
                return false;
            }
            out = next;
            return true;
        };
        // Ends the current run and starts one of `nibble`.
        auto startRun = [&](uint8_t nibble) {
            if (!endRun()) return false;
            runValue = nibble;
            runLength = 1;
            return true;
        };
        while (in < end) {
            uint8_t byte = *in;
            uint8_t high = SelectNibble(byte, false);
            uint8_t low = SelectNibble(byte, true);
            if (high == runValue && low == runValue) {
                // A stretch of bytes that only continue the run.
                const uint8_t* stretch = in + 1;
                while (stretch < end && *stretch == byte) ++stretch;
                runLength += uint32_t(2 * (stretch - in));
                in = stretch;
                continue;
            }
            if (high == runValue) {
                ++runLength;
            } else if (!startRun(high)) {
                break;
            }
            if (low == runValue) {
                ++runLength;
            } else if (!startRun(low)) {
                break;
            }
            ++in;
        }
        // The zero bytes of the padding may lengthen the last run past what an item holds;
        // the input's own nibbles and the padding then take an item each, and a run too long
        // is counted as the input gives it.
        if (!result.unsupportedRepeatCount && !endRun() && runValue == 0) {
            const uint32_t padding = 2 * (paddedSize - sourceSize);
            const uint32_t ownLength = runLength - padding;
            if (padding > 0 && ownLength - 1 <= MAX_COUNT) {
                out = PutRunItem(out, runValue, ownLength);
                out = PutRunItem(out, runValue, padding);
                result.unsupportedRepeatCount.reset();
            } else {
                result.unsupportedRepeatCount = ownLength - 1;
            }
        }
    }
    const size_t itemBytes = size_t(out - items.get());

    result.bytes.resize(4 + itemBytes);
    StoreBigEndian32(result.bytes.data(), paddedSize);
    std::copy_n(items.get(), itemBytes, result.bytes.data() + 4);
    return result;
}

} // namespace drovak
