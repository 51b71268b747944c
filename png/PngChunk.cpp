#include "png/PngChunk.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "png/Png.h"

#include <cstring>
#include <zlib.h>

namespace drovak {

uint32_t PngChunkCrc(const char* name, const uint8_t* data, size_t size) {
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, reinterpret_cast<const Bytef*>(name), 4);
    // zlib takes at most a uInt per call.
    while (size > 0) {
        uInt part = size > 0x40000000 ? 0x40000000 : uInt(size);
        crc = crc32(crc, data, part);
        data += part;
        size -= part;
    }
    return uint32_t(crc);
}

void WritePngChunk(Stream& stream, const char* name, const uint8_t* data, size_t size) {
    if (size > PNG_MAX_CHUNK_LENGTH) {
        throw RefusedError(std::string("PNG chunk ") + std::string(name, 4) + ": " +
                           std::to_string(size) + " bytes is more than a chunk can hold");
    }
    std::vector<uint8_t> framed(12 + size);
    StoreBigEndian32(framed.data(), uint32_t(size));
    std::memcpy(framed.data() + 4, name, 4);
    if (size > 0) std::memcpy(framed.data() + 8, data, size);
    StoreBigEndian32(framed.data() + 8 + size, PngChunkCrc(name, data, size));
    stream.Write(framed.data(), framed.size());
}

TPngChunk::TPngChunk(std::string name) : name_(std::move(name)) {
    if (name_.size() != 4) throw RefusedError("PNG chunk name \"" + name_ + "\" is not 4 letters");
}

void TPngChunk::SaveToStream(Stream& stream) {
    WritePngChunk(stream, name_.data(), data_.data(), data_.size());
}

} // namespace drovak
