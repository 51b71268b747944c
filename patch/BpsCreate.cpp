// Making a BPS patch: a greedy walk over the modified image that, at each position, weighs the
// matches the suffix array points to (and reading in place, and going on where the last copy
// ended) by the bytes they save, takes the best, and looks one byte ahead before taking a short
// one.
#include "patch/Bps.h"

#include "base/Crc32.h"
#include "patch/BpsMatches.h"
#include "patch/BpsNumbers.h"
#include "patch/PatchProblem.h"

#include <algorithm>

namespace drovak {

namespace {

enum Kind : uint8_t { SourceRead = 0, TargetRead = 1, SourceCopy = 2, TargetCopy = 3 };

// A match shorter than this is weighed against the one a byte further on.
constexpr uint64_t LOOK_AHEAD_BELOW = 32;
// How often the walk reports its progress and looks for a cancel (bytes of the modified image).
constexpr uint64_t PROGRESS_STEP = 64 * 1024;

struct Choice {
    Kind kind = TargetRead;
    uint64_t from = 0;
    uint64_t length = 0;
    int64_t gain = 0; // bytes saved against carrying them literally
};

class PatchWriter {
public:
    PatchWriter(std::span<const uint8_t> original, std::span<const uint8_t> modified)
        : source_(original), target_(modified) {
        // What the two share at their starts and their ends is read in place or copied from the
        // original's end; only the part between is searched (the suffix array is made of less).
        const size_t shortest = std::min(original.size(), modified.size());
        while (searchStart_ < shortest && original[searchStart_] == modified[searchStart_]) {
            ++searchStart_;
        }
        size_t sharedEnd = 0;
        while (searchStart_ + sharedEnd < shortest &&
               original[original.size() - 1 - sharedEnd] ==
                   modified[modified.size() - 1 - sharedEnd]) {
            ++sharedEnd;
        }
        candidates_ = bps::FindMatchCandidates(
            original, modified.subspan(searchStart_, modified.size() - sharedEnd - searchStart_));
    }

    std::vector<uint8_t> Write(Progress& progress) {
        out_ = {'B', 'P', 'S', '1'};
        bps::PutNumber(out_, source_.size());
        bps::PutNumber(out_, target_.size());
        bps::PutNumber(out_, 0); // no metadata
        uint64_t at = 0, reported = 0;
        while (at < target_.size()) {
            if (at >= reported + PROGRESS_STEP) {
                reported = at;
                progress.ThrowIfCancelled();
                progress.Step(at, target_.size(), "patch");
            }
            Choice best = Best(at);
            const int64_t needed = literalLength_ > 0 ? 2 : 1;
            if (best.gain >= needed && best.length < LOOK_AHEAD_BELOW && at + 1 < target_.size() &&
                Best(at + 1).gain > best.gain + 1) {
                best.gain = 0; // a better match starts on the next byte
            }
            if (best.gain < needed) {
                ++literalLength_;
                ++at;
                continue;
            }
            Emit(at, best);
            at += best.length;
        }
        progress.ThrowIfCancelled();
        progress.Step(target_.size(), target_.size(), "patch");
        FlushLiterals(at);
        PutCrc(Crc32(source_));
        PutCrc(Crc32(target_));
        PutCrc(Crc32(out_));
        return std::move(out_);
    }

private:
    uint64_t MatchLength(const uint8_t* from, uint64_t available, uint64_t at) const {
        const uint64_t limit = std::min<uint64_t>(available, target_.size() - at);
        const uint8_t* here = target_.data() + at;
        uint64_t length = 0;
        while (length < limit && from[length] == here[length]) ++length;
        return length;
    }

    void Consider(Choice& best, Kind kind, uint64_t from, uint64_t length) const {
        if (length == 0) return;
        int64_t cost = bps::NumberSize(((length - 1) << 2) | kind);
        if (kind != SourceRead) {
            const uint64_t cursor = kind == SourceCopy ? sourceCursor_ : targetCursor_;
            cost += bps::NumberSize(bps::SignedNumber(int64_t(from) - int64_t(cursor)));
        }
        const int64_t gain = int64_t(length) - cost;
        if (gain > best.gain) best = {kind, from, length, gain};
    }

    void ConsiderSource(Choice& best, Kind kind, uint64_t from, uint64_t at) const {
        if (from < source_.size()) {
            Consider(best, kind, from, MatchLength(&source_[from], source_.size() - from, at));
        }
    }

    void ConsiderTarget(Choice& best, uint64_t from, uint64_t at) const {
        // Overlapping is allowed: the bytes are all known here, and are written before they are
        // read when applied.
        if (from < at)
            Consider(best, TargetCopy, from, MatchLength(&target_[from], UINT64_MAX, at));
    }

    Choice Best(uint64_t at) const {
        Choice best;
        ConsiderSource(best, SourceRead, at, at);
        ConsiderSource(best, SourceCopy, sourceCursor_, at);
        ConsiderTarget(best, targetCursor_, at);
        // The same distance from the end: data after an insert or a removal.
        if (at + source_.size() >= target_.size()) {
            ConsiderSource(best, SourceCopy, at + source_.size() - target_.size(), at);
        }
        const uint64_t sourceSize = source_.size();
        if (at < searchStart_ || at - searchStart_ >= candidates_.sourceBelow.size()) return best;
        for (const auto* list : {&candidates_.sourceBelow, &candidates_.sourceAbove,
                                 &candidates_.earlierBelow, &candidates_.earlierAbove}) {
            const int32_t from = (*list)[at - searchStart_];
            if (from < 0) continue;
            if (uint64_t(from) < sourceSize) {
                ConsiderSource(best, SourceCopy, uint64_t(from), at);
            } else {
                ConsiderTarget(best, uint64_t(from) - sourceSize + searchStart_, at);
            }
        }
        return best;
    }

    void FlushLiterals(uint64_t at) {
        if (literalLength_ == 0) return;
        bps::PutNumber(out_, ((literalLength_ - 1) << 2) | TargetRead);
        out_.insert(out_.end(), target_.begin() + (at - literalLength_), target_.begin() + at);
        literalLength_ = 0;
    }

    void Emit(uint64_t at, const Choice& choice) {
        FlushLiterals(at);
        bps::PutNumber(out_, ((choice.length - 1) << 2) | choice.kind);
        if (choice.kind == SourceRead) return;
        uint64_t& cursor = choice.kind == SourceCopy ? sourceCursor_ : targetCursor_;
        bps::PutNumber(out_, bps::SignedNumber(int64_t(choice.from) - int64_t(cursor)));
        cursor = choice.from + choice.length;
    }

    void PutCrc(uint32_t crc) {
        for (int shift = 0; shift < 32; shift += 8) out_.push_back(uint8_t(crc >> shift));
    }

    std::span<const uint8_t> source_, target_;
    uint64_t searchStart_ = 0; // where the searched part of the modified image starts
    bps::MatchCandidates candidates_;
    std::vector<uint8_t> out_;
    uint64_t sourceCursor_ = 0, targetCursor_ = 0, literalLength_ = 0;
};

} // namespace

std::vector<uint8_t> CreateBpsPatch(std::span<const uint8_t> original,
                                    std::span<const uint8_t> modified, Progress& progress) {
    if (original.size() > MAX_PATCH_TARGET_SIZE) {
        ThrowPatchProblem(PatchProblemKind::OriginalTooLarge, original.size());
    }
    if (modified.size() > MAX_PATCH_TARGET_SIZE) {
        ThrowPatchProblem(PatchProblemKind::ModifiedTooLarge, modified.size());
    }
    progress.ThrowIfCancelled();
    return PatchWriter(original, modified).Write(progress);
}

std::vector<uint8_t> CreateBpsPatch(std::span<const uint8_t> original,
                                    std::span<const uint8_t> modified) {
    NoProgress none;
    return CreateBpsPatch(original, modified, none);
}

} // namespace drovak
