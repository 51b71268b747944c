#pragma once

// The adaptive Huffman model of the LZHUF alphabet (bytes and match lengths).

#include "compression/LzhState.h"

namespace drovak::lzh {

// The initial tree: every symbol counted once; symbols 0..115 get 9-bit codes, the rest 8 bits.
void ResetModel(LzhState& state);

// Counts one occurrence of a symbol (0..313) and restores the node order. Rebuilds the model
// first when the root has reached FREQ_LIMIT.
void UpdateModel(LzhState& state, int symbol);

// Halves the leaf frequencies (rounding up, so no leaf drops to 0) and builds the tree anew.
void RebuildModel(LzhState& state);

} // namespace drovak::lzh
