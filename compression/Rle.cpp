#include "compression/Rle.h"

#include "compression/ByteOrder.h"
#include "compression/Lzh.h"

#include <algorithm>
#include <cstring>
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
void FillNibbles(uint8_t* out, uint64_t at, uint64_t count, uint8_t v) {
    if (count == 0) return;
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

// Reads one byte of a run item; the block is not complete, so the end of the source is an error.
uint8_t ReadItemByte(Stream& source, uint64_t blockStart, uint64_t decodedBytes,
                     uint64_t totalBytes) {
    int b = source.ReadByte();
    if (b < 0) {
        throw FileError(source.Name() + ": the RLE block at " + HexText(blockStart) +
                        " ends early at " + HexText(source.Position()) + ": " +
                        std::to_string(decodedBytes) + " of " + std::to_string(totalBytes) +
                        " bytes decoded");
    }
    return uint8_t(b);
}

// Appends the item for a run of `length` nibbles of value v. Returns false (and appends nothing)
// when the run is too long for any item.
bool AppendRunItem(std::vector<uint8_t>& items, uint8_t v, uint32_t length) {
    uint32_t count = length - 1;
    uint8_t high = uint8_t(v << 4);
    if (count <= MAX_INLINE_COUNT) {
        items.push_back(uint8_t(high | count));
    } else if (count <= MAX_ONE_BYTE_COUNT) {
        items.push_back(high | CODE_ONE_BYTE);
        items.push_back(uint8_t(count));
    } else if (count <= MAX_TWO_BYTES_COUNT) {
        items.push_back(high | CODE_TWO_BYTES);
        items.push_back(uint8_t(count >> 8));
        items.push_back(uint8_t(count));
    } else if (count <= MAX_COUNT) {
        uint32_t stored = count - HIGH_COUNT_BASE;
        items.push_back(high | CODE_TWO_BYTES_HIGH);
        items.push_back(uint8_t(stored >> 8));
        items.push_back(uint8_t(stored));
    } else {
        return false;
    }
    return true;
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
    uint64_t done = 0;
    while (done < totalNibbles) {
        uint8_t control = ReadItemByte(source, start, done / 2, totalBytes);
        uint8_t v = control >> 4;
        uint32_t count = control & 0x0F;
        if (count == CODE_ONE_BYTE) {
            count = ReadItemByte(source, start, done / 2, totalBytes);
        } else if (count >= CODE_TWO_BYTES) {
            uint32_t base = count == CODE_TWO_BYTES_HIGH ? HIGH_COUNT_BASE : 0;
            uint32_t high = ReadItemByte(source, start, done / 2, totalBytes);
            uint32_t low = ReadItemByte(source, start, done / 2, totalBytes);
            count = (high << 8 | low) + base;
        }
        // The nibbles of the last run beyond the last word are dropped.
        uint64_t length = std::min<uint64_t>(uint64_t(count) + 1, totalNibbles - done);
        FillNibbles(out.data(), done, length, v);
        done += length;
    }
    const int32_t consumed = int32_t(source.Position() - start);
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
    std::vector<uint8_t> items;
    items.reserve(paddedSize / 2 + 16);
    if (paddedSize > 0) {
        uint8_t runValue = SelectNibble(input[0], false);
        uint32_t runLength = 0;
        auto extendWith = [&](uint8_t nibble) {
            if (nibble == runValue) {
                ++runLength;
                return true;
            }
            if (!AppendRunItem(items, runValue, runLength)) {
                result.unsupportedRepeatCount = runLength - 1;
                return false;
            }
            runValue = nibble;
            runLength = 1;
            return true;
        };
        bool writable = true;
        for (size_t at = 0; at < paddedSize && writable; ++at) {
            uint8_t byte = input[at];
            uint8_t high = SelectNibble(byte, false);
            uint8_t low = SelectNibble(byte, true);
            if (high == runValue && low == runValue) {
                // A stretch of bytes that only continue the run.
                size_t end = at + 1;
                while (end < paddedSize && input[end] == byte) ++end;
                runLength += uint32_t(2 * (end - at));
                at = end - 1;
                continue;
            }
            writable = extendWith(high) && extendWith(low);
        }
        if (writable && !AppendRunItem(items, runValue, runLength)) {
            result.unsupportedRepeatCount = runLength - 1;
        }
    }

    destination.Seek(4, SeekOrigin::Begin);
    if (!items.empty()) destination.Write(items.data(), items.size());
    destination.Seek(0, SeekOrigin::Begin);
    destination.WriteBigEndian32(paddedSize);
    result.size = int32_t(destination.Size());
    return result;
}

} // namespace drovak
