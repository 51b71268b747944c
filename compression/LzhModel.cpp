#include "compression/LzhModel.h"

#include <algorithm>

namespace drovak::lzh {

void ResetModel(LzhState& state) {
    for (int s = 0; s < SYMBOL_COUNT; ++s) {
        state.Freq[s] = 1;
        state.Child[s] = s + TREE_SIZE;
        state.Parent[s + TREE_SIZE] = s;
    }
    for (int i = 0, j = SYMBOL_COUNT; j < TREE_SIZE; i += 2, ++j) {
        state.Freq[j] = state.Freq[i] + state.Freq[i + 1];
        state.Child[j] = i;
        state.Parent[i] = state.Parent[i + 1] = j;
    }
    state.Freq[TREE_SIZE] = 0xFFFF;
    state.Parent[ROOT] = 0;
}

namespace {

// Makes `parent` the parent of the entry `child` names: both children of an inner node, or the
// leaf link of a symbol (TREE_SIZE + symbol).
void LinkChildren(LzhState& state, int child, int parent) {
    state.Parent[child] = parent;
    if (child < TREE_SIZE) state.Parent[child + 1] = parent;
}

} // namespace

void UpdateModel(LzhState& state, int symbol) {
    if (state.Freq[ROOT] >= FREQ_LIMIT) RebuildModel(state);
    int c = state.Parent[symbol + TREE_SIZE];
    do {
        uint32_t k = ++state.Freq[c];
        if (k > state.Freq[c + 1]) {
            // Move the node past every node of lower frequency; the sentinel ends the search.
            int l = c + 1;
            while (k > state.Freq[l + 1]) ++l;
            state.Freq[c] = state.Freq[l];
            state.Freq[l] = k;
            int i = state.Child[c];
            LinkChildren(state, i, l);
            int j = state.Child[l];
            state.Child[l] = i;
            LinkChildren(state, j, c);
            state.Child[c] = j;
            c = l;
        }
        c = state.Parent[c];
    } while (c != 0); // the root's parent
}

void RebuildModel(LzhState& state) {
    // The leaves, in their old order, with halved frequencies.
    int j = 0;
    for (int i = 0; i < TREE_SIZE; ++i) {
        if (state.Child[i] >= TREE_SIZE) {
            state.Freq[j] = (state.Freq[i] + 1) / 2;
            state.Child[j] = state.Child[i];
            ++j;
        }
    }
    // Each new inner node joins the next two nodes and goes after every node of its frequency.
    for (int i = 0; j < TREE_SIZE; i += 2, ++j) {
        uint32_t f = state.Freq[i] + state.Freq[i + 1];
        int k = j - 1;
        while (f < state.Freq[k]) --k;
        ++k;
        std::copy_backward(state.Freq.begin() + k, state.Freq.begin() + j,
                           state.Freq.begin() + j + 1);
        std::copy_backward(state.Child.begin() + k, state.Child.begin() + j,
                           state.Child.begin() + j + 1);
        state.Freq[k] = f;
        state.Child[k] = i;
    }
    for (int i = 0; i < TREE_SIZE; ++i) LinkChildren(state, state.Child[i], i);
}

} // namespace drovak::lzh
