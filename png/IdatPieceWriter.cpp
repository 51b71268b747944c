#include "png/IdatPieceWriter.h"

#include "png/PngChunk.h"

#include <algorithm>
#include <cstring>

namespace drovak {

TIdatPieceWriter::TIdatPieceWriter(Stream& stream, uint32_t pieceSize)
    : stream_(stream), buffer_(std::max<uint32_t>(pieceSize, 1)) {}

void TIdatPieceWriter::Filled(size_t count) {
    fill_ += count;
    if (fill_ == buffer_.size()) WritePiece();
}

void TIdatPieceWriter::Append(const uint8_t* data, size_t size) {
    while (size > 0) {
        size_t part = std::min(size, FreeCount());
        std::memcpy(FreeSpace(), data, part);
        data += part;
        size -= part;
        Filled(part);
    }
}

void TIdatPieceWriter::Finish() {
    if (fill_ > 0) WritePiece();
}

void TIdatPieceWriter::WritePiece() {
    WritePngChunk(stream_, "IDAT", buffer_.data(), fill_);
    fill_ = 0;
    ++chunks_;
}

} // namespace drovak
