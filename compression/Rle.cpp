#include "compression/Rle.h"

#include "base/ByteOrder.h"
#include "compression/Lzh.h"

#include <algorithm>
#include <cstring>
#include <memory>
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

// Reads the run items through a buffer of its own and leaves the source right after the last
// byte taken. The block is not complete while items are read, so the end of the source is an
// error.
class ItemReader {
public:
    ItemReader(Stream& source, uint64_t blockStart) : source_(source), blockStart_(blockStart) {
        bufferStart_ = source.Position();
    }

    uint8_t Byte(uint64_t decodedBytes, uint64_t totalBytes) {
        if (next_ == fill_) Refill(decodedBytes, totalBytes);
        return buffer_[next_++];
    }

    // Puts the source right after the last byte taken; returns that position.
    uint64_t Finish() {
        uint64_t end = bufferStart_ + next_;
        source_.Seek(int64_t(end), SeekOrigin::Begin);
        return end;
    }

private:
    void Refill(uint64_t decodedBytes, uint64_t totalBytes) {
        bufferStart_ += fill_;
        next_ = 0;
        fill_ = source_.Read(buffer_, sizeof buffer_);
        if (fill_ == 0) {
            throw FileError(source_.Name() + ": the RLE block at " + HexText(blockStart_) +
                            " ends early at " + HexText(bufferStart_) + ": " +
                            std::to_string(decodedBytes) + " of " + std::to_string(totalBytes) +
                            " bytes decoded");
        }
    }

    Stream& source_;
    uint64_t blockStart_;
    uint64_t bufferStart_ = 0;
    size_t next_ = 0;
    size_t fill_ = 0;
    uint8_t buffer_[4096];
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

int32_t RleDecode(Stream& source, Stream& destination) {
    const uint64_t start = source.Position();
    const uint32_t announced = source.ReadBigEndian32();
    if (announced > MAX_DECODED_SIZE) {
        throw RefusedError(source.Name() + ": the RLE block at " + HexText(start) + " announces " +
                           std::to_string(announced) + " bytes, more than the limit of " +
                           std::to_string(MAX_DECODED_SIZE));
    }
    // Only whole 32-bit words are produced; a header below 4 asks for none.
    const uint64_t totalBytes = uint64_t(announced / 4) * 4;
    if (totalBytes == 0) return int32_t(source.Position() - start);

    std::vector<uint8_t> out(size_t(totalBytes), 0);
    const uint64_t totalNibbles = totalBytes * 2;
    ItemReader items(source, start);
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
    const int32_t consumed = int32_t(items.Finish() - start);
    destination.Write(out.data(), out.size());
    return consumed;
}

std::string UnsupportedRepeatMessage(uint32_t count) {
    return "Unsupported repeat count: " + std::to_string(count);
}

RleEncodeResult RleEncode(Stream& source, Stream& destination, uint32_t sourceSize) {
    if (sourceSize > MAX_DECODED_SIZE) {
        throw RefusedError(source.Name() + ": " + std::to_string(sourceSize) +
                           " bytes are more than an RLE block may hold (" +
                           std::to_string(MAX_DECODED_SIZE) + ")");
    }
    // The header announces the length rounded up to whole words; the input is padded with
    // zero bytes to that length so that the runs cover everything the decoder will produce.
    const uint32_t paddedSize = (sourceSize + 3) & ~3u;
    std::vector<uint8_t> input(paddedSize, 0);
    source.Seek(0, SeekOrigin::Begin);
    source.ReadExact(input.data(), sourceSize);

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

    destination.Seek(4, SeekOrigin::Begin);
    if (itemBytes > 0) destination.Write(items.get(), itemBytes);
    destination.Seek(0, SeekOrigin::Begin);
    destination.WriteBigEndian32(paddedSize);
    result.size = int32_t(destination.Size());
    return result;
}

} // namespace drovak
