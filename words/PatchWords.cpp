#include "words/PatchWords.h"

#include "base/Crc32.h"
#include "base/Errors.h"
#include "words/PatchRefusalWords.h"

#include <cstdio>
#include <string_view>

namespace drovak {

namespace {

std::string Count(uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Text a terminal shows as it is: control characters (but line breaks and tabs) as \xNN, each
// line indented.
std::string Shown(const std::string& text, const std::string& indent) {
    std::string_view rest = text;
    while (!rest.empty() && (rest.back() == '\n' || rest.back() == '\r')) rest.remove_suffix(1);
    std::string shown = indent;
    for (const char c : rest) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\n" + indent;
        } else if ((byte < 0x20 && c != '\t') || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        } else {
            shown += c;
        }
    }
    return shown + "\n";
}

std::string BpsLines(const BpsInfo& bps) {
    std::string text = "  source: " + std::to_string(bps.sourceSize) + " bytes, CRC-32 " +
                       CrcText(bps.sourceCrc) + "\n  target: " + std::to_string(bps.targetSize) +
                       " bytes, CRC-32 " + CrcText(bps.targetCrc) + "\n";
    text += bps.metadata.empty() ? "  metadata: none\n"
                                 : "  metadata: " + Count(bps.metadata.size(), "byte", "bytes") +
                                       "\n" + Shown(bps.metadata, "    ");
    return text + "  actions: " + std::to_string(bps.Actions()) + " (" +
           Count(bps.sourceReads, "read in place", "read in place") + ", " +
           Count(bps.targetReads, "literal", "literals") + ", " +
           Count(bps.sourceCopies, "copy from the source", "copies from the source") + ", " +
           Count(bps.targetCopies, "copy from the target", "copies from the target") + ")\n";
}

std::string IpsLines(const IpsInfo& ips) {
    return "  records: " + std::to_string(ips.records) + " (" + Count(ips.runs, "run", "runs") +
           "), writing " + Count(ips.bytesWritten, "byte", "bytes") + "\n  truncation: " +
           (ips.truncation ? "the image is cut to " + std::to_string(*ips.truncation) +
                                 " bytes (a longer one only)\n"
                           : "none\n") +
           "  checksums: none (an IPS patch can't tell the ROM it was made for)\n";
}

} // namespace

std::string PatchInfoText(const PatchInfo& info, const std::string& name, uint64_t size) {
    const char* format = info.format == PatchFormat::Bps   ? "BPS patch"
                         : info.format == PatchFormat::Ips ? "IPS patch"
                                                           : "file";
    std::string text = name + ": " + format + " of " + Count(size, "byte", "bytes") + "\n";
    if (info.bps) text += BpsLines(*info.bps);
    if (info.ips) text += IpsLines(*info.ips);
    if (!info.problem.Applied()) text += PatchRefusalText(info.problem, name, "") + "\n";
    return text;
}

std::string ImageDifferenceText(const ImageDifference& difference) {
    std::string text;
    if (difference.bytes == 0) {
        text = "changes no byte";
    } else {
        text = "changes " + Count(difference.bytes, "byte", "bytes") + " in " +
               Count(difference.stretches, "stretch", "stretches") + " between " +
               HexText(difference.first) + " and " + HexText(difference.last);
    }
    if (difference.sizeAfter != difference.sizeBefore) {
        text += std::string("; ") +
                (difference.sizeAfter > difference.sizeBefore ? "grows" : "shrinks") + " from " +
                std::to_string(difference.sizeBefore) + " to " +
                std::to_string(difference.sizeAfter) + " bytes";
    }
    return text;
}

} // namespace drovak
