#pragma once

// The words of the questions a compress asks before it changes the ROM, from the plan's numbers.
// The window's boxes break their lines with "\r\n", the terminal's one-line questions with " ":
// `lineBreak` says which.

#include "rom/LzhPage.h"
#include "rom/RlePage.h"

#include <string>

namespace drovak {

// "12 bytes after the table's data will be overwritten, from 0x45A12 on; 3 of them are not 00
// or FF." and, when the file grows, how.
std::string LzhTailWords(const LzhInsertPlan& plan);

// The question an LZH plan that needsConfirmation asks, in both its forms: the window's box
// (LZH_GROWTH_QUESTION, then the tail, lines broken with "\r\n") and the terminal's one line,
// which names the two sizes.
extern const char* const LZH_GROWTH_QUESTION;
std::string LzhGrowthBoxWords(const LzhInsertPlan& plan);
std::string LzhGrowthLineWords(const LzhInsertPlan& plan);

// "The file NAME is empty!", then what the entry then holds and what moves.
std::string LzhEmptyInputWords(const LzhInsertPlan& plan, const std::string& inputName,
                               const char* lineBreak);
// "The file NAME is empty!", then that the block then holds no data.
std::string RleEmptyInputWords(const RleInsertPlan& plan, const std::string& inputName,
                               const char* lineBreak);
// What the new RLE block overwrites, or how the file grows when it runs past its end.
std::string RleGrowthWords(const RleInsertPlan& plan, const char* lineBreak);

} // namespace drovak
