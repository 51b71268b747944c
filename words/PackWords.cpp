#include "words/PackWords.h"

#include "base/Errors.h"
#include "base/Paths.h"
#include "graphics/PngToTiles.h"
#include "rom/LevelLayout.h"
#include "words/GraphicsProblemWords.h"
#include "words/InsertLines.h"
#include "words/ModProblemWords.h"
#include "words/RomChangeWords.h"

#include <algorithm>

namespace drovak {

namespace {

// How many ranges a list of differing units shows before "and N more".
constexpr size_t RANGES_SHOWN = 8;

struct UnitWords {
    const char* many;
    unsigned rows; // layout cells: named by column and row
};

UnitWords WordsOf(DataUnit unit) {
    switch (unit) {
    case DataUnit::Tile:
        return {"tiles", 0};
    case DataUnit::PlaneABlock:
        return {"plane A blocks", 0};
    case DataUnit::PlaneBBlock:
        return {"plane B blocks", 0};
    case DataUnit::PlaneACell:
        return {"plane A layout cells", PLANE_A_BLOCK_ROWS};
    case DataUnit::PlaneBCell:
        return {"plane B layout cells", PLANE_B_BLOCK_ROWS};
    case DataUnit::Byte:
        break;
    }
    return {"bytes", 0};
}

std::string UnitText(uint32_t unit, unsigned rows) {
    return rows == 0
               ? std::to_string(unit)
               : "column " + std::to_string(unit / rows) + " row " + std::to_string(unit % rows);
}

// "3, 70-74, 90": the units, runs of neighbours as ranges (cells one by one).
std::string UnitList(const std::vector<uint32_t>& units, unsigned rows) {
    std::string text;
    size_t shown = 0, k = 0;
    for (; k < units.size() && shown < RANGES_SHOWN; ++shown) {
        size_t end = k + 1;
        while (rows == 0 && end < units.size() && units[end] == units[end - 1] + 1) ++end;
        if (shown) text += ", ";
        text += UnitText(units[k], rows);
        if (end - k > 1) {
            text += '-';
            text += UnitText(units[end - 1], rows);
        }
        k = end;
    }
    if (k < units.size()) text += " and " + std::to_string(units.size() - k) + " more";
    return text;
}

} // namespace

std::vector<std::string> PackQuestions(const PackedChange& change) {
    const std::string name = FileNamePart(change.source);
    std::vector<std::string> questions;
    if (change.grown) {
        questions.push_back("drawn beyond the " + std::to_string(change.grown->before) +
                            " tiles of " + ModFileDescription(change.file) + ": it holds " +
                            std::to_string(change.grown->after) +
                            " tiles, and the data grows by those tiles.");
    }
    if (change.lzh && change.lzh->emptyInput)
        questions.push_back(LzhEmptyInputText(*change.lzh, name));
    if (change.lzh && change.lzh->needsConfirmation)
        questions.push_back(LzhGrowthText(*change.lzh));
    if (change.rle && change.rle->emptyInput)
        questions.push_back(RleEmptyInputText(*change.rle, name));
    if (change.rle && change.rle->needsConfirmation)
        questions.push_back(RleGrowthText(*change.rle));
    return questions;
}

std::vector<std::string> PackNotes(const PackedChange& change) {
    if (!change.decidedBy) return {};
    return {PaletteDecidedText(change.source, change.decidedBy->source)};
}

std::string PackQuestionLines(const PackPlan& plan) {
    std::string text;
    for (const PackedChange& change : plan.changes) {
        for (const std::string& question : PackQuestions(change))
            text += "  " + FileNamePart(change.source) + ": " + question + "\n";
    }
    return text;
}

std::string PackChangeLine(const PackedChange& change) {
    return FileNamePart(change.source) + ": " + PackChangeText(change);
}

std::string PackChangeText(const PackedChange& change) {
    std::string line =
        (change.file.kind == ModKind::LzhEntry ? "entry " + HexText(change.file.index)
                                               : "RLE block at " + HexText(change.file.offset)) +
        " packed " + std::to_string(change.OldPackedSize()) + " -> " +
        std::to_string(change.NewPackedSize()) + " bytes";
    const std::vector<DataMove> moves = change.lzh ? change.lzh->moves : std::vector<DataMove>{};
    if (moves.empty())
        return line + (change.file.kind == ModKind::LzhEntry ? "; no entry moved" : "");
    uint32_t first = UINT32_MAX, last = 0;
    for (const DataMove& move : moves) {
        first = std::min(first, move.index);
        last = std::max(last, move.index);
    }
    const int64_t by = int64_t(moves.front().to) - int64_t(moves.front().from);
    const std::string moved = first == last ? "entry " + HexText(first)
                                            : "entries " + HexText(first) + " to " + HexText(last);
    return line + "; " + moved + " moved by " + (by > 0 ? "+" : "") + std::to_string(by) + " bytes";
}

std::string PackViewLine(const ViewChange& view, std::ostream& err) {
    const std::string name = view.record.name + ": " + ViewRole(view.record) + ", ";
    if (view.record.kind != ViewKind::Palette) {
        return name + std::to_string(view.cellsChanged) +
               (view.cellsChanged == 1 ? " cell changed" : " cells changed");
    }
    std::string snapped;
    for (const unsigned k : view.snapped) {
        snapped += (snapped.empty() ? "" : ", ") + std::to_string(k) + " (line " +
                   std::to_string(k / 16) + ", " + std::to_string(k % 16) + ")";
    }
    if (!snapped.empty()) {
        const bool one = view.snapped.size() == 1;
        err << "note: " << view.path << (one ? ": colour " : ": colours ") << snapped
            << (one ? " is not a colour" : " are not colours")
            << " the console shows; the nearest one is taken\n";
    }
    return name + std::to_string(view.coloursChanged.size()) +
           (view.coloursChanged.size() == 1 ? " colour changed" : " colours changed");
}

std::string NewFileLine(const std::string& out, const RomChange& change) {
    switch (change.checksum) {
    case ChecksumState::Right:
        return out + " written; header checksum right (" + ChecksumText(change.computedChecksum) +
               ").";
    case ChecksumState::Wrong:
        return out + " written; header checksum wrong (stored " +
               ChecksumText(change.storedChecksum) + ", computed " +
               ChecksumText(change.computedChecksum) + ").";
    case ChecksumState::NoHeader:
        break;
    }
    return out + " written.";
}

std::string ContentText(const ModContent& content) {
    const std::string level = " of level " + std::to_string(content.level + 1);
    switch (content.kind) {
    case ModContentKind::TileArt:
        return "tile art" + level;
    case ModContentKind::LevelBlocks:
        return "blocks and layout" + level;
    case ModContentKind::SpriteSheet:
        return "the sprite sheet";
    case ModContentKind::TitleArt:
        return "the title-screen art";
    case ModContentKind::Data:
        break;
    }
    return "data";
}

std::vector<std::string> DifferenceLines(const std::vector<UnitDifferences>& differences) {
    std::vector<std::string> lines;
    for (const UnitDifferences& units : differences) {
        const UnitWords words = WordsOf(units.unit);
        std::string line = words.many;
        if (!units.changed.empty()) {
            line += " that differ: " + UnitList(units.changed, words.rows) + " (" +
                    std::to_string(units.changed.size()) + " of " +
                    std::to_string(std::min(units.before, units.after)) + ")";
        }
        if (units.after != units.before) {
            line += std::string(units.changed.empty() ? ": " : "; ") +
                    std::to_string(units.before) + " before, " + std::to_string(units.after) +
                    " now";
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace drovak
