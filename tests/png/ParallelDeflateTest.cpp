#include "png/ParallelDeflate.h"
#include "base/Errors.h"
#include "support/PngReading.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace drovak {
namespace {

using Bytes = std::vector<uint8_t>;
using namespace std::chrono_literals;

// Part i: 3000 bytes of a pattern that repeats across parts (so priming pays), or none for an
// empty part; the history is everything before it.
Bytes PartBytes(size_t index, size_t emptyPart) {
    Bytes bytes(index == emptyPart ? 0 : 3000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t((i * i / 7 + index) % 23);
    return bytes;
}

TEST(ParallelDeflate, PartsJoinIntoOneStreamThatDoesNotDependOnTheThreads) {
    struct Case {
        size_t parts;
        int level;
        size_t emptyPart; // none when past the end
    };
    for (const Case c :
         {Case{1, 9, 1}, Case{1, 9, 0}, Case{40, 9, 7}, Case{40, 0, 39}, Case{3, 6, 0}}) {
        Bytes whole;
        for (size_t i = 0; i < c.parts; ++i) {
            const Bytes bytes = PartBytes(i, c.emptyPart);
            whole.insert(whole.end(), bytes.begin(), bytes.end());
        }
        Bytes first;
        for (unsigned threads : {1u, 2u, 5u}) {
            Bytes stream;
            ParallelDeflate(
                c.parts, c.level, threads,
                [&](size_t index, DeflatePart& part) {
                    for (size_t i = 0; i < index; ++i) {
                        const Bytes before = PartBytes(i, c.emptyPart);
                        part.history.insert(part.history.end(), before.begin(), before.end());
                    }
                    part.bytes = PartBytes(index, c.emptyPart);
                },
                [&](const uint8_t* data, size_t size) {
                    stream.insert(stream.end(), data, data + size);
                });
            EXPECT_EQ(test::Inflate(stream, whole.size()), whole)
                << c.parts << " parts, level " << c.level << ", " << threads << " threads";
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
                [&](size_t index, DeflatePart& part) {
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

    // The second and third parts (1 and 2) fail, in this order, both under way at once, while the
    // caller still writes part 0: part 1's failure is the one reported.
    std::atomic<int> started{0}, failed{0};
    const auto waitFor = [](const std::atomic<int>& count, int least) {
        for (int i = 0; i < 200 && count < least; ++i) std::this_thread::sleep_for(10ms);
        std::this_thread::sleep_for(50ms); // for a failure to be recorded
    };
    const std::string error = test::MessageOf<FileError>([&] {
        ParallelDeflate(
            30, 1, 3,
            [&](size_t index, DeflatePart& part) {
                if (index == 1 || index == 2) {
                    ++started;
                    waitFor(started, 2);
                    if (index == 2) waitFor(failed, 1);
                    ++failed;
                    throw FileError("part " + std::to_string(index));
                }
                part.bytes = PartBytes(index, none);
            },
            [&](const uint8_t*, size_t) { waitFor(failed, 2); });
    });
    EXPECT_EQ(error, "part 1");
}

} // namespace
} // namespace drovak
