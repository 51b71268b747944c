#include "app/WindowArguments.h"

namespace drovak::app {

WindowArguments ParseWindowArguments(const QStringList& arguments) {
    using Action = WindowArguments::Action;
    const qsizetype end = arguments.indexOf("--");
    const QStringList options = end < 0 ? arguments : arguments.mid(0, end);
    WindowArguments result;
    if (options.contains("--help") || options.contains("-h")) {
        result.action = Action::Help;
        return result;
    }
    if (options.contains("--version")) {
        result.action = Action::Version;
        return result;
    }
    for (const QString& option : options) {
        // A "-" alone is a file name like any other.
        if (option.startsWith('-') && option != "-") {
            result.action = Action::Wrong;
            result.problem = "unknown option \"" + option + "\"";
            return result;
        }
    }
    const QStringList files = end < 0 ? options : options + arguments.mid(end + 1);
    if (files.size() > 1) {
        result.action = Action::Wrong;
        result.problem = "one ROM image at most, not " + QString::number(files.size());
    } else if (!files.isEmpty()) {
        result.rom = files.front();
    }
    return result;
}

QString WindowHelpText() {
    return "Usage: drovak [ROM]\n"
           "       drovak --help | --version\n"
           "\n"
           "The Drovak window: decompress, view and recompress the data of a Mega Drive\n"
           "cartridge image (LZH and RLE compression, the Levels Viewer, the title screen).\n"
           "\n"
           "  ROM        the ROM image to open at start-up instead of tf3.bin beside the\n"
           "             program; one that can't be read is named in the status line\n"
           "  -h, --help     print this help and end\n"
           "  --version      print the program's version and end\n"
           "\n"
           "Every change keeps the previous image as NAME.bak beside the ROM. drovak-cli runs\n"
           "the same operations from the command line; man drovak says the rest.\n";
}

} // namespace drovak::app
