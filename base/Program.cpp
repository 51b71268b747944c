#include "base/Program.h"

#include "base/FileProblem.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace drovak {

std::vector<std::string> SplitCommandLine(const std::string& line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (size_t k = 0; k < line.size(); ++k) {
        const char c = line[k];
        if (quote == '\'') {
            if (c == '\'')
                quote = 0;
            else
                word += c;
        } else if (c == '\\' && k + 1 < line.size() &&
                   (quote == 0 || line[k + 1] == '"' || line[k + 1] == '\\')) {
            word += line[++k];
            inWord = true;
        } else if (quote == '"') {
            if (c == '"')
                quote = 0;
            else
                word += c;
        } else if (c == '\'' || c == '"') {
            quote = c;
            inWord = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord) words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quote != 0) {
        ThrowFileProblem({.kind = FileProblemKind::QuoteOpen, .path = "", .text = line});
    }
    if (inWord) words.push_back(std::move(word));
    if (words.empty()) ThrowFileProblem(FileProblemKind::EmptyCommandLine, "");
    return words;
}

std::vector<std::string> WithFile(std::vector<std::string> words, const std::string& path) {
    bool placed = false;
    for (std::string& word : words) {
        for (size_t at = 0; (at = word.find("%f", at)) != std::string::npos; at += path.size()) {
            word.replace(at, 2, path);
            placed = true;
        }
    }
    if (!placed) words.push_back(path);
    return words;
}

std::optional<std::string> FindProgram(const std::string& name) {
    if (name.empty()) return std::nullopt;
    if (name.find('/') != std::string::npos) {
        return access(name.c_str(), X_OK) == 0 ? std::optional(name) : std::nullopt;
    }
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (size_t start = 0;;) {
        const size_t end = folders.find(':', start);
        std::string folder = folders.substr(start, end - start);
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        if (end == std::string::npos) return std::nullopt;
        start = end + 1;
    }
}

std::optional<std::string> EnvironmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return std::nullopt;
    return std::string(value);
}

void StartProgram(const std::vector<std::string>& words) {
    const std::optional<std::string> program = FindProgram(words.at(0));
    if (!program) ThrowFileProblem(FileProblemKind::NoSuchProgram, words[0]);
    std::vector<char*> argv;
    for (const std::string& word : words) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, stops;
    sigemptyset(&none);
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    // Its own process group, the signals this program holds back (FolderWatch) let through.
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &stops);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    pid_t pid = -1;
    const int failed =
        posix_spawn(&pid, program->c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (failed != 0) ThrowFileProblem(FileProblemKind::CannotStart, *program, failed);
}

void ReapEndedPrograms() {
    while (::waitpid(-1, nullptr, WNOHANG) > 0) {
    }
}

std::optional<std::vector<std::string>> EmulatorCommand(const std::optional<std::string>& setting,
                                                        const std::string& romPath) {
    std::optional<std::string> line = EnvironmentValue("DROVAK_EMULATOR");
    if (!line && setting && !setting->empty()) line = setting;
    if (!line) {
        for (const char* name : {"blastem", "mednafen"}) {
            if (FindProgram(name)) {
                line = std::string(name) + " %f";
                break;
            }
        }
    }
    if (!line) return std::nullopt;
    return WithFile(SplitCommandLine(*line), romPath);
}

} // namespace drovak
