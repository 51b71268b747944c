#pragma once

// The one state record of an LZHUF codec call and the constants both directions share. Internal
// to the codec (and its tests): callers use compression/Lzh.h.

#include <array>
#include <cstdint>

namespace drovak::lzh {

constexpr int WINDOW_SIZE = 4096; // ring buffer; positions are taken AND WINDOW_MASK
constexpr int WINDOW_MASK = WINDOW_SIZE - 1;
constexpr int MAX_MATCH = 60;                         // longest match
constexpr int MATCH_THRESHOLD = 2;                    // matches are sent only when longer than this
constexpr int WINDOW_START = WINDOW_SIZE - MAX_MATCH; // 4036: where the first data byte goes
constexpr int NO_NODE = WINDOW_SIZE;                  // "no node" in the match tree
constexpr int SYMBOL_COUNT = 256 - MATCH_THRESHOLD + MAX_MATCH; // 314: bytes, then lengths 3..60
constexpr int TREE_SIZE = 2 * SYMBOL_COUNT - 1;                 // 627 Huffman nodes
constexpr int ROOT = TREE_SIZE - 1;                             // 626
constexpr uint32_t FREQ_LIMIT = 0x8000; // the root reaching this rebuilds the model
constexpr int FIRST_LENGTH_SYMBOL = 256 - MATCH_THRESHOLD - 1; // symbol = match length + 253

// The ring buffer is followed by a mirror of its first MAX_MATCH - 1 positions, so that the
// encoder compares the 60 bytes from any position without wrapping.
constexpr int WINDOW_MIRROR = MAX_MATCH - 1;                    // 59
constexpr int WINDOW_WITH_MIRROR = WINDOW_SIZE + WINDOW_MIRROR; // 4155
// A few bytes more, always zero, let the match search load eight bytes at a time past the
// mirror; what it finds there is never used.
constexpr int WINDOW_ALLOCATED = WINDOW_SIZE + 64;

// The roots of the 256 match trees (one per first byte) follow the node links in TreeRight.
constexpr int FIRST_TREE_ROOT = WINDOW_SIZE + 1; // 4097 + byte

struct LzhState {
    // Huffman model. Nodes are kept in non-decreasing order of frequency; Freq[TREE_SIZE] is a
    // sentinel above every real frequency. Child[n] of an inner node is its first child (the
    // second is Child[n] + 1); of a leaf it is TREE_SIZE + symbol. Parent[TREE_SIZE + s] is the
    // leaf node of symbol s.
    std::array<uint32_t, TREE_SIZE + 1> Freq;
    std::array<int32_t, TREE_SIZE + SYMBOL_COUNT> Parent;
    std::array<int32_t, TREE_SIZE> Child;

    std::array<uint8_t, WINDOW_ALLOCATED> Window;

    // Match tree (encoder only): window positions 0..4095, NO_NODE, and in TreeRight the roots.
    // Entry NO_NODE of each array is a sink for writes through a missing link.
    std::array<int32_t, WINDOW_SIZE + 1> TreeLeft;
    std::array<int32_t, FIRST_TREE_ROOT + 256> TreeRight;
    std::array<int32_t, WINDOW_SIZE + 1> TreeParent;
    int32_t MatchPosition; // distance - 1 of the best match of the last insertion
    int32_t MatchLength;   // its length, 0 when nothing longer than MATCH_THRESHOLD was found

    // Bit reader: the next bit to deliver is bit 15 of InBits.
    uint32_t InBits;
    uint8_t InBitCount;
    // Bit writer: the pending bits stand left-aligned from bit 15 of OutBits.
    uint32_t OutBits;
    uint8_t OutBitCount;
};

// Every field becomes zero.
void ResetCodecState(LzhState& state);

} // namespace drovak::lzh
