#include "app/InsertQuestions.h"

#include "base/Errors.h"

namespace drovak::app {

namespace {

std::string LzhTailLine(const LzhInsertPlan& plan) {
    std::string line = std::to_string(plan.tailOverwritten) +
                       " bytes after the table's data will be overwritten, from " +
                       HexText(plan.tailStart) + " on; " + std::to_string(plan.tailNotBlank) +
                       " of them are not 00 or FF.";
    if (plan.newFileSize > plan.fileSize) {
        line += " The file grows from " + std::to_string(plan.fileSize) + " to " +
                std::to_string(plan.newFileSize) + " bytes.";
    }
    return line;
}

std::string FileGrowth(const RleInsertPlan& plan) {
    return "runs past the end of the file: the file grows from " + std::to_string(plan.fileSize) +
           " to " + std::to_string(plan.newFileSize) + " bytes";
}

} // namespace

const char* const LZH_GROWTH_QUESTION =
    "New size of the compressed data is greater then previous!\r\n"
    "Drovak may recalculate sizes table. Do you want to continue?";

std::string LzhGrowthQuestion(const LzhInsertPlan& plan) {
    return std::string(LZH_GROWTH_QUESTION) + "\r\n" + LzhTailLine(plan);
}

std::string LzhEmptyInputQuestion(const LzhInsertPlan& plan, const std::string& inputName) {
    std::string consequence = "Entry " + HexText(plan.index) + " will hold no data";
    if (!plan.moves.empty()) {
        consequence += ", and the data of the entries after it moves back by " +
                       std::to_string(plan.oldSize - plan.newSize) + " bytes";
    }
    return "The file " + inputName + " is empty!\r\n" + consequence + ". Do you want to continue?";
}

std::string RleGrowthQuestion(const RleInsertPlan& plan) {
    const std::string at = HexText(plan.offset);
    const std::string size = std::to_string(plan.packed.size());
    const bool grows = plan.newFileSize > plan.fileSize;
    if (!plan.oldBlockSize) {
        return "There is no valid RLE block at " + at + "!\r\nThe new block " +
               (grows ? "(" + size + " bytes) " + FileGrowth(plan)
                      : "will overwrite the " + size + " bytes from there") +
               ". Do you want to continue?";
    }
    const std::string old = at + " (" + std::to_string(*plan.oldBlockSize) + " bytes)";
    return "New size of the compressed data is greater than previous!\r\nThe new block (" + size +
           " bytes) " +
           (grows ? "replaces the old one at " + old + " and " + FileGrowth(plan)
                  : "will overwrite " + std::to_string(plan.bytesBeyondOldBlock) +
                        " bytes after the old one at " + old) +
           ". Do you want to continue?";
}

std::string RleEmptyInputQuestion(const RleInsertPlan& plan, const std::string& inputName) {
    return "The file " + inputName + " is empty!\r\nThe block at " + HexText(plan.offset) +
           " will hold no data. Do you want to continue?";
}

} // namespace drovak::app
