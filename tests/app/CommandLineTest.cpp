// The window's command line: drovak [ROM], --help and --version.
#include "WindowTest.h"

#include "app/WindowArguments.h"

#include <cstdio>

namespace {

using Action = app::WindowArguments::Action;

TEST(AppCommandLine, ArgumentsAreARomHelpVersionOrWrong) {
    struct Case {
        QStringList arguments;
        Action action;
        QString rom;
        QString problem;
    };
    const Case cases[] = {
        {{}, Action::Open, "", ""},
        {{"game.bin"}, Action::Open, "game.bin", ""},
        {{"-h"}, Action::Help, "", ""},
        {{"game.bin", "--help"}, Action::Help, "", ""},
        {{"--version"}, Action::Version, "", ""},
        // Help and version win over what is wrong.
        {{"--bogus", "--version"}, Action::Version, "", ""},
        {{"a.bin", "b.bin", "--help"}, Action::Help, "", ""},
        {{"--bogus"}, Action::Wrong, "", "unknown option \"--bogus\""},
        {{"-x", "game.bin"}, Action::Wrong, "", "unknown option \"-x\""},
        {{"a.bin", "b.bin"}, Action::Wrong, "", "one ROM image at most, not 2"},
        {{"a.bin", "--", "b.bin"}, Action::Wrong, "", "one ROM image at most, not 2"},
        // After "--" a name that looks like an option is a file; "-" alone is one anyway.
        {{"--", "--help"}, Action::Open, "--help", ""},
        {{"-"}, Action::Open, "-", ""},
    };
    for (const Case& c : cases) {
        const app::WindowArguments parsed = app::ParseWindowArguments(c.arguments);
        const std::string line = c.arguments.join(' ').toStdString();
        EXPECT_EQ(parsed.action, c.action) << line;
        EXPECT_EQ(parsed.rom, c.rom) << line;
        EXPECT_EQ(parsed.problem, c.problem) << line;
    }
}

// The program itself, with `environment` before it: what it printed on stdout and stderr, and
// its exit code.
struct Ran {
    std::string output;
    int exitCode = -1;
};
Ran RunWindowProgram(const std::string& environment, const std::string& arguments) {
    const std::string command = "env " + environment + " " DROVAK_WINDOW " " + arguments + " 2>&1";
    Ran ran;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return ran;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        ran.output.append(buffer, got);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) ran.exitCode = WEXITSTATUS(status);
    return ran;
}

TEST(AppCommandLine, HelpAndVersionNeedNoDisplayAndAWrongLineExits1) {
    const std::string noDisplay = "-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM";
    const Ran version = RunWindowProgram(noDisplay, "--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output, "drovak " DROVAK_VERSION "\n");
    const Ran help = RunWindowProgram(noDisplay, "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("Usage: drovak [ROM]\n", 0), 0u) << help.output;

    const Ran two = RunWindowProgram("QT_QPA_PLATFORM=offscreen", "a.bin b.bin");
    EXPECT_EQ(two.exitCode, 1);
    // (The toolkit may have a remark of its own before it.)
    EXPECT_TRUE(drovak::test::Holds(two.output,
                                    "drovak: one ROM image at most, not 2\nUsage: drovak [ROM]\n"));
    // The toolkit's own options are not the window's.
    const Ran bogus = RunWindowProgram("-u DISPLAY", "-platform offscreen --bogus");
    EXPECT_EQ(bogus.exitCode, 1);
    EXPECT_TRUE(drovak::test::Holds(bogus.output, "unknown option \"--bogus\""));
}

} // namespace
