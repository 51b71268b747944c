#pragma once

#include "base/Progress.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak::test {

// Records the steps long work reports, and says "cancelled" once it has heard `cancelAfter`.
struct ProgressWatcher final : Progress {
    std::vector<uint64_t> done;
    uint64_t total = 0;
    size_t cancelAfter = SIZE_MAX;
    void Step(uint64_t doneNow, uint64_t totalNow, std::string_view) override {
        done.push_back(doneNow);
        total = totalNow;
    }
    bool Cancelled() const override { return done.size() >= cancelAfter; }
};

} // namespace drovak::test
