#include "cli/InsertRefusals.h"

#include "base/Errors.h"

namespace drovak::cli {

namespace {

std::string FileGrowth(const RleInsertPlan& plan) {
    return "runs past the end of the file: the file grows from " + std::to_string(plan.fileSize) +
           " to " + std::to_string(plan.newFileSize) + " bytes";
}

} // namespace

std::string LzhEmptyInputText(const LzhInsertPlan& plan, const std::string& inputName) {
    std::string text =
        "The file " + inputName + " is empty! Entry " + HexText(plan.index) + " will hold no data";
    if (!plan.moves.empty()) {
        text += ", and the data of the entries after it moves back by " +
                std::to_string(plan.oldSize - plan.newSize) + " bytes";
    }
    return text + ". Do you want to continue?";
}

std::string RleEmptyInputText(const RleInsertPlan& plan, const std::string& inputName) {
    return "The file " + inputName + " is empty! The block at " + HexText(plan.offset) +
           " will hold no data. Do you want to continue?";
}

std::string LzhGrowthText(const LzhInsertPlan& plan) {
    std::string text = "the new compressed data (" + std::to_string(plan.newSize) +
                       " bytes) is larger than the old (" + std::to_string(plan.oldSize) +
                       " bytes): the sizes table would be recalculated and the data of the "
                       "following entries moved. " +
                       std::to_string(plan.tailOverwritten) +
                       " bytes after the table's data will be overwritten, from " +
                       HexText(plan.tailStart) + " on; " + std::to_string(plan.tailNotBlank) +
                       " of them are not 00 or FF.";
    if (plan.newFileSize > plan.fileSize) {
        text += " The file grows from " + std::to_string(plan.fileSize) + " to " +
                std::to_string(plan.newFileSize) + " bytes.";
    }
    return text;
}

std::string RleGrowthText(const RleInsertPlan& plan) {
    const std::string at = HexText(plan.offset);
    const std::string size = std::to_string(plan.packed.size());
    const bool grows = plan.newFileSize > plan.fileSize;
    if (!plan.oldBlockSize) {
        return "There is no valid RLE block at " + at + "! The new block " +
               (grows ? "(" + size + " bytes) " + FileGrowth(plan)
                      : "will overwrite the " + size + " bytes from there") +
               ". Do you want to continue?";
    }
    const std::string old = at + " (" + std::to_string(*plan.oldBlockSize) + " bytes)";
    return "New size of the compressed data is greater than previous! The new block (" + size +
           " bytes) " +
           (grows ? "replaces the old one at " + old + " and " + FileGrowth(plan)
                  : "will overwrite " + std::to_string(plan.bytesBeyondOldBlock) +
                        " bytes after the old one at " + old) +
           ". Do you want to continue?";
}

} // namespace drovak::cli
