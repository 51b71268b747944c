#include "png/ParallelDeflate.h"
#include "base/Crc32.h"
#include "base/Errors.h"
#include "support/PngReading.h"
#include "support/TestSupport.h"

#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <tuple>
#include <zlib.h>

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
    // Parts, level, the part left empty (none when past the end).
    const std::tuple<size_t, int, size_t> cases[] = {
        {1, 9, 1}, {1, 9, 0}, {40, 9, 7}, {40, 0, 39}, {3, 6, 0}};
    for (const auto& [parts, level, emptyPart] : cases) {
        Bytes whole;
        for (size_t i = 0; i < parts; ++i) whole = test::Cat(whole, PartBytes(i, emptyPart));
        Bytes first;
        for (unsigned threads : {1u, 2u, 5u}) {
            Bytes stream;
            ParallelDeflate(
                parts, level, threads,
                [&, emptyPart = emptyPart](size_t index, DeflatePart& part) {
                    for (size_t i = 0; i < index; ++i)
                        part.history = test::Cat(part.history, PartBytes(i, emptyPart));
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

// Level 9's full search is zlib's own; the quick one parses the long matches otherwise.
TEST(ParallelDeflate, Level9sFullSearchIsZlibsOwnAndTheQuickOneIsNot) {
    Bytes data; // words of 64 at random: matches of a few words, longer than 16 bytes
    std::mt19937 random(1);
    while (data.size() < 100000) {
        const unsigned word = random() % 64;
        for (unsigned k = 0; k < 3 + word % 9; ++k)
            data.push_back(uint8_t('a' + (word * 7 + k * k) % 26));
        data.push_back(' ');
    }
    // Strings that share their first 3 bytes, each found again as the 4097th and the 4096th of
    // them back, and as the 2000th after a match of 4 and one of 3 (a search cut to 1024 for a
    // match of 4 or more before misses those); a run of 300 bytes whose first 257 come again.
    const auto shared = [&](uint8_t before, unsigned k) {
        data.insert(data.end(), {before, 'A', 'B', 'C', uint8_t(k >> 6), uint8_t(k % 64)});
    };
    Bytes run(300);
    for (uint8_t& byte : run) byte = uint8_t(random());
    data.insert(data.end(), run.begin(), run.end());
    for (unsigned k = 0; k < 5000; ++k) shared('D', k);
    data.insert(data.end(), {'W', 'A', 'B', 'C', 'Q', 'V', 'A', 'B', 'R'});
    for (const auto& [before, k] :
         {std::pair<uint8_t, unsigned>{'Z', 904}, {'Y', 906}, {'W', 3003}, {'V', 3000}})
        shared(before, k);
    data.insert(data.end(), run.begin(), run.begin() + 257);
    data.insert(data.end(), {'q', 'Z'});
    data.insert(data.end(), run.begin(), run.end());
    Bytes zlib(compressBound(uLong(data.size())));
    uLongf size = uLongf(zlib.size());
    ASSERT_EQ(compress2(zlib.data(), &size, data.data(), uLong(data.size()), 9), Z_OK);
    zlib.resize(size);
    for (const Level9Search search : {Level9Search::Full, Level9Search::Quick}) {
        Bytes stream;
        ParallelDeflate(
            1, 9, 1, [&](size_t, DeflatePart& part) { part.bytes = data; },
            [&](const uint8_t* at, size_t n) { stream.insert(stream.end(), at, at + n); }, search);
        EXPECT_EQ(test::Inflate(stream, data.size()), data);
        EXPECT_EQ(stream == zlib, search == Level9Search::Full) << stream.size() << " " << size;
        // The quick search's bytes, as this zlib makes them (another version may match otherwise).
        if (search == Level9Search::Quick && std::string(zlibVersion()) == "1.2.13") {
            EXPECT_EQ(CrcText(Crc32(stream)), "37A53FC9");
        }
    }
}

// However slow the writer, the workers go on to two parts a worker past the part being written,
// and no further: the compressed parts never all wait in memory at once.
TEST(ParallelDeflate, WorkersStayTwoPartsAWorkerAheadOfASlowWriter) {
    std::atomic<size_t> made{0};
    size_t writes = 0;
    bool waited = true;
    std::vector<size_t> madeAtWrite, expected;
    ParallelDeflate(
        40, 1, 2,
        [&](size_t index, DeflatePart& part) {
            part.bytes = PartBytes(index, SIZE_MAX);
            ++made;
        },
        [&](const uint8_t*, size_t) {
            expected.push_back(std::min<size_t>(writes++ + 5, 40));
            const auto end = std::chrono::steady_clock::now() + 5s;
            while (waited && made < expected.back()) {
                waited = std::chrono::steady_clock::now() < end;
                std::this_thread::sleep_for(1ms);
            }
            std::this_thread::sleep_for(1ms);
            madeAtWrite.push_back(made);
        });
    EXPECT_EQ(madeAtWrite, expected);
}

TEST(ParallelDeflate, TheFirstFailureReachesTheCallerOnceEveryWorkerHasEnded) {
    // The part whose making fails, or the write call that fails; threads.
    constexpr size_t none = SIZE_MAX;
    const std::tuple<size_t, size_t, unsigned> cases[] = {
        {0, none, 1}, {0, none, 2}, {2, none, 3}, {none, 0, 1}, {none, 5, 2}};
    for (const auto& [failingPart, failingWrite, threads] : cases) {
        std::atomic<size_t> made{0};
        size_t writes = 0;
        const std::string failure = test::MessageOf<FileError>(
            [&, failingPart = failingPart, failingWrite = failingWrite, threads = threads] {
                ParallelDeflate(
                    30, 9, threads,
                    [&](size_t index, DeflatePart& part) {
                        if (index == failingPart) throw FileError("part " + std::to_string(index));
                        part.bytes = PartBytes(index, none);
                        ++made;
                    },
                    [&](const uint8_t*, size_t) {
                        if (writes++ == failingWrite) throw FileError("write");
                    });
            });
        EXPECT_EQ(failure, failingWrite == none ? "part " + std::to_string(failingPart)
                                                : std::string("write"));
        // Workers stop taking parts: only those under way and a few waiting to be written.
        EXPECT_LT(made, 15u) << threads << " threads";
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
