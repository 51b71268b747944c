#pragma once

// What the insert commands say on stderr when they stop to be confirmed with --yes, worded
// from the plan's numbers on one line each.

#include "rom/LzhPage.h"
#include "rom/RlePage.h"

#include <string>

namespace drovak {

// The input is empty: what the entry or block will hold, and what moves.
std::string LzhEmptyInputText(const LzhInsertPlan& plan, const std::string& inputName);
std::string RleEmptyInputText(const RleInsertPlan& plan, const std::string& inputName);
// The new data is larger: what it overwrites, and how the file grows.
std::string LzhGrowthText(const LzhInsertPlan& plan);
std::string RleGrowthText(const RleInsertPlan& plan);

} // namespace drovak
