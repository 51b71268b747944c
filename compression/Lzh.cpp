#include "compression/Lzh.h"

#include "base/Errors.h"
#include "compression/LzhBitIo.h"
#include "compression/LzhCoders.h"
#include "compression/LzhMatchTree.h"
#include "compression/LzhModel.h"
#include "compression/LzhState.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace drovak {

using namespace lzh;

namespace {

constexpr size_t CHUNK_SIZE = 64 * 1024;

// Gathers decoded bytes and hands them to the destination in large writes: the same bytes at
// the same positions as one-byte writes, without a call per byte.
class ChunkedWriter {
public:
    explicit ChunkedWriter(Stream& out) : out_(out) { bytes_.reserve(CHUNK_SIZE); }
    void Put(uint8_t b) {
        bytes_.push_back(b);
        if (bytes_.size() == CHUNK_SIZE) Flush();
    }
    void Flush() {
        if (!bytes_.empty()) out_.Write(bytes_.data(), bytes_.size());
        bytes_.clear();
    }

private:
    Stream& out_;
    std::vector<uint8_t> bytes_;
};

// Reads the source from its position to its end in large reads: the encoder reads byte by
// byte until a read yields nothing, which leaves the source at the same place.
std::vector<uint8_t> ReadToEnd(Stream& source) {
    std::vector<uint8_t> bytes;
    size_t got = 0;
    do {
        bytes.resize(bytes.size() + CHUNK_SIZE);
        got = source.Read(bytes.data() + bytes.size() - CHUNK_SIZE, CHUNK_SIZE);
        bytes.resize(bytes.size() - CHUNK_SIZE + got);
    } while (got != 0);
    return bytes;
}

void FillInitialSpaces(LzhState& state) {
    std::fill(state.Window.begin(), state.Window.begin() + WINDOW_START, uint8_t(' '));
}

} // namespace

void LzhDecode(Stream& source, Stream& destination, uint32_t decodedSize) {
    if (decodedSize > MAX_DECODED_SIZE) {
        throw RefusedError(source.Name() + ": the decoded size " + std::to_string(decodedSize) +
                           " (" + HexText(decodedSize) + ") is over the limit of " +
                           std::to_string(MAX_DECODED_SIZE) + " bytes");
    }
    auto state = std::make_unique<LzhState>();
    ResetCodecState(*state);
    if (decodedSize == 0) return;
    ResetModel(*state);
    FillInitialSpaces(*state);

    ChunkedWriter out(destination);
    uint8_t* window = state->Window.data();
    int r = WINDOW_START;
    uint32_t count = 0;
    while (count < decodedSize) {
        int c = ReadSymbol(*state, source);
        if (c < 256) {
            out.Put(uint8_t(c));
            window[r] = uint8_t(c);
            r = (r + 1) & WINDOW_MASK;
            ++count;
        } else {
            int from = r - ReadPosition(*state, source) - 1;
            int length = c - FIRST_LENGTH_SYMBOL;
            // One byte at a time: a copy that overlaps what it writes repeats those bytes.
            for (int k = 0; k < length; ++k) {
                uint8_t b = window[(from + k) & WINDOW_MASK];
                out.Put(b);
                window[r] = b;
                r = (r + 1) & WINDOW_MASK;
            }
            count += uint32_t(length);
        }
    }
    out.Flush();
}

void LzhEncode(Stream& source, Stream& destination, uint32_t sourceSize) {
    auto state = std::make_unique<LzhState>();
    ResetCodecState(*state);
    if (sourceSize == 0) return;
    LzhState& st = *state;
    ResetModel(st);
    ResetMatchTree(st);
    FillInitialSpaces(st);

    const std::vector<uint8_t> input = ReadToEnd(source);
    size_t next = 0; // the next input byte to enter the window
    MemoryStream packed;
    packed.Data().reserve(input.size() / 2 + 16);

    int s = 0;
    int r = WINDOW_START;
    int len = int(std::min<size_t>(input.size(), MAX_MATCH));
    std::copy_n(input.begin(), len, st.Window.begin() + r);
    next = size_t(len);
    // The spaces before the data are the history of the first match.
    for (int i = 1; i <= MAX_MATCH; ++i) InsertMatch(st, r - i);
    InsertMatch(st, r);

    while (len > 0) {
        if (st.MatchLength > len) st.MatchLength = len;
        if (st.MatchLength <= MATCH_THRESHOLD) {
            st.MatchLength = 1;
            WriteSymbol(st, packed, st.Window[r]);
        } else {
            WriteSymbol(st, packed, st.MatchLength + FIRST_LENGTH_SYMBOL);
            WritePosition(st, packed, st.MatchPosition);
        }
        int last = st.MatchLength;
        int i = 0;
        for (; i < last && next < input.size(); ++i) {
            uint8_t c = input[next++];
            RemoveMatch(st, s);
            st.Window[s] = c;
            if (s < WINDOW_MIRROR) st.Window[s + WINDOW_SIZE] = c;
            s = (s + 1) & WINDOW_MASK;
            r = (r + 1) & WINDOW_MASK;
            InsertMatch(st, r);
        }
        // The input is exhausted: the look-ahead shrinks.
        for (; i < last; ++i) {
            RemoveMatch(st, s);
            s = (s + 1) & WINDOW_MASK;
            r = (r + 1) & WINDOW_MASK;
            if (--len != 0) InsertMatch(st, r);
        }
    }
    FlushBits(st, packed);
    if (!packed.Data().empty()) destination.Write(packed.Data().data(), packed.Data().size());
}

} // namespace drovak
