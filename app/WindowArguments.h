#pragma once

#include <QString>
#include <QStringList>

namespace drovak::app {

// What the window's command line asks for: drovak [ROM], drovak --help, drovak --version.
struct WindowArguments {
    enum class Action { Open, Help, Version, Wrong };
    Action action = Action::Open;
    QString rom;     // Open: the ROM image named, empty when none is
    QString problem; // Wrong: what is wrong with the command line
};

// The arguments after the program's name. --help (-h) and --version win over anything else
// before a "--"; after it every argument is a file name. More than one ROM image, or an
// option of neither kind, is Wrong.
WindowArguments ParseWindowArguments(const QStringList& arguments);

} // namespace drovak::app
