// Making an IPS patch: the stretches that differ, a record each (a run record where one byte
// repeats long enough to be shorter so), split where a record may hold no more.
#include "patch/Ips.h"

#include "patch/PatchProblem.h"

#include <algorithm>

namespace drovak {

namespace {

constexpr uint32_t MAX_RECORD = 0xFFFF;
constexpr size_t HEADER = 5;
// A run record (header, count, byte) beats writing the bytes from this many on.
constexpr size_t RUN_FROM = 9;

class IpsWriter {
public:
    IpsWriter(std::span<const uint8_t> original, std::span<const uint8_t> modified)
        : original_(original), modified_(modified) {}

    std::vector<uint8_t> Write() {
        out_ = {'P', 'A', 'T', 'C', 'H'};
        size_t at = 0;
        while ((at = NextDifference(at)) < modified_.size()) {
            // The stretch goes on over unchanged gaps shorter than a record's header.
            size_t end = at + 1, same = 0;
            for (size_t k = end; k < modified_.size() && same < HEADER; ++k) {
                if (Differs(k)) {
                    end = k + 1;
                    same = 0;
                } else {
                    ++same;
                }
            }
            Stretch(at, end);
            at = end;
        }
        Put24(IPS_END_MARK);
        if (modified_.size() < original_.size()) Put24(uint32_t(modified_.size()));
        return std::move(out_);
    }

private:
    bool Differs(size_t k) const { return k >= original_.size() || original_[k] != modified_[k]; }

    size_t NextDifference(size_t at) const {
        while (at < modified_.size() && !Differs(at)) ++at;
        return at;
    }

    size_t RunLength(size_t at, size_t end) const {
        size_t k = at + 1;
        while (k < end && k - at < MAX_RECORD && modified_[k] == modified_[at]) ++k;
        return k - at;
    }

    void Stretch(size_t at, size_t end) {
        size_t literal = at;
        while (at < end) {
            const size_t run = RunLength(at, end);
            if (run >= RUN_FROM && at != IPS_END_MARK) {
                Literal(literal, at);
                Put24(uint32_t(at));
                Put16(0);
                Put16(uint32_t(run));
                out_.push_back(modified_[at]);
                literal = at + run;
            }
            at += run;
        }
        Literal(literal, end);
    }

    void Literal(size_t from, size_t end) {
        while (from < end) {
            // No record starts at the spelling of "EOF": this one starts a byte earlier.
            const size_t start = from == IPS_END_MARK ? from - 1 : from;
            const size_t length = std::min<size_t>(end - start, MAX_RECORD);
            Put24(uint32_t(start));
            Put16(uint32_t(length));
            out_.insert(out_.end(), modified_.begin() + long(start),
                        modified_.begin() + long(start + length));
            from = start + length;
        }
    }

    void Put24(uint32_t value) {
        out_.insert(out_.end(), {uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)});
    }
    void Put16(uint32_t value) { out_.insert(out_.end(), {uint8_t(value >> 8), uint8_t(value)}); }

    std::span<const uint8_t> original_, modified_;
    std::vector<uint8_t> out_;
};

} // namespace

std::vector<uint8_t> CreateIpsPatch(std::span<const uint8_t> original,
                                    std::span<const uint8_t> modified) {
    if (modified.size() > MAX_IPS_IMAGE_SIZE) {
        ThrowPatchProblem(PatchProblemKind::BeyondIpsReach, modified.size());
    }
    if (modified.size() < original.size() && modified.size() >= MAX_IPS_IMAGE_SIZE) {
        ThrowPatchProblem(PatchProblemKind::IpsCannotCutTo, modified.size());
    }
    return IpsWriter(original, modified).Write();
}

} // namespace drovak
