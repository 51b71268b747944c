#include "png/ParallelDeflate.h"
#include "base/Errors.h"
#include "support/PngReading.h"

#include <gtest/gtest.h>

#include <atomic>
#include <tuple>

namespace drovak {
namespace {

using Bytes = std::vector<uint8_t>;

// Part i: 3000 bytes of a pattern that repeats across parts (so priming pays), or none for an
// empty part; the history is everything before it.
Bytes PartBytes(size_t index, size_t emptyPart) {
    Bytes bytes(index == emptyPart ? 0 : 3000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t((i * i / 7 + index) % 23);
    return bytes;
}

TEST(ParallelDeflate, PartsJoinIntoOneStreamThatDoesNotDependOnTheThreads) {
    // parts, level, the empty part (none when past the end)
    const std::tuple<size_t, int, size_t> cases[] = {
        {1, 9, 1}, {1, 9, 0}, {40, 9, 7}, {40, 0, 39}, {3, 6, 0}};
    for (const auto& [parts, level, emptyPart] : cases) {
        Bytes whole;
        for (size_t i = 0; i < parts; ++i) {
            const Bytes bytes = PartBytes(i, emptyPart);
            whole.insert(whole.end(), bytes.begin(), bytes.end());
        }
        Bytes first;
        for (unsigned threads : {1u, 2u, 5u}) {
            Bytes stream;
            ParallelDeflate(
                parts, level, threads,
                [&](size_t index, TDeflatePart& part) {
                    for (size_t i = 0; i < index; ++i) {
                        const Bytes before = PartBytes(i, emptyPart);
                        part.history.insert(part.history.end(), before.begin(), before.end());
                    }
                    part.bytes = PartBytes(index, emptyPart);
                },
                [&](const uint8_t* data, size_t size) {
                    stream.insert(stream.end(), data, data + size);
                });
            EXPECT_EQ(test::Inflate(stream, whole.size()), whole)
                << parts << " parts, level " << level << ", " << threads << " threads";
            if (first.empty()) first = stream;
            EXPECT_EQ(stream, first) << threads << " threads";
        }
    }
}

TEST(ParallelDeflate, TheFirstFailureReachesTheCallerOnceEveryWorkerHasEnded) {
    // The part whose making fails, or the write call that fails; threads.
    struct Case {
        size_t failingPart, failingWrite;
        unsigned threads;
    };
    constexpr size_t none = SIZE_MAX;
    for (const Case c : {Case{0, none, 1}, Case{0, none, 2}, Case{2, none, 3}, Case{none, 0, 1},
                         Case{none, 5, 2}}) {
        std::atomic<size_t> made{0};
        size_t writes = 0;
        try {
            ParallelDeflate(
                30, 9, c.threads,
                [&](size_t index, TDeflatePart& part) {
                    if (index == c.failingPart) throw FileError("part " + std::to_string(index));
                    part.bytes = PartBytes(index, none);
                    ++made;
                },
                [&](const uint8_t*, size_t) {
                    if (writes++ == c.failingWrite) throw FileError("write");
                });
            ADD_FAILURE() << "no failure";
        } catch (const FileError& error) {
            EXPECT_EQ(error.what(), c.failingWrite == none ? "part " + std::to_string(c.failingPart)
                                                           : std::string("write"));
        }
        // Workers stop taking parts: only those under way and a few waiting to be written.
        EXPECT_LT(made, 15u) << c.threads << " threads";
    }
}

} // namespace
} // namespace drovak
