#pragma once

#include "base/Stream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak {

// Cuts the compressed image data into IDAT chunks: every chunk but the last carries exactly
// pieceSize bytes (at least 1), the last 1 to pieceSize; no empty chunk is written.
class IdatPieceWriter {
public:
    IdatPieceWriter(Stream& stream, uint32_t pieceSize);

    void Append(const uint8_t* data, size_t size);
    // Writes what is left as the last chunk.
    void Finish();

private:
    void WritePiece();

    Stream& stream_;
    std::vector<uint8_t> buffer_;
    size_t fill_ = 0;
};

} // namespace drovak
