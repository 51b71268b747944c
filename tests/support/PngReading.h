#pragma once

// Reads back what the PNG writer produced: the chunks of a file and the inflated image data.

#include "base/ByteOrder.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>
#include <zlib.h>

namespace drovak::test {

struct ReadChunk {
    std::string name;
    std::vector<uint8_t> data;
    uint32_t storedCrc = 0;
    uint32_t computedCrc = 0;
};

// Splits the bytes after the signature into chunks; stops at a chunk that runs past the end.
inline std::vector<ReadChunk> ReadChunks(const std::vector<uint8_t>& file) {
    std::vector<ReadChunk> chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        uint32_t length = LoadBigEndian32(&file[at]);
        if (at + 12 + length > file.size()) break;
        ReadChunk chunk;
        chunk.name.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        chunk.data.assign(file.begin() + long(at + 8), file.begin() + long(at + 8 + length));
        chunk.storedCrc = LoadBigEndian32(&file[at + 8 + length]);
        chunk.computedCrc = uint32_t(crc32(0, &file[at + 4], uInt(4 + length)));
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    return chunks;
}

inline std::vector<uint8_t> JoinedImageData(const std::vector<ReadChunk>& chunks) {
    std::vector<uint8_t> joined;
    for (const auto& chunk : chunks)
        if (chunk.name == "IDAT") joined.insert(joined.end(), chunk.data.begin(), chunk.data.end());
    return joined;
}

// Inflates a zlib stream that must hold exactly expectedSize bytes and end with the data (nothing
// after its trailer); empty on any failure.
inline std::vector<uint8_t> Inflate(const std::vector<uint8_t>& compressed, size_t expectedSize) {
    std::vector<uint8_t> out(expectedSize + 1);
    uLongf outSize = uLongf(out.size());
    uLong used = uLong(compressed.size());
    if (uncompress2(out.data(), &outSize, compressed.data(), &used) != Z_OK ||
        outSize != expectedSize || used != compressed.size())
        return {};
    out.resize(outSize);
    return out;
}

} // namespace drovak::test
