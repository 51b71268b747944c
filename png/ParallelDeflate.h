#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace drovak {

// How far back deflate looks: a part is primed with this much of the bytes before it.
constexpr size_t DEFLATE_WINDOW = 32768;

// One part of the bytes to compress, and the bytes just before it in the whole stream (only
// the last DEFLATE_WINDOW of them are used; none for the first part).
struct DeflatePart {
    std::vector<uint8_t> history;
    std::vector<uint8_t> bytes;
};

// How level 9 searches for matches: as zlib's own level 9 (Full), or in about half the time for
// the same size within 0.01 % on level planes (Quick: lazy matching only below 16 bytes, and a
// quarter of the search once a match of 4 bytes is in hand). Other levels are zlib's own.
enum class Level9Search : uint8_t { Full, Quick };

// Compresses partCount parts, made by makePart(index, part), into one zlib stream (15-bit
// window, memory level 8, default strategy) that write(data, size) receives in order.
//
// Each part is deflated on its own, primed with the history before it as a preset dictionary,
// and ends on a byte boundary (a sync flush; the last part finishes the stream), so the parts'
// outputs joined are one stream; its Adler-32 is combined from the parts'. Up to `threads` parts
// are made and compressed at once on worker threads (0: one per core); the bytes do not depend
// on the number of threads. makePart runs on the workers, write on the calling thread. Every
// worker has ended before this returns; the first exception of makePart, write or the
// compressor is rethrown (DrovakError when zlib fails).
void ParallelDeflate(size_t partCount, int level, unsigned threads,
                     const std::function<void(size_t index, DeflatePart& part)>& makePart,
                     const std::function<void(const uint8_t* data, size_t size)>& write,
                     Level9Search search = Level9Search::Quick);

// The number of threads that `threads` stands for: itself, or one per core for 0.
unsigned DeflateThreads(unsigned threads);

} // namespace drovak
