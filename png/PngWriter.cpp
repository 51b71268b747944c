#include "png/PngWriter.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "png/IdatPieceWriter.h"
#include "png/PngFilters.h"
#include "png/PngProblem.h"
#include "png/PngRows.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include <zlib.h>

namespace drovak {

namespace {

uint32_t ChunkCrc(const char* name, std::span<const uint8_t> data) {
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(name), 4);
    // An empty chunk's data may have no pointer, which would start the CRC afresh.
    return uint32_t(data.empty() ? crc : crc32_z(crc, data.data(), data.size()));
}

bool IsPalette(const PngHeader& header) {
    return header.colourType == PNG_COLOUR_PALETTE;
}

// The index of pixel x of a packed palette row.
uint8_t IndexAt(const PngHeader& header, const uint8_t* row, uint32_t x) {
    if (header.bitDepth == 8) return row[x];
    return uint8_t(x % 2 ? row[x / 2] & 0x0F : row[x / 2] >> 4);
}

// Every pixel of a palette image within the palette: RefusedError naming the first one beyond.
void CheckIndices(const PngHeader& header, const PngRowSource& rows, size_t paletteSize) {
    if (paletteSize >= (size_t(1) << header.bitDepth)) return; // every index fits
    std::vector<uint8_t> row(PngRowLength(header));
    for (uint32_t y = 0; y < header.height; ++y) {
        rows(y, row.data());
        for (uint32_t x = 0; x < header.width; ++x) {
            const uint8_t index = IndexAt(header, row.data(), x);
            if (index < paletteSize) continue;
            PngProblem problem{PngProblemKind::IndexBeyondPalette};
            problem.x = x;
            problem.y = y;
            problem.value = index;
            problem.size = paletteSize;
            ThrowPngProblem(std::move(problem));
        }
    }
}

} // namespace

bool PngWritable(const PngHeader& header) {
    return PngRowLength(header) > 0 && header.height > 0 && header.height <= PNG_MAX_CHUNK_LENGTH &&
           header.width <= PNG_MAX_CHUNK_LENGTH;
}

size_t PngRowLength(const PngHeader& header) {
    if (IsPalette(header)) {
        if (header.bitDepth == 8) return header.width;
        if (header.bitDepth == 4) return (size_t(header.width) + 1) / 2;
        return 0;
    }
    return size_t(header.width) * PngPixelSize(header.colourType, header.bitDepth);
}

void WritePngChunk(Stream& out, const char* name, std::span<const uint8_t> data) {
    if (data.size() > PNG_MAX_CHUNK_LENGTH) {
        PngProblem problem{PngProblemKind::ChunkTooLong};
        problem.text = std::string(name, 4);
        problem.size = data.size();
        ThrowPngProblem(std::move(problem));
    }
    std::vector<uint8_t> framed(12 + data.size());
    StoreBigEndian32(framed.data(), uint32_t(data.size()));
    std::memcpy(framed.data() + 4, name, 4);
    if (!data.empty()) std::memcpy(framed.data() + 8, data.data(), data.size());
    StoreBigEndian32(framed.data() + 8 + data.size(), ChunkCrc(name, data));
    out.Write(framed.data(), framed.size());
}

PngWriter::PngWriter(Stream& out, const PngHeader& header) : out_(out), header_(header) {
    if (!PngWritable(header)) {
        PngProblem problem{PngProblemKind::NotWritable};
        problem.value = header.colourType;
        problem.depth = header.bitDepth;
        problem.width = header.width;
        problem.height = header.height;
        ThrowPngProblem(std::move(problem));
    }
    out_.Write(PNG_SIGNATURE, sizeof PNG_SIGNATURE);
    uint8_t data[13] = {};
    StoreBigEndian32(data, header.width);
    StoreBigEndian32(data + 4, header.height);
    data[8] = header.bitDepth;
    data[9] = header.colourType;
    // Compression method 0, filter method 0, not interlaced.
    WritePngChunk(out_, "IHDR", data);
}

void PngWriter::Palette(std::span<const uint32_t> colours) {
    if (!IsPalette(header_)) ThrowPngProblem({PngProblemKind::PaletteNotTaken});
    const size_t most = size_t(1) << header_.bitDepth;
    if (colours.empty() || colours.size() > most) {
        PngProblem problem{PngProblemKind::PaletteSize};
        problem.size = colours.size();
        problem.limit = most;
        ThrowPngProblem(std::move(problem));
    }
    std::vector<uint8_t> data;
    for (uint32_t colour : colours) {
        data.push_back(uint8_t(colour));
        data.push_back(uint8_t(colour >> 8));
        data.push_back(uint8_t(colour >> 16));
    }
    WritePngChunk(out_, "PLTE", data);
    paletteSize_ = colours.size();
}

void PngWriter::ImageData(const PngRowSource& rows, const PngCompression& compression) {
    NoProgress none;
    ImageData(rows, compression, none);
}

void PngWriter::ImageData(const PngRowSource& rows, const PngCompression& compression,
                          Progress& progress) {
    progress.ThrowIfCancelled();
    if (IsPalette(header_)) {
        if (paletteSize_ == 0) ThrowPngProblem({PngProblemKind::PaletteMissing});
        CheckIndices(header_, rows, paletteSize_);
    }
    // Sub, Average and Paeth look back a pixel, or a byte where pixels are smaller.
    const size_t pixelSize =
        IsPalette(header_) ? 1 : PngPixelSize(header_.colourType, header_.bitDepth);
    const size_t rowLength = PngRowLength(header_);
    const size_t rowBytes = 1 + rowLength; // the filter type, then the filtered row
    const size_t height = header_.height;
    const size_t partRows = compression.partSize > SIZE_MAX - rowBytes / 2
                                ? height
                                : (compression.partSize + rowBytes / 2) / rowBytes;
    const size_t rowsPerPart = std::max<size_t>(1, std::min(height, partRows));
    const size_t historyRows = (DEFLATE_WINDOW + rowBytes - 1) / rowBytes;

    // A part is its rows as fed to deflate, after the rows before them that fill the window;
    // the row above the first of those is built too, for the filters.
    auto makePart = [&](size_t index, DeflatePart& part) {
        const size_t first = index * rowsPerPart, end = std::min(height, first + rowsPerPart);
        const size_t from = first - std::min(first, historyRows);
        std::vector<uint8_t> row(rowLength), previous(rowLength, 0);
        if (from > 0) rows(uint32_t(from - 1), previous.data());
        PngRowFilter filter(compression.filters, rowLength, pixelSize);
        part.history.reserve((first - from) * rowBytes);
        part.bytes.reserve((end - first) * rowBytes);
        for (size_t y = from; y < end; ++y) {
            rows(uint32_t(y), row.data());
            const FilteredRow filtered = filter.Apply(row.data(), previous.data());
            std::vector<uint8_t>& out = y < first ? part.history : part.bytes;
            out.push_back(uint8_t(filtered.type));
            out.insert(out.end(), filtered.bytes, filtered.bytes + rowLength);
            row.swap(previous);
        }
    };
    IdatPieceWriter pieces(out_,
                           std::clamp<uint32_t>(compression.maxIdatSize, 1, PNG_MAX_CHUNK_LENGTH));
    const size_t parts = (height + rowsPerPart - 1) / rowsPerPart;
    size_t written = 0; // parts, and then the stream's trailer
    ParallelDeflate(
        parts, std::clamp(compression.level, 0, 9), compression.threads, makePart,
        [&](const uint8_t* data, size_t size) {
            pieces.Append(data, size);
            if (++written > parts) return;
            progress.Step(std::min(height, written * rowsPerPart), height, "rows");
            progress.ThrowIfCancelled();
        },
        compression.search);
    pieces.Finish();
}

void PngWriter::Text(std::string_view keyword, std::string_view text) {
    bool good = !keyword.empty() && keyword.size() <= 79 && keyword.front() != ' ' &&
                keyword.back() != ' ' && keyword.find("  ") == std::string::npos &&
                text.find('\0') == std::string::npos;
    for (unsigned char c : keyword) good = good && ((c >= 32 && c <= 126) || c >= 161);
    if (!good) {
        PngProblem problem{PngProblemKind::NotAKeyword};
        problem.text = keyword;
        ThrowPngProblem(std::move(problem));
    }
    std::vector<uint8_t> data(keyword.begin(), keyword.end());
    data.push_back(0);
    data.insert(data.end(), text.begin(), text.end());
    WritePngChunk(out_, "tEXt", data);
}

void PngWriter::End() {
    WritePngChunk(out_, "IEND", {});
}

} // namespace drovak
