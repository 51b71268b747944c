#include "png/ParallelDeflate.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "png/PngProblem.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <zlib.h>

namespace drovak {

namespace {

// zlib counts in uInt.
constexpr size_t ZLIB_STEP = size_t(1) << 30;

// How many parts may wait, compressed, for the ones before them to be written, per worker.
constexpr size_t PARTS_AHEAD_PER_WORKER = 2;

struct CompressedPart {
    std::vector<uint8_t> data;
    uLong adler = 1; // of the part's bytes
    size_t size = 0; // bytes before compression
};

// One deflate stream, used for part after part. The first part carries the zlib header; the
// others are raw deflate data.
class PartStream {
public:
    PartStream(int level, Level9Search search, bool first)
        : quick_(level == 9 && search == Level9Search::Quick) {
        if (deflateInit2(&z_, level, Z_DEFLATED, first ? 15 : -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
            ThrowPngProblem({PngProblemKind::CompressorNotStarted});
        }
    }
    ~PartStream() { deflateEnd(&z_); }
    PartStream(const PartStream&) = delete;
    PartStream& operator=(const PartStream&) = delete;

    // Compresses bytes after history into out (replacing what it held).
    void Compress(const std::vector<uint8_t>& history, const std::vector<uint8_t>& bytes, bool last,
                  std::vector<uint8_t>& out) {
        if (deflateReset(&z_) != Z_OK) ThrowPngProblem({PngProblemKind::CompressorNotStarted});
        TuneMatchSearch(); // after the reset, which sets the level's own values
        const size_t window = std::min(history.size(), DEFLATE_WINDOW);
        if (window > 0 && deflateSetDictionary(&z_, history.data() + history.size() - window,
                                               uInt(window)) != Z_OK) {
            ThrowPngProblem({PngProblemKind::CompressorNotPrimed});
        }
        out.resize(std::max<size_t>(out.capacity(), bytes.size() / 4 + 4096));
        size_t filled = 0;
        for (size_t at = 0; at < bytes.size(); at += ZLIB_STEP) {
            z_.next_in = const_cast<Bytef*>(bytes.data() + at);
            z_.avail_in = uInt(std::min(bytes.size() - at, ZLIB_STEP));
            Run(Z_NO_FLUSH, out, filled);
        }
        Run(last ? Z_FINISH : Z_SYNC_FLUSH, out, filled);
        out.resize(filled);
    }

private:
    void TuneMatchSearch() {
        // Level 9's full search (4096 matches tried, lazy matching up to 258 bytes) spends most
        // of its time confirming long matches it already has.
        if (quick_) deflateTune(&z_, 4, 16, 258, 4096);
    }

    void Run(int flush, std::vector<uint8_t>& out, size_t& filled) {
        for (;;) {
            if (out.size() - filled < 1024) out.resize(std::max(2 * out.size(), filled + 1024));
            const size_t room = std::min(out.size() - filled, ZLIB_STEP);
            z_.next_out = out.data() + filled;
            z_.avail_out = uInt(room);
            const int result = deflate(&z_, flush);
            filled += room - z_.avail_out;
            if (result == Z_STREAM_END) return;
            if ((result != Z_OK && result != Z_BUF_ERROR) ||
                (flush == Z_FINISH && result == Z_BUF_ERROR && z_.avail_out != 0)) {
                ThrowPngProblem({PngProblemKind::CompressorFailed});
            }
            // Room left over means all input was taken and, for a flush, all output given.
            if (flush != Z_FINISH && z_.avail_out != 0 && z_.avail_in == 0) return;
        }
    }

    z_stream z_{};
    const bool quick_;
};

// What a thread keeps from part to part: the part's buffers and its stream.
class PartCompressor {
public:
    PartCompressor(size_t count, int level, Level9Search search,
                   const std::function<void(size_t, DeflatePart&)>& makePart)
        : count_(count), level_(level), search_(search), makePart_(makePart) {}

    CompressedPart Compress(size_t index) {
        part_.history.clear();
        part_.bytes.clear();
        makePart_(index, part_);
        CompressedPart compressed;
        compressed.size = part_.bytes.size();
        for (size_t at = 0; at < part_.bytes.size(); at += ZLIB_STEP) {
            compressed.adler = adler32(compressed.adler, part_.bytes.data() + at,
                                       uInt(std::min(part_.bytes.size() - at, ZLIB_STEP)));
        }
        const bool last = index + 1 == count_;
        if (index == 0) {
            PartStream(level_, search_, true).Compress({}, part_.bytes, last, out_);
        } else {
            if (!raw_) raw_ = std::make_unique<PartStream>(level_, search_, false);
            raw_->Compress(part_.history, part_.bytes, last, out_);
        }
        compressed.data.assign(out_.begin(), out_.end());
        return compressed;
    }

private:
    const size_t count_;
    const int level_;
    const Level9Search search_;
    const std::function<void(size_t, DeflatePart&)>& makePart_;
    DeflatePart part_;
    std::vector<uint8_t> out_;
    std::unique_ptr<PartStream> raw_;
};

// Joins the compressed parts in order and ends the stream with the Adler-32 of all of them
// (the first part's own stream has the header; a single part is a whole stream already).
class StreamJoiner {
public:
    StreamJoiner(size_t count, const std::function<void(const uint8_t*, size_t)>& write)
        : count_(count), write_(write) {}

    void Add(const CompressedPart& part) {
        adler_ =
            joined_ == 0 ? part.adler : adler32_combine(adler_, part.adler, z_off_t(part.size));
        write_(part.data.data(), part.data.size());
        if (++joined_ == count_ && count_ > 1) {
            uint8_t trailer[4];
            StoreBigEndian32(trailer, uint32_t(adler_));
            write_(trailer, sizeof trailer);
        }
    }

private:
    size_t count_;
    const std::function<void(const uint8_t*, size_t)>& write_;
    size_t joined_ = 0;
    uLong adler_ = 1;
};

// The parts compressed by worker threads and handed to the calling thread in order.
class PartWorkers {
public:
    PartWorkers(size_t count, int level, Level9Search search, unsigned threads,
                const std::function<void(size_t, DeflatePart&)>& makePart)
        : count_(count), level_(level), search_(search), makePart_(makePart), done_(count),
          ahead_(PARTS_AHEAD_PER_WORKER * threads) {
        for (unsigned i = 0; i < threads; ++i) {
            try {
                workers_.emplace_back([this] { Work(); });
            } catch (const std::system_error&) {
                break; // fewer threads than asked for
            }
        }
    }
    ~PartWorkers() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        for (std::thread& worker : workers_) worker.join();
    }
    PartWorkers(const PartWorkers&) = delete;
    PartWorkers& operator=(const PartWorkers&) = delete;

    bool Started() const { return !workers_.empty(); }

    // Waits for part index (taken in order); rethrows a worker's exception instead.
    CompressedPart Take(size_t index) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return done_[index].has_value() || error_; });
        if (error_) std::rethrow_exception(error_);
        CompressedPart part = std::move(*done_[index]);
        done_[index].reset();
        taken_ = index + 1;
        changed_.notify_all();
        return part;
    }

private:
    void Work() {
        PartCompressor compressor(count_, level_, search_, makePart_);
        for (;;) {
            size_t index;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock,
                              [&] { return stop_ || next_ >= count_ || next_ < taken_ + ahead_; });
                if (stop_ || next_ >= count_) return;
                index = next_++;
            }
            try {
                CompressedPart part = compressor.Compress(index);
                std::lock_guard lock(mutex_);
                done_[index] = std::move(part);
            } catch (...) {
                std::lock_guard lock(mutex_);
                if (!error_) error_ = std::current_exception();
                stop_ = true;
            }
            changed_.notify_all();
        }
    }

    const size_t count_;
    const int level_;
    const Level9Search search_;
    const std::function<void(size_t, DeflatePart&)>& makePart_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<CompressedPart>> done_;
    const size_t ahead_;
    size_t next_ = 0;  // the next part to compress
    size_t taken_ = 0; // parts handed on
    bool stop_ = false;
    std::exception_ptr error_;
    std::vector<std::thread> workers_;
};

} // namespace

unsigned DeflateThreads(unsigned threads) {
    if (threads > 0) return threads;
    return std::max(1u, std::thread::hardware_concurrency());
}

void ParallelDeflate(size_t partCount, int level, unsigned threads,
                     const std::function<void(size_t index, DeflatePart& part)>& makePart,
                     const std::function<void(const uint8_t* data, size_t size)>& write,
                     Level9Search search) {
    if (partCount == 0) ThrowPngProblem({PngProblemKind::NothingToCompress});
    StreamJoiner joiner(partCount, write);
    const unsigned workers = unsigned(std::min<size_t>(DeflateThreads(threads), partCount));
    if (workers > 1) {
        PartWorkers pool(partCount, level, search, workers, makePart);
        if (pool.Started()) {
            for (size_t index = 0; index < partCount; ++index) joiner.Add(pool.Take(index));
            return;
        }
    }
    PartCompressor compressor(partCount, level, search, makePart);
    for (size_t index = 0; index < partCount; ++index) joiner.Add(compressor.Compress(index));
}

} // namespace drovak
