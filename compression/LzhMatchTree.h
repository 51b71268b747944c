#pragma once

// The encoder's match finder: binary search trees over the window positions, one per first
// byte, ordered by the MAX_MATCH bytes that start at each position.

#include "compression/LzhState.h"

namespace drovak::lzh {

// Empties all 256 trees.
void ResetMatchTree(LzhState& state);

// Puts position r into the tree of its first byte and leaves the best match against the
// positions already there in MatchPosition / MatchLength: the longest wins, then the smallest
// distance on the search path; a full MAX_MATCH match ends the search and takes that node's
// place in the tree. Matches of MATCH_THRESHOLD bytes or fewer leave MatchLength at 0.
void InsertMatch(LzhState& state, int r);

// Takes position p out of its tree, if it is in one.
void RemoveMatch(LzhState& state, int p);

} // namespace drovak::lzh
