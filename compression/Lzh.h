#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace drovak {

// Decoded sizes above this are refused (RefusedError): no Mega Drive data is that large, and a
// damaged table must not make us allocate gigabytes.
constexpr uint32_t LZH_MAX_DECODED_SIZE = 16u * 1024 * 1024;

struct LzhDecodeResult {
    std::vector<uint8_t> bytes;
    // The source bytes read: up to the byte after the one that holds the last bit used (the
    // reader keeps one whole byte in hand), at most the source's size.
    uint64_t consumed = 0;
};

// Decodes the LZHUF stream at the start of source: at least decodedSize bytes, stopping at the
// first item boundary at or past decodedSize (so up to 59 bytes more). decodedSize 0 reads and
// gives nothing. A source that ends early is read on as zero bits. Throws RefusedError, naming
// the source by `name`, when decodedSize exceeds LZH_MAX_DECODED_SIZE.
LzhDecodeResult LzhDecode(std::span<const uint8_t> source, uint32_t decodedSize,
                          const std::string& name = "memory");

// Encodes the whole of source as an LZHUF stream (no header); nothing for an empty source.
std::vector<uint8_t> LzhEncode(std::span<const uint8_t> source);

} // namespace drovak
