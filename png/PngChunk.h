#pragma once

#include "base/Stream.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace drovak {

// The CRC-32 of a chunk: over the four name bytes and then the data.
uint32_t PngChunkCrc(const char* name, const uint8_t* data, size_t size);

// Writes one framed chunk in a single Write: data length (big-endian), name, data, CRC.
void WritePngChunk(Stream& stream, const char* name, const uint8_t* data, size_t size);

// One chunk of a PNG file: a four-character name and its data.
class TPngChunk {
public:
    explicit TPngChunk(std::string name);
    virtual ~TPngChunk() = default;
    TPngChunk(const TPngChunk&) = delete;
    TPngChunk& operator=(const TPngChunk&) = delete;

    const std::string& Name() const { return name_; }
    std::vector<uint8_t>& Data() { return data_; }
    const std::vector<uint8_t>& Data() const { return data_; }

    // Writes the chunk with its framing. Chunks whose data is made from the image override it.
    virtual void SaveToStream(Stream& stream);

private:
    std::string name_;
    std::vector<uint8_t> data_;
};

// The end of the image: always empty.
class TIendChunk final : public TPngChunk {
public:
    TIendChunk() : TPngChunk("IEND") {}
};

} // namespace drovak
