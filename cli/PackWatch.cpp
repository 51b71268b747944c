// pack --watch: a pack each time a file of the folder is saved, until Ctrl+C.
#include "base/Errors.h"
#include "base/FolderWatch.h"
#include "base/Paths.h"
#include "base/Program.h"
#include "cli/PackCommand.h"
#include "mod/Pack.h"
#include "words/PackCommandWords.h"
#include "words/RomChangeWords.h"
#include "words/RomProblemWords.h"

#include <algorithm>
#include <chrono>

namespace drovak::cli {

namespace {

// Saves closer together than this are one.
constexpr std::chrono::milliseconds SETTLE{500};

// The time of day, and the text on one line.
std::string Stamped(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const std::string time =
        LocalTimeText(std::chrono::duration_cast<std::chrono::seconds>(now).count());
    return time.substr(time.size() > 8 ? time.size() - 8 : 0) + " " + text;
}

// A pack, said in one line after the files whose saves started it ("20000_9.png saved: ");
// a refusal or a file that can't be read is said and the watch goes on.
bool PackLine(const ParsedArguments& arguments, CommandOutput& output,
              const std::vector<std::string>& saved) {
    std::string names;
    for (const std::string& path : saved) names += (names.empty() ? "" : ", ") + FileNamePart(path);
    try {
        output.out << Stamped(SavedText(names) + PackOnce(arguments, output, false)) << std::endl;
        return true;
    } catch (const DrovakError& error) {
        output.out << Stamped(SavedText(names) + NotPackedText(ErrorText(error))) << std::endl;
        return false;
    }
}

} // namespace

int WatchAndPack(const ParsedArguments& arguments, CommandOutput& output) {
    const std::string &dir = arguments.Positional(0), &out = arguments.Positional(1);
    // Each pack starts from the base: written over, it would be the base of none after.
    const std::string base = PackBasePath(ReadManifest(dir), dir, arguments.Text("--base"));
    if (out == base || SameFile(out, base)) {
        throw RefusedError(WatchOverBaseText(out));
    }
    // No save can move OUT or the patch out of the folder: refused now, not at each save.
    RefuseOutputsInsideFolder(arguments);
    FolderWatch watch(dir);
    // Nor are an editor's hidden and backup files.
    const auto counts = [](const std::string&, const std::string& name) {
        return !name.empty() && name.front() != '.' && name.back() != '~';
    };
    std::vector<std::string> emulator =
        arguments.Has("--run") ? EmulatorFor(out) : std::vector<std::string>{};
    // The emulator starts after the first pack that writes OUT, once.
    const auto run = [&] {
        if (!emulator.empty()) StartEmulator(emulator, arguments.Positional(1), output);
        emulator.clear();
    };
    if (PackLine(arguments, output, {})) run();
    output.out << WatchingText(dir) << std::endl;
    for (;;) {
        const FolderWatch::Saves saves = watch.Next(SETTLE, counts);
        ReapEndedPrograms();
        if (saves.stopped) break;
        if (PackLine(arguments, output, saves.paths)) run();
    }
    output.out << StoppedWatchingText(dir) << std::endl;
    return EXIT_OK;
}

} // namespace drovak::cli
