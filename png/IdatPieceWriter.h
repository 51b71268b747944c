#pragma once

#include "base/Stream.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace drovak {

// Cuts the compressed image data into IDAT chunks: every chunk but the last carries exactly
// pieceSize bytes, the last 1 to pieceSize; no empty chunk is written.
class TIdatPieceWriter {
public:
    TIdatPieceWriter(Stream& stream, uint32_t pieceSize);

    // Where the compressor may put its next bytes, and how many fit.
    uint8_t* FreeSpace() { return buffer_.data() + fill_; }
    size_t FreeCount() const { return buffer_.size() - fill_; }
    // count bytes were put at FreeSpace(); a full buffer is written as one chunk.
    void Filled(size_t count);

    void Append(const uint8_t* data, size_t size);
    // Writes what is left as the last chunk.
    void Finish();

    size_t ChunksWritten() const { return chunks_; }

private:
    void WritePiece();

    Stream& stream_;
    std::vector<uint8_t> buffer_;
    size_t fill_ = 0;
    size_t chunks_ = 0;
};

} // namespace drovak
