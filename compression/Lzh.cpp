#include "compression/Lzh.h"

#include "base/Errors.h"
#include "compression/CodecProblem.h"
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

void FillInitialSpaces(LzhState& state) {
    std::fill(state.Window.begin(), state.Window.begin() + WINDOW_START, uint8_t(' '));
}

} // namespace

LzhDecodeResult LzhDecode(std::span<const uint8_t> source, uint32_t decodedSize,
                          const std::string& name) {
    if (decodedSize > LZH_MAX_DECODED_SIZE) {
        CodecProblem problem{CodecProblemKind::LzhSizeOverLimit, name};
        problem.size = decodedSize;
        problem.limit = LZH_MAX_DECODED_SIZE;
        ThrowCodecProblem(std::move(problem));
    }
    LzhDecodeResult result;
    if (decodedSize == 0) return result;
    auto state = std::make_unique<LzhState>();
    ResetCodecState(*state);
    ResetModel(*state);
    FillInitialSpaces(*state);

    ByteSource in{source.data(), source.size()};
    std::vector<uint8_t>& out = result.bytes;
    out.reserve(size_t(decodedSize) + MAX_MATCH);
    uint8_t* window = state->Window.data();
    int r = WINDOW_START;
    uint32_t count = 0;
    while (count < decodedSize) {
        int c = ReadSymbol(*state, in);
        if (c < 256) {
            out.push_back(uint8_t(c));
            window[r] = uint8_t(c);
            r = (r + 1) & WINDOW_MASK;
            ++count;
        } else {
            int from = r - ReadPosition(*state, in) - 1;
            int length = c - FIRST_LENGTH_SYMBOL;
            // One byte at a time: a copy that overlaps what it writes repeats those bytes.
            for (int k = 0; k < length; ++k) {
                uint8_t b = window[(from + k) & WINDOW_MASK];
                out.push_back(b);
                window[r] = b;
                r = (r + 1) & WINDOW_MASK;
            }
            count += uint32_t(length);
        }
    }
    result.consumed = in.taken;
    return result;
}

std::vector<uint8_t> LzhEncode(std::span<const uint8_t> input) {
    std::vector<uint8_t> packed;
    if (input.empty()) return packed;
    auto state = std::make_unique<LzhState>();
    ResetCodecState(*state);
    LzhState& st = *state;
    ResetModel(st);
    ResetMatchTree(st);
    FillInitialSpaces(st);

    size_t next = 0; // the next input byte to enter the window
    packed.reserve(input.size() / 2 + 16);

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
    return packed;
}

} // namespace drovak
