#include "words/InsertLines.h"

#include "words/InsertWords.h"

namespace drovak {

// On the terminal a question stands on one line.
namespace {
constexpr const char* ONE_LINE = " ";
}

std::string LzhEmptyInputText(const LzhInsertPlan& plan, const std::string& inputName) {
    return LzhEmptyInputWords(plan, inputName, ONE_LINE);
}

std::string RleEmptyInputText(const RleInsertPlan& plan, const std::string& inputName) {
    return RleEmptyInputWords(plan, inputName, ONE_LINE);
}

std::string LzhGrowthText(const LzhInsertPlan& plan) {
    return "the new compressed data (" + std::to_string(plan.newSize) +
           " bytes) is larger than the old (" + std::to_string(plan.oldSize) +
           " bytes): the sizes table would be recalculated and the data of the following "
           "entries moved. " +
           LzhTailWords(plan);
}

std::string RleGrowthText(const RleInsertPlan& plan) {
    return RleGrowthWords(plan, ONE_LINE);
}

} // namespace drovak
