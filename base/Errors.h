#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace drovak {

// Every failure inside the core is one of these. Most carry their problem as data (below, and
// base/FileProblem.h): callers show what words/ makes of it (ErrorText), never what(); nothing
// has been written when they see it unless the words say so.
class DrovakError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file could not be opened, read or written, or is shorter than a position that was read.
class FileError : public DrovakError {
public:
    using DrovakError::DrovakError;
};

// An operation was refused because going on would write wrong or unbounded data (an index
// beyond the working table, a decoded size beyond the limit, a run the encoder can't write,
// a question answered No). Nothing was written.
class RefusedError : public DrovakError {
public:
    using DrovakError::DrovakError;
};

// An output that already exists and holds other data was not replaced: the one who asked for
// it is asked again (drovak-cli: --yes). Nothing was written.
class OtherContentError : public RefusedError {
public:
    using RefusedError::RefusedError;
};

// Another program holds the file's lock (a read or a change of it is under way): nothing was
// read or written.
class InUseError : public RefusedError {
public:
    using RefusedError::RefusedError;
};

// Long work was cancelled by the one who started it: what it had begun is removed, the target is
// as it was. It names the file the work was for, once that is known.
class CancelledError : public DrovakError {
public:
    explicit CancelledError(std::string file = {})
        : DrovakError("cancelled"), file_(std::move(file)) {}
    const std::string& File() const { return file_; }

private:
    std::string file_;
};

// What a layer's exceptions carry besides their text: the problem as data (a kind and its
// numbers), which words/ turns into the sentence a user reads. Find it with CarriedProblem.
template <typename Problem> class ProblemCarrier {
public:
    explicit ProblemCarrier(Problem problem) : problem_(std::move(problem)) {}
    virtual ~ProblemCarrier() = default;
    const Problem& Carried() const { return problem_; }

private:
    Problem problem_;
};

// The problem of that type an exception carries, or nothing.
template <typename Problem> const Problem* CarriedProblem(const std::exception& error) {
    const auto* carrier = dynamic_cast<const ProblemCarrier<Problem>*>(&error);
    return carrier != nullptr ? &carrier->Carried() : nullptr;
}

// What an errno value means, in words ("No space left on device"). Every message about a failed
// system call takes its reason from here.
std::string SystemReason(int error);

// "0x1F" style text for messages (upper-case digits after "0x").
std::string HexText(unsigned long long value);

} // namespace drovak
