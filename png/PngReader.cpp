#include "png/PngReader.h"

#include "base/ByteOrder.h"
#include "base/Errors.h"
#include "base/WholeFile.h"
#include "png/Png.h"
#include "png/PngProblem.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <png.h>

namespace drovak {

namespace {

// Deflate never expands its input more than 1032 times: image data of more bytes than that
// can't be in the file, whatever its header says.
constexpr uint64_t DEFLATE_MOST_EXPANSION = 1032;

// What libpng's callbacks share with the reader. Plain data only: libpng leaves its frames
// with longjmp.
struct ReadContext {
    const uint8_t* bytes = nullptr;
    size_t size = 0;
    size_t position = 0;
    bool endReached = false;
    char message[200] = {};
};

void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
    auto* context = static_cast<ReadContext*>(png_get_io_ptr(png));
    if (count > context->size - context->position) {
        context->endReached = true;
        png_error(png, "the file ends early");
    }
    std::memcpy(out, context->bytes + context->position, count);
    context->position += count;
}

void OnError(png_structp png, png_const_charp message) {
    auto* context = static_cast<ReadContext*>(png_get_error_ptr(png));
    std::snprintf(context->message, sizeof context->message, "%s", message);
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct ReadStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~ReadStructs() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

// A chunk whose length runs past the end of the data: libpng would set aside memory for the
// whole length before it reads a byte of it (its own limit on chunk sizes only warns), so that a
// file of a few hundred bytes could claim gigabytes. Such a file is cut short or damaged, and
// refused before libpng sees it.
void CheckChunksFit(std::span<const uint8_t> bytes, const std::string& name) {
    static constexpr uint8_t IEND[] = {'I', 'E', 'N', 'D'};
    for (size_t at = sizeof PNG_SIGNATURE; at + 8 <= bytes.size();) {
        const uint64_t length = LoadBigEndian32(&bytes[at]);
        if (at + 12 + length > bytes.size()) {
            PngProblem problem{PngProblemKind::ChunkPastEnd, name, at, bytes.size(), length};
            ThrowPngProblem(std::move(problem));
        }
        if (std::equal(std::begin(IEND), std::end(IEND), &bytes[at + 4])) return;
        at += 12 + length;
    }
}

// The header checks made before anything is decoded; they throw.
void CheckSize(const std::string& name, png_structp png, png_infop info, size_t fileSize) {
    const uint32_t width = png_get_image_width(png, info);
    const uint32_t height = png_get_image_height(png, info);
    if (width > PNG_READ_MAX_SIDE || height > PNG_READ_MAX_SIDE ||
        uint64_t(width) * height > PNG_READ_MAX_PIXELS) {
        PngProblem problem{PngProblemKind::TooLarge, name};
        problem.width = width;
        problem.height = height;
        problem.limit = PNG_READ_MAX_SIDE;
        problem.size = PNG_READ_MAX_PIXELS;
        ThrowPngProblem(std::move(problem));
    }
    const uint64_t bitsPerPixel =
        uint64_t(png_get_channels(png, info)) * png_get_bit_depth(png, info);
    const uint64_t imageData = height * (1 + (width * bitsPerPixel + 7) / 8);
    if (imageData > DEFLATE_MOST_EXPANSION * fileSize + 4096) {
        PngProblem problem{PngProblemKind::TooShortForData, name};
        problem.size = fileSize;
        problem.width = width;
        problem.height = height;
        ThrowPngProblem(std::move(problem));
    }
}

// Asks libpng for one byte per index, RGB for grey, and the samples as stored otherwise.
void ChooseTransforms(png_structp png, png_infop info, DecodedPng& image) {
    const int type = png_get_color_type(png, info);
    const int depth = png_get_bit_depth(png, info);
    if (type == PNG_COLOR_TYPE_PALETTE && depth < 8) png_set_packing(png);
    if (type == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    image.pixels = type == PNG_COLOR_TYPE_PALETTE  ? PngPixels::Indices
                   : (type & PNG_COLOR_MASK_ALPHA) ? PngPixels::RgbAlpha
                                                   : PngPixels::Rgb;
    image.sampleBits = type != PNG_COLOR_TYPE_PALETTE && depth == 16 ? 16 : 8;
}

// The libpng calls. Returns false when libpng reported an error (its message is in the
// context). Nothing in this frame has a destructor, as libpng may leave it with longjmp.
bool Decode(const std::string& name, ReadContext& context, ReadStructs& structs, DecodedPng& image,
            std::vector<png_bytep>& rows) {
    png_structp png = structs.png;
    png_infop info = structs.info;
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    CheckSize(name, png, info, context.size);
    image.width = png_get_image_width(png, info);
    image.height = png_get_image_height(png, info);
    image.colourType = png_get_color_type(png, info);
    image.bitDepth = png_get_bit_depth(png, info);
    image.interlaceMethod = png_get_interlace_type(png, info);
    ChooseTransforms(png, info, image);
    png_read_update_info(png, info);
    const size_t rowBytes = size_t(image.width) * image.BytesPerPixel();
    if (png_get_rowbytes(png, info) != rowBytes) png_error(png, "unexpected row size");
    png_colorp colours = nullptr;
    int count = 0;
    if (image.pixels == PngPixels::Indices && png_get_PLTE(png, info, &colours, &count)) {
        for (int i = 0; i < count; ++i) {
            image.palette.push_back(colours[i].red | colours[i].green << 8 |
                                    uint32_t(colours[i].blue) << 16);
        }
    }
    image.data.resize(rowBytes * image.height);
    rows.resize(image.height);
    for (uint32_t y = 0; y < image.height; ++y) rows[y] = image.data.data() + rowBytes * y;
    png_read_image(png, rows.data());
    png_read_end(png, info);
    png_textp texts = nullptr;
    count = png_get_text(png, info, &texts, nullptr);
    for (int i = 0; i < count; ++i) {
        if (texts[i].compression == PNG_TEXT_COMPRESSION_NONE)
            image.texts.emplace_back(texts[i].key,
                                     std::string(texts[i].text, texts[i].text_length));
    }
    return true;
}

} // namespace

size_t DecodedPng::BytesPerPixel() const {
    switch (pixels) {
    case PngPixels::Indices:
        return 1;
    case PngPixels::Rgb:
        return 3 * sampleBits / 8;
    case PngPixels::RgbAlpha:
        return 4 * sampleBits / 8;
    }
    return 0;
}

uint32_t DecodedPng::Sample(uint32_t x, uint32_t y, unsigned s) const {
    const uint8_t* at = data.data() + (size_t(y) * width + x) * BytesPerPixel();
    return sampleBits == 16 ? uint32_t(at[2 * s] << 8 | at[2 * s + 1]) : at[s];
}

std::optional<std::string> DecodedPng::Text(std::string_view keyword) const {
    for (const auto& [key, text] : texts) {
        if (key == keyword) return text;
    }
    return std::nullopt;
}

bool HasPngSignature(std::span<const uint8_t> bytes) {
    return bytes.size() >= sizeof PNG_SIGNATURE &&
           std::equal(std::begin(PNG_SIGNATURE), std::end(PNG_SIGNATURE), bytes.begin());
}

DecodedPng ReadPng(std::span<const uint8_t> bytes, const std::string& name) {
    if (!HasPngSignature(bytes)) {
        PngProblem problem{PngProblemKind::NotPng, name};
        problem.flag = bytes.empty();
        ThrowPngProblem(std::move(problem));
    }
    CheckChunksFit(bytes, name);
    ReadContext context;
    context.bytes = bytes.data();
    context.size = bytes.size();
    ReadStructs structs;
    structs.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, OnError, OnWarning);
    if (structs.png) structs.info = png_create_info_struct(structs.png);
    if (!structs.png || !structs.info) ThrowPngProblem({PngProblemKind::ReaderNotStarted, name});
    png_set_read_fn(structs.png, &context, ReadFromMemory);
    // Only tEXt of the ancillary chunks is read, at most 64 of them. The chunk size limit only
    // makes libpng warn (the chunks were checked to fit in the data before).
    png_set_keep_unknown_chunks(structs.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    static const png_byte text[] = "tEXt";
    png_set_keep_unknown_chunks(structs.png, PNG_HANDLE_CHUNK_AS_DEFAULT, text, 1);
    png_set_chunk_cache_max(structs.png, 64);
    png_set_chunk_malloc_max(structs.png, 1 << 20);

    DecodedPng image;
    std::vector<png_bytep> rows;
    if (!Decode(name, context, structs, image, rows)) {
        if (context.endReached) {
            ThrowPngProblem({PngProblemKind::EndsEarly, name, 0, context.size});
        }
        PngProblem problem{PngProblemKind::Unreadable, name};
        problem.text = context.message;
        ThrowPngProblem(std::move(problem));
    }
    return image;
}

DecodedPng ReadPngFile(const std::string& path) {
    const std::vector<uint8_t> bytes =
        ReadWholeFile(path, PNG_READ_MAX_FILE_SIZE, SizeLimit::PngFile);
    return ReadPng(bytes, path);
}

} // namespace drovak
