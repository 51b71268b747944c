// Progress of long work: one line written over on a terminal, a line per step elsewhere; and
// level-png under a pseudo-terminal and under a pipe.
#include "cli/Progress.h"
#include "CliRunner.h"
#include "demo/DemoRom.h"

#include <algorithm>
#include <pty.h>
#include <unistd.h>

namespace drovak::test {
namespace {

using cli::Progress;

TEST(CliProgress, WritesALinePerStepOrOneLineWrittenOver) {
    struct Case {
        const char* name;
        std::optional<unsigned> columns;
        std::vector<std::string> steps;
        std::string expected;
    };
    const Case cases[] = {
        {"pipe", {}, {"screen 1 of 2", "screen 2 of 2"}, "screen 1 of 2\nscreen 2 of 2\n"},
        {"pipe, nothing done", {}, {}, ""},
        {"terminal", 80u, {"screen 1 of 2", "screen 2 of 2"}, "\rscreen 1 of 2\rscreen 2 of 2\n"},
        // Nothing shown, nothing to end.
        {"terminal, nothing done", 80u, {}, ""},
        // A shorter text wipes out the rest of the longer one before it.
        {"terminal, shorter", 80u, {"abcdef", "xy", "z"}, "\rabcdef\rxy    \rz \n"},
        // A text wider than the terminal keeps its end, where the count is: the cursor stays
        // on the line (9 of 10 columns).
        {"narrow", 10u, {"folder/Level_01_PlaneA.png written (1 of 16)"}, "\r...of 16)\n"},
        {"terminal, exactly one column less", 10u, {"123456789"}, "\r123456789\n"},
        {"five columns", 5u, {"abcdef"}, "\r...f\n"},
        {"four columns", 4u, {"abcdef"}, "\r...\n"},
        // Work that fails ends the line as it unwinds: the message goes on a line of its own.
        {"terminal, failed", 80u, {"screen 3 of 32", ""}, "\rscreen 3 of 32\ndrovak-cli: failed\n"},
    };
    for (const Case& c : cases) {
        std::ostringstream err;
        try {
            Progress progress(err, c.columns);
            for (const std::string& step : c.steps) {
                if (step.empty()) throw std::runtime_error("failed");
                progress.Step(step);
            }
        } catch (const std::runtime_error& error) {
            err << "drovak-cli: " << error.what() << "\n";
        }
        EXPECT_EQ(err.str(), c.expected) << c.name;
    }
}

// drovak-cli run with a pseudo-terminal as its stdin, stdout and stderr; what it wrote there.
CliResult RunOnTerminal(const Args& arguments, int columns) {
    Args argv = {DROVAK_CLI};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const std::vector<char*> pointers = CliTest::Pointers(argv);
    winsize size{24, static_cast<unsigned short>(columns), 0, 0}; // rows, columns, pixels
    int terminal = -1;
    const pid_t pid = ::forkpty(&terminal, nullptr, nullptr, &size);
    if (pid == 0) {
        ::execv(DROVAK_CLI, pointers.data());
        ::_exit(127);
    }
    CliResult result;
    if (pid < 0) return result;
    char buffer[4096];
    // The read fails (EIO) once the program has ended and closed its side.
    for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;)
        result.err.append(buffer, static_cast<size_t>(got));
    ::close(terminal);
    int status = 0;
    if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

using CliProgressRun = CliTest;

TEST_F(CliProgressRun, LevelPngWritesOneLineOnATerminalAndALinePerPartToAPipe) {
    const std::string rom = Write("demo.bin", MakeDemoRom());
    // A terminal that tells no width (0 columns) is taken as 80 columns wide.
    for (const int columns : {80, 0}) {
        const std::string out = File("out" + std::to_string(columns) + ".png");
        const CliResult terminal =
            RunOnTerminal({"level-png", rom, out, "--level", "1", "--plane", "A"}, columns);
        ASSERT_EQ(terminal.exitCode, 0) << terminal.err;
        // The progress line, ended, then what was written (the terminal shows stdout too).
        EXPECT_LE(std::count(terminal.err.begin(), terminal.err.end(), '\n'), 3) << terminal.err;
        EXPECT_EQ(std::count(terminal.err.begin(), terminal.err.end(), '\r'), 32 + 2) // "\r\n"
            << terminal.err;
        EXPECT_TRUE(Holds(terminal.err, "512 of 512\r\n" + out + " written: 16384 x 512 pixels, "));
        EXPECT_TRUE(Holds(terminal.err, "\rrows 512 of 512"));
    }

    const CliResult piped =
        Run({"level-png", rom, File("out.png"), "--level", "1", "--plane", "A"});
    ASSERT_EQ(piped.exitCode, 0) << piped.err;
    std::string expected;
    for (int part = 1; part <= 32; ++part)
        expected += "rows " + std::to_string(16 * part) + " of 512\n";
    EXPECT_EQ(piped.err, expected);
}

} // namespace
} // namespace drovak::test
