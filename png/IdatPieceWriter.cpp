#include "png/IdatPieceWriter.h"

#include "png/PngWriter.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace drovak {

IdatPieceWriter::IdatPieceWriter(Stream& stream, uint32_t pieceSize)
    : stream_(stream), buffer_(pieceSize) {
    if (pieceSize == 0) throw std::logic_error("IDAT pieces of 0 bytes");
}

void IdatPieceWriter::Append(const uint8_t* data, size_t size) {
    while (size > 0) {
        const size_t part = std::min(size, buffer_.size() - fill_);
        std::memcpy(buffer_.data() + fill_, data, part);
        data += part;
        size -= part;
        fill_ += part;
        if (fill_ == buffer_.size()) WritePiece();
    }
}

void IdatPieceWriter::Finish() {
    if (fill_ > 0) WritePiece();
}

void IdatPieceWriter::WritePiece() {
    WritePngChunk(stream_, "IDAT", {buffer_.data(), fill_});
    fill_ = 0;
}

} // namespace drovak
