#pragma once

// What pack and status say of a pack's plan: a line per changed file, the questions it asks,
// what a file holds and how its data differs from the base's.

#include "mod/Pack.h"
#include "mod/PackDifferences.h"
#include "rom/RomChange.h"

#include <ostream>
#include <string>
#include <vector>

namespace drovak {

// The questions a change asks before it is written, as lzh-insert and rle-insert ask them.
std::vector<std::string> PackQuestions(const PackedChange& change);

// The notes on a change: how a sheet's colours were read.
std::vector<std::string> PackNotes(const PackedChange& change);

// All the plan's questions, a line each ("  20000_3.bin: the new compressed data ..."); empty
// when it asks none.
std::string PackQuestionLines(const PackPlan& plan);

// "20000_3.bin: entry 0x3 packed 2716 -> 2800 bytes; entries 0x4 to 0x1F moved by +84 bytes".
std::string PackChangeLine(const PackedChange& change);
// The same without the file's name.
std::string PackChangeText(const PackedChange& change);

// "levels/level03.tmx: level map, level 3, 12 cells changed" for a map or palette that changed;
// the colours an editor left off the console's grid are noted on err.
std::string PackViewLine(const ViewChange& view, std::ostream& err);

// "OUT written; header checksum right (1A2B)." for a file that did not exist.
std::string NewFileLine(const std::string& out, const RomChange& change);

// "tile art of level 3", "blocks and layout of level 3", "the sprite sheet", "data": the words
// for what a file holds (the manifest stores its own, FileRole, which stored folders rely on).
std::string ContentText(const ModContent& content);

// "tiles 70-74 differ (5 of 100)", "plane A layout cells differ: column 12 row 3, ...", one
// line each; each list cut after a few ranges.
std::vector<std::string> DifferenceLines(const std::vector<UnitDifferences>& differences);

} // namespace drovak
