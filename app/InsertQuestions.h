#pragma once

// The questions a compress asks in a box before it changes the ROM, worded from the plan's
// numbers (lines broken with "\r\n", as the boxes' texts are).

#include "rom/LzhPage.h"
#include "rom/RlePage.h"

#include <string>

namespace drovak::app {

// The whole question (words/InsertWords.h): LZH_GROWTH_QUESTION and a line on the bytes after
// the table's data:
// "12 bytes after the table's data will be overwritten, from 0x45A12 on; 3 of them are not 00
// or FF." (and how the file grows, when it does).
std::string LzhGrowthQuestion(const LzhInsertPlan& plan);
// The question asked when an LZH plan has emptyInput; inputName names the data file.
std::string LzhEmptyInputQuestion(const LzhInsertPlan& plan, const std::string& inputName);

// The question asked when an RLE plan needsConfirmation: what the new block overwrites, or how
// the file grows when it runs past its end.
std::string RleGrowthQuestion(const RleInsertPlan& plan);
// The question asked when an RLE plan has emptyInput; inputName names the data file.
std::string RleEmptyInputQuestion(const RleInsertPlan& plan, const std::string& inputName);

} // namespace drovak::app
