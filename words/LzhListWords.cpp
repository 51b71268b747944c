#include "words/LzhListWords.h"

#include "base/Errors.h"

namespace drovak {

std::string EntryRoleText(const EntryRole& role) {
    return std::string(role.kind == EntryRole::TileArt ? "tile art" : "blocks") + ", level " +
           std::to_string(role.level + 1);
}

std::string EntryProblemText(EntryProblem problem) {
    return problem == EntryProblem::DecodedSizeOverLimit ? "decoded size over the limit"
                                                         : "data past the end of the file";
}

std::array<std::string, 6> LzhListCells(const LzhListEntry& entry) {
    return {HexText(entry.index),
            HexText(entry.entry.DataOffset),
            std::to_string(entry.entry.DecodedSize),
            std::to_string(entry.entry.PackedSize),
            entry.problem ? "no (" + EntryProblemText(*entry.problem) + ")" : "yes",
            entry.role ? EntryRoleText(*entry.role) : ""};
}

} // namespace drovak
