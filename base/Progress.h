#pragma once

#include <cstdint>
#include <string_view>

#include "base/Errors.h"

namespace drovak {

// What long work reports as it goes, and how it learns that it should stop. The work calls Step
// after each piece (done of total pieces, and what the piece was) and asks Cancelled between
// pieces; a cancelled piece of work throws CancelledError once it has removed what it started,
// so the target stays as it was. The terminal's progress line and the window's task runner
// implement it; work started without one reports to NoProgress.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void Step(uint64_t done, uint64_t total, std::string_view what) = 0;
    virtual bool Cancelled() const { return false; }

    // Throws CancelledError when Cancelled() says so.
    void ThrowIfCancelled() const {
        if (Cancelled()) throw CancelledError();
    }
};

// Progress that nobody watches: the default for work started without a watcher.
class NoProgress final : public Progress {
public:
    void Step(uint64_t, uint64_t, std::string_view) override {}
};

} // namespace drovak
