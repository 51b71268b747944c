#pragma once
#include "base/Progress.h"

#include <cstdint>
#include <vector>

namespace drovak::test {

// Records the steps long work reports; says "cancelled" once it has heard `cancelAfter` of them.
struct ProgressWatcher final : Progress {
    std::vector<uint64_t> done;
    uint64_t total = 0;
    size_t cancelAfter = SIZE_MAX;
    void Step(uint64_t now, uint64_t of, std::string_view) override {
        done.push_back(now);
        total = of;
    }
    bool Cancelled() const override { return done.size() >= cancelAfter; }
};

} // namespace drovak::test
