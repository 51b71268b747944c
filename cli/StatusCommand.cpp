// status: what changed in an unpacked folder, and what pack would do with it; writes nothing.
#include "base/Crc32.h"
#include "base/Errors.h"
#include "base/Paths.h"
#include "cli/PackCommand.h"
#include "mod/Pack.h"
#include "mod/PackDifferences.h"
#include "words/PackCommandWords.h"
#include "words/PackWords.h"
#include "words/RomProblemWords.h"

#include <set>
#include <sstream>

namespace drovak::cli {

int Status(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string& dir = arguments.Positional(0);
    PackPlan plan;
    try {
        plan = PlanPack(dir, arguments.Text("--base"));
    } catch (const RefusedError& error) {
        output.out << PackWouldRefuseText(dir, ErrorText(error)) << "\n";
        return EXIT_REFUSED;
    }
    if (plan.changes.empty() && plan.views.empty()) {
        output.out << NothingChangedText(dir, plan.manifest) << "\n";
        return EXIT_OK;
    }
    // A map that changed is a view and the source of its level's block data: one file.
    std::set<std::string> files;
    for (const PackedChange& change : plan.changes) files.insert(change.source);
    for (const ViewChange& view : plan.views) files.insert(view.path);
    output.out << FilesChangedText(dir, files.size(), plan.manifest) << "\n";
    bool asks = false;
    for (const PackedChange& change : plan.changes) {
        output.out << "  " << StatusChangeText(change, plan.manifest.table) << "\n";
        for (const std::string& question : PackQuestions(change)) {
            output.out << StatusQuestionLine(question) << "\n";
            asks = true;
        }
        for (const std::string& note : PackNotes(change))
            output.out << StatusNoteLine(note) << "\n";
        if (arguments.Has("--diff")) {
            for (const std::string& line : DifferenceLines(ChangeDifferences(plan, change)))
                output.out << "    " << line << "\n";
        }
    }
    for (const ViewChange& view : plan.views) {
        std::ostringstream notes;
        output.out << "  " << PackViewLine(view, notes) << "\n";
        std::istringstream lines(notes.str());
        for (std::string note; std::getline(lines, note);) output.out << "    " << note << "\n";
    }
    output.out << StatusEndText(asks) << "\n";
    return EXIT_OK;
}

} // namespace drovak::cli
