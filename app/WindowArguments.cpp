#include "app/WindowArguments.h"

#include "words/WindowWords.h"

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
            result.problem = QString::fromStdString(UnknownWindowOptionText(option.toStdString()));
            return result;
        }
    }
    const QStringList files = end < 0 ? options : options + arguments.mid(end + 1);
    if (files.size() > 1) {
        result.action = Action::Wrong;
        result.problem = QString::fromStdString(TooManyRomsText(uint64_t(files.size())));
    } else if (!files.isEmpty()) {
        result.rom = files.front();
    }
    return result;
}

} // namespace drovak::app
