#include "words/CodecProblemWords.h"

namespace drovak {

namespace {

std::string Reason(const CodecProblem& p) {
    using K = CodecProblemKind;
    switch (p.kind) {
    case K::RleHeaderPastEnd:
        return "too short: 4 bytes needed at " + HexText(p.at) + ", the data ends at " +
               HexText(p.end);
    case K::RleBlockEndsEarly:
        return "the RLE block at " + HexText(p.at) + " ends early at " + HexText(p.end) + ": " +
               std::to_string(p.done) + " of " + std::to_string(p.size) + " bytes decoded";
    case K::LzhSizeOverLimit:
        return "the decoded size " + std::to_string(p.size) + " (" + HexText(p.size) +
               ") is over the limit of " + std::to_string(p.limit) + " bytes";
    case K::RleSizeOverLimit:
        return "the RLE block at " + HexText(p.at) + " announces " + std::to_string(p.size) +
               " bytes, more than the limit of " + std::to_string(p.limit);
    case K::RleDataOverLimit:
        return std::to_string(p.size) + " bytes are more than an RLE block may hold (" +
               std::to_string(p.limit) + ")";
    }
    return "refused";
}

} // namespace

std::string CodecProblemText(const CodecProblem& problem) {
    return problem.source + ": " + Reason(problem);
}

} // namespace drovak
