#include "compression/LzhMatchTree.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace drovak::lzh {

void ResetMatchTree(LzhState& state) {
    std::fill(state.TreeRight.begin() + FIRST_TREE_ROOT, state.TreeRight.end(), NO_NODE);
    std::fill(state.TreeParent.begin(), state.TreeParent.begin() + WINDOW_SIZE, NO_NODE);
}

namespace {

struct Comparison {
    int length; // bytes that agree, 1 to MAX_MATCH (byte 0 agrees by the choice of tree)
    int order;  // the first differing byte of `key` minus that of `node`, 0 when all agree
};

// Compares bytes 1 to MAX_MATCH - 1 of the two positions as unsigned bytes, sixteen (or eight)
// at a time. The loads reach a few bytes past the last one compared; the window's zero padding
// covers them and what they hold is ignored.
inline Comparison CompareFrom(const uint8_t* key, const uint8_t* node) {
#if defined(__SSE2__)
    for (int i = 1; i < MAX_MATCH; i += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(node + i));
        unsigned differ = ~unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(a, b))) & 0xFFFF;
        if (differ != 0) {
            int at = i + std::countr_zero(differ);
            if (at >= MAX_MATCH) break;
            return {at, int(key[at]) - int(node[at])};
        }
    }
#else
    for (int i = 1; i < MAX_MATCH; i += 8) {
        uint64_t a, b;
        std::memcpy(&a, key + i, 8);
        std::memcpy(&b, node + i, 8);
        if (uint64_t diff = a ^ b) {
            // The first differing byte is the lowest one in memory order.
            bool little = std::endian::native == std::endian::little;
            int at = i + (little ? std::countr_zero(diff) : std::countl_zero(diff)) / 8;
            if (at >= MAX_MATCH) break;
            return {at, int(key[at]) - int(node[at])};
        }
    }
#endif
    return {MAX_MATCH, 0};
}

// Puts `to` where `from` hangs in the tree of `parent` (a node or a tree root).
inline void ReplaceChild(LzhState& state, int parent, int from, int to) {
    if (state.TreeRight[parent] == from) {
        state.TreeRight[parent] = to;
    } else {
        state.TreeLeft[parent] = to;
    }
}

} // namespace

void InsertMatch(LzhState& state, int r) {
    const uint8_t* window = state.Window.data();
    const uint8_t* key = window + r;
    int32_t* left = state.TreeLeft.data();
    int32_t* right = state.TreeRight.data();
    left[r] = right[r] = NO_NODE;
    int bestLength = 0;
    uint32_t bestCode = uint32_t(state.MatchPosition); // left as it was when nothing is found
    int p = FIRST_TREE_ROOT + key[0];
    int32_t* link = &right[p]; // a tree hangs to the right of its root
    // Walk down to a free link, keeping the best match met on the way.
    for (;;) {
        if (*link == NO_NODE) {
            *link = r;
            state.TreeParent[r] = p;
            state.MatchLength = bestLength;
            state.MatchPosition = int32_t(bestCode);
            return;
        }
        p = *link;
        Comparison found = CompareFrom(key, window + p);
        if (found.length > MATCH_THRESHOLD) {
            uint32_t distanceCode = uint32_t(((r - p) & WINDOW_MASK) - 1);
            if (found.length > bestLength) {
                bestCode = distanceCode;
                bestLength = found.length;
                if (bestLength >= MAX_MATCH) break;
            } else if (found.length == bestLength && distanceCode < bestCode) {
                bestCode = distanceCode; // the nearer of equal matches
            }
        }
        link = found.order >= 0 ? &right[p] : &left[p];
    }
    state.MatchLength = bestLength;
    state.MatchPosition = int32_t(bestCode);
    // p matches all MAX_MATCH bytes: r takes its place and p leaves the tree.
    state.TreeParent[r] = state.TreeParent[p];
    state.TreeLeft[r] = state.TreeLeft[p];
    state.TreeRight[r] = state.TreeRight[p];
    state.TreeParent[state.TreeLeft[p]] = r;
    state.TreeParent[state.TreeRight[p]] = r;
    ReplaceChild(state, state.TreeParent[p], p, r);
    state.TreeParent[p] = NO_NODE;
}

void RemoveMatch(LzhState& state, int p) {
    if (state.TreeParent[p] == NO_NODE) return;
    int q;
    if (state.TreeRight[p] == NO_NODE) {
        q = state.TreeLeft[p];
    } else if (state.TreeLeft[p] == NO_NODE) {
        q = state.TreeRight[p];
    } else {
        // The greatest node of p's left subtree replaces p.
        q = state.TreeLeft[p];
        if (state.TreeRight[q] != NO_NODE) {
            do q = state.TreeRight[q];
            while (state.TreeRight[q] != NO_NODE);
            state.TreeRight[state.TreeParent[q]] = state.TreeLeft[q];
            state.TreeParent[state.TreeLeft[q]] = state.TreeParent[q];
            state.TreeLeft[q] = state.TreeLeft[p];
            state.TreeParent[state.TreeLeft[p]] = q;
        }
        state.TreeRight[q] = state.TreeRight[p];
        state.TreeParent[state.TreeRight[p]] = q;
    }
    state.TreeParent[q] = state.TreeParent[p];
    ReplaceChild(state, state.TreeParent[p], p, q);
    state.TreeParent[p] = NO_NODE;
}

} // namespace drovak::lzh
