#include "words/InsertWords.h"

#include "base/Errors.h"

namespace drovak {

namespace {

std::string FileGrowth(const RleInsertPlan& plan) {
    return "runs past the end of the file: the file grows from " + std::to_string(plan.fileSize) +
           " to " + std::to_string(plan.newFileSize) + " bytes";
}

} // namespace

std::string LzhTailWords(const LzhInsertPlan& plan) {
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

const char* const LZH_GROWTH_QUESTION =
    "New size of the compressed data is greater then previous!\r\n"
    "Drovak may recalculate sizes table. Do you want to continue?";

std::string LzhGrowthBoxWords(const LzhInsertPlan& plan) {
    return std::string(LZH_GROWTH_QUESTION) + "\r\n" + LzhTailWords(plan);
}

std::string LzhGrowthLineWords(const LzhInsertPlan& plan) {
    return "the new compressed data (" + std::to_string(plan.newSize) +
           " bytes) is larger than the old (" + std::to_string(plan.oldSize) +
           " bytes): the sizes table would be recalculated and the data of the following "
           "entries moved. " +
           LzhTailWords(plan);
}

std::string LzhEmptyInputWords(const LzhInsertPlan& plan, const std::string& inputName,
                               const char* lineBreak) {
    std::string text = "The file " + inputName + " is empty!" + lineBreak + "Entry " +
                       HexText(plan.index) + " will hold no data";
    if (!plan.moves.empty()) {
        text += ", and the data of the entries after it moves back by " +
                std::to_string(plan.oldSize - plan.newSize) + " bytes";
    }
    return text + ". Do you want to continue?";
}

std::string RleEmptyInputWords(const RleInsertPlan& plan, const std::string& inputName,
                               const char* lineBreak) {
    return "The file " + inputName + " is empty!" + lineBreak + "The block at " +
           HexText(plan.offset) + " will hold no data. Do you want to continue?";
}

std::string RleGrowthWords(const RleInsertPlan& plan, const char* lineBreak) {
    const std::string at = HexText(plan.offset);
    const std::string size = std::to_string(plan.packed.size());
    const bool grows = plan.newFileSize > plan.fileSize;
    const std::string notBlank =
        "; " + std::to_string(plan.beyondNotBlank) + " of them are not 00 or FF";
    if (!plan.oldBlockSize) {
        return "There is no valid RLE block at " + at + "!" + lineBreak + "The new block " +
               (grows ? "(" + size + " bytes) " + FileGrowth(plan)
                      : "will overwrite the " + size + " bytes from there" + notBlank) +
               ". Do you want to continue?";
    }
    const std::string old = at + " (" + std::to_string(*plan.oldBlockSize) + " bytes)";
    return "New size of the compressed data is greater than previous!" + std::string(lineBreak) +
           "The new block (" + size + " bytes) " +
           (grows ? "replaces the old one at " + old + " and " + FileGrowth(plan)
                  : "will overwrite " + std::to_string(plan.bytesBeyondOldBlock) +
                        " bytes after the old one at " + old + notBlank) +
           ". Do you want to continue?";
}

} // namespace drovak
