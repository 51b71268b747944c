#include "png/PngWriter.h"
#include "base/Crc32.h"
#include "base/Errors.h"
#include "png/IdatPieceWriter.h"
#include "png/PngFilters.h"
#include "png/PngReader.h"
#include "png/PngRows.h"
#include "support/LibpngCodec.h"
#include "support/PngReading.h"
#include "support/ProgressWatcher.h"
#include "support/WordsOf.h"

#include <map>
#include <random>
#include <set>
#include <tuple>
#include <zlib.h>

namespace drovak {
namespace {

using namespace test;

// A whole file: the signature and header, the palette when one is given, the image data.
Bytes WrittenPng(const PngHeader& header, const PngRowSource& rows,
                 const PngCompression& settings = {}, const std::vector<uint32_t>& palette = {}) {
    MemoryStream out;
    PngWriter png(out, header);
    if (!palette.empty()) png.Palette(palette);
    png.ImageData(rows, settings);
    png.End();
    return out.Take();
}

TEST(PngWriter, AcceptsOnlyWhatItCanWriteAndWritesNothingElse) {
    const std::tuple<int, int, uint32_t, uint32_t, bool> cases[] = {
        {6, 16, 1, 1, true},  {2, 8, 5, 2, true},
        {2, 4, 5, 2, false},  {3, 8, 1, 2, true},
        {3, 4, 5, 2, true},   {3, 16, 5, 2, false},
        {3, 2, 5, 2, false},  {4, 8, 5, 2, false},
        {6, 16, 0, 2, false}, {6, 16, 0x80000000u, 1, false}};
    for (const auto& [type, depth, width, height, accepted] : cases) {
        const PngHeader header{width, height, uint8_t(type), uint8_t(depth)};
        EXPECT_EQ(PngWritable(header), accepted)
            << type << "/" << depth << " " << width << "x" << height;
        MemoryStream out;
        if (accepted) {
            PngWriter png(out, header);
            EXPECT_EQ(out.Size(), 33u); // the signature and IHDR
            // Work cancelled before the image data begins reads no row and writes nothing.
            ProgressWatcher cancelled;
            cancelled.cancelAfter = 0;
            int read = 0;
            EXPECT_THROW(png.ImageData([&read](uint32_t, uint8_t*) { ++read; }, {}, cancelled),
                         CancelledError);
            EXPECT_EQ(std::tuple(read, out.Size()), std::tuple(0, 33u));
            continue;
        }
        EXPECT_EQ(WordsOf<RefusedError>([&] { PngWriter(out, header); }),
                  "PNG picture: colour type " + std::to_string(type) + " at " +
                      std::to_string(depth) + " bits, " + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels, is not what this writer writes");
        EXPECT_EQ(out.Size(), 0u);
    }
}

// Each filter of one row, worked out by hand: Paeth takes the byte above, then the one to the
// left (where the one up and left makes the left nearest).
TEST(PngWriter, EachFilterOfARow) {
    // Paeth predicts from above, from the left, then from above left.
    const uint8_t row[] = {10, 20, 30, 40}, previous[] = {50, 60, 70, 100};
    const std::pair<PngFilterType, Bytes> cases[] = {{PngFilterType::None, {10, 20, 30, 40}},
                                                     {PngFilterType::Sub, {10, 10, 10, 10}},
                                                     {PngFilterType::Up, {216, 216, 216, 196}},
                                                     {PngFilterType::Average, {241, 241, 241, 231}},
                                                     {PngFilterType::Paeth, {216, 10, 10, 226}}};
    for (const auto& [type, filtered] : cases) {
        uint8_t out[4];
        FilterRow(type, row, previous, 4, 1, out);
        EXPECT_EQ(Bytes(out, out + 4), filtered) << int(type);
    }
}

TEST(PngWriter, PaletteImagesReadBackWithLibpngAndIndicesStayInThePalette) {
    // 8 and 4 bits a pixel; 4-bit rows of an odd width end in half a byte. Read back by libpng
    // and by the program's own reader: the same colours (not a grey ramp: red and blue differ)
    // and indices.
    for (const uint8_t depth : {8, 4}) {
        SCOPED_TRACE(int(depth));
        const PngHeader header{7, 3, PNG_COLOUR_PALETTE, depth};
        Bytes indices(21);
        for (uint32_t i = 0; i < 21; ++i) indices[i] = uint8_t(i % 4);
        const auto rows = [&](uint32_t y, uint8_t* row) {
            std::fill_n(row, PngRowLength(header), 0);
            for (uint32_t x = 0; x < 7; ++x) // at 4 bits, the high half of a byte first
                row[depth == 8 ? x : x / 2] |=
                    uint8_t(indices[7 * y + x] << (depth == 4 && x % 2 == 0 ? 4 : 0));
            if (depth == 4) row[3] |= 0x0F; // the half byte after the last pixel is no pixel
        };
        const std::vector<uint32_t> palette = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
        MemoryStream scratch;
        PngWriter sized(scratch, header);
        EXPECT_THROW(sized.Palette(std::vector<uint32_t>((size_t(1) << depth) + 1)), RefusedError);
        EXPECT_NO_THROW(sized.Palette(std::vector<uint32_t>(size_t(1) << depth)));
        const Bytes file = WrittenPng(header, rows, {}, palette);
        const LibpngPicture read = DecodeWithLibpng(file);
        EXPECT_EQ(std::tie(read.width, read.height, read.colourType, read.bitDepth, read.interlace),
                  std::tuple(7u, 3u, 3, int(depth), 0));
        std::vector<uint32_t> colours;
        for (const png_color& c : read.palette)
            colours.push_back(uint32_t(c.red | c.green << 8 | c.blue << 16));
        EXPECT_EQ(colours, palette);
        for (uint32_t i = 0; i < 21; ++i) EXPECT_EQ(read.samples.at(i), i % 4);
        const DecodedPng ours = ReadPng(file, "p.png");
        EXPECT_EQ(ours.palette, palette);
        for (uint32_t i = 0; i < 21; ++i) EXPECT_EQ(ours.Sample(i % 7, i / 7, 0), i % 4);

        for (uint8_t& index : indices) index %= 3;
        for (const uint32_t x : {6u, 5u}) { // at 4 bits, a byte's high half, then its low one
            indices[7 * 2 + x] = 3;         // beyond the first 3 colours
            MemoryStream refused;
            PngWriter png(refused, header);
            png.Palette({palette.begin(), palette.end() - 1});
            const size_t before = refused.Size();
            EXPECT_TRUE(Holds(WordsOf<RefusedError>([&] { png.ImageData(rows, {}); }),
                              "x " + std::to_string(x) + ", y 2"));
            EXPECT_EQ(refused.Size(), before) << "image data written before the refusal";
        }
    }
    MemoryStream out;
    EXPECT_EQ(WordsOf<RefusedError>([&] {
                  PngWriter(out, {5, 3, PNG_COLOUR_RGB, 8}).Palette(std::vector<uint32_t>(4));
              }),
              "PNG picture: only a palette image has a palette");
}

// A keyword is 1 to 79 printable Latin-1 characters (32 to 126, 161 to 255) without leading,
// trailing or double spaces; a text holds no NUL.
TEST(PngWriter, TextsTakeOnlyKeywordsAPngReaderAccepts) {
    MemoryStream out;
    PngWriter png(out, {1, 1});
    using Keywords = std::vector<std::string>;
    for (const std::string& keyword : Keywords{"Software", "~ \xA1\xFF", std::string(79, 'k')})
        EXPECT_NO_THROW(png.Text(keyword, "text")) << keyword;
    for (const std::string& keyword : Keywords{"", std::string(80, 'k'), " lead", "trail ",
                                               "two  spaces", "\x1F", "\x7F", "\xA0"})
        EXPECT_EQ(WordsOf<RefusedError>([&] { png.Text(keyword, "text"); }),
                  "PNG picture: \"" + keyword + "\" is not a tEXt keyword");
    EXPECT_THROW(png.Text("Comment", std::string("a\0b", 3)), RefusedError);
}

TEST(PngIdatPieceWriter, CutsIntoFullPiecesAndNeverWritesAnEmptyOne) {
    const std::pair<size_t, std::vector<size_t>> cases[] = {
        {1, {1}}, {65535, {65535}}, {131070, {65535, 65535}}, {131071, {65535, 65535, 1}}};
    for (const auto& [size, pieceSizes] : cases) {
        const Bytes compressed = Pattern(size);
        MemoryStream out;
        out.Seek(8, SeekOrigin::Begin); // where a signature would be
        IdatPieceWriter pieces(out, 65535);
        for (size_t at = 0; at < size; at += 40000) // uneven parts, as a compressor gives them
            pieces.Append(compressed.data() + at, std::min<size_t>(40000, size - at));
        pieces.Finish();
        std::vector<size_t> sizes;
        for (const auto& chunk : ReadChunks(out.Data())) {
            EXPECT_EQ(std::tie(chunk.name, chunk.storedCrc), std::tuple("IDAT", chunk.computedCrc));
            sizes.push_back(chunk.data.size());
        }
        EXPECT_EQ(sizes, pieceSizes) << size;
        EXPECT_EQ(JoinedImageData(ReadChunks(out.Data())), compressed);
    }
    // A writer asked for pieces of 0 bytes writes them of 1; the piece writer itself refuses 0.
    MemoryStream none;
    EXPECT_THROW(IdatPieceWriter(none, 0), std::logic_error);
    for (const uint32_t asked : {0u, 1u}) {
        const Bytes file =
            WrittenPng({3, 2}, [](uint32_t, uint8_t* row) { std::fill_n(row, 9, 0x5A); },
                       {.level = 0, .maxIdatSize = asked});
        std::multiset<size_t> pieces;
        for (const auto& chunk : ReadChunks(file))
            if (chunk.name == "IDAT") pieces.insert(chunk.data.size());
        EXPECT_GT(pieces.count(1), 20u) << asked;
        EXPECT_EQ(pieces.count(1), pieces.size()) << asked;
        EXPECT_EQ(DecodeWithLibpng(file).samples, std::vector<uint16_t>(18, 0x5A));
    }
}

// At level 9 (or over, clamped) with the full search, the image data is zlib's own level 9 of
// the rows, each after its filter byte: two letters at random, whose best matches lie deeper in
// the hash chains than a lower level looks.
TEST(PngWriter, Level9IsZlibsOwn) {
    constexpr uint32_t width = 334, length = 3 * width, height = 100;
    Bytes text(size_t(length) * height);
    std::mt19937 random(1);
    for (uint8_t& letter : text) letter = uint8_t('a' + (random() & 1));
    Bytes raw;
    for (uint32_t y = 0; y < height; ++y)
        raw = Cat(raw, Cat(Bytes{0}, Slice(text, size_t(y) * length, length)));
    Bytes zlib(compressBound(uLong(raw.size())));
    uLongf size = uLongf(zlib.size());
    ASSERT_EQ(compress2(zlib.data(), &size, raw.data(), uLong(raw.size()), 9), Z_OK);
    zlib.resize(size);
    const auto row = [&](uint32_t y, uint8_t* out) {
        std::copy_n(text.begin() + long(y) * length, length, out);
    };
    for (const int level : {9, 10})
        EXPECT_EQ(JoinedImageData(ReadChunks(WrittenPng({width, height}, row,
                                                        {.level = level,
                                                         .filters = PngFilterSet::Empty,
                                                         .partSize = raw.size(),
                                                         .search = Level9Search::Full}))),
                  zlib)
            << level;
}

// Tall enough that the image data is more than deflate's window, and compressed in parts of a
// few rows: each part must be primed with the filtered rows before it. libpng reads the rows
// back, undoing the filters.
TEST(PngRowFilter, EveryFilterSetReadsBackUnchangedWhateverThePartsAndThreads) {
    const PngFilterSet sets[] = {PngFilterSet::Empty,   PngFilterSet::Sub,   PngFilterSet::Up,
                                 PngFilterSet::Average, PngFilterSet::Paeth, PngFilterSet::All};
    constexpr uint32_t width = 9, height = 600;
    Bytes chosen; // the filtered rows of each set: the filters chosen, byte for byte
    for (auto [colourType, depth] : {std::pair<uint8_t, uint8_t>{2, 8}, {6, 8}, {6, 16}}) {
        const PngHeader header{width, height, colourType, depth};
        std::vector<uint32_t> pixels;
        std::vector<uint16_t> expected; // as libpng reads them: 16-bit samples v x 257
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                // Smooth areas and edges, so that every filter is chosen somewhere.
                const uint32_t red = x < 4 ? 200 : x * 9, green = (x * y * 37) & 0xFF;
                const uint32_t blue = y * 30 & 0xFF, alpha = (x + y) % 3 * 100;
                pixels.push_back(red | green << 8 | blue << 16 | alpha << 24);
                const uint32_t samples[4] = {red, green, blue, alpha};
                for (int s = 0; s < (colourType == 6 ? 4 : 3); ++s)
                    expected.push_back(uint16_t(samples[s] * (depth == 16 ? 257 : 1)));
            }
        const auto rows = [&, type = colourType, bits = depth](uint32_t y, uint8_t* out) {
            PackPngRow(&pixels[size_t(y) * width], width, type, bits, out);
        };
        const size_t rowBytes = 1 + width * (colourType == 6 ? 4 : 3) * depth / 8;
        for (PngFilterSet set : sets) {
            PngCompression settings;
            settings.filters = set;
            Bytes whole;                     // the filtered rows in one part: the same for all
            std::map<size_t, Bytes> written; // by part size: the same for any number of threads
            for (auto [rowsPerPart, threads] :
                 {std::pair<size_t, unsigned>{height, 1}, {40, 1}, {40, 3}, {9, 2}}) {
                settings.partSize = rowsPerPart * rowBytes;
                settings.threads = threads;
                const Bytes file = WrittenPng(header, rows, settings);
                EXPECT_EQ(DecodeWithLibpng(file).samples, expected)
                    << int(colourType) << "/" << int(depth) << " filters " << int(set) << ", "
                    << rowsPerPart << " rows a part";
                const Bytes data = JoinedImageData(ReadChunks(file));
                const Bytes raw = Inflate(data, height * rowBytes);
                ASSERT_FALSE(raw.empty()) << rowsPerPart << " rows a part";
                if (rowsPerPart == height) whole = raw;
                if (rowsPerPart == height) chosen.insert(chosen.end(), raw.begin(), raw.end());
                EXPECT_EQ(raw, whole) << "filters chosen differently in parts";
                const auto [same, first] = written.emplace(rowsPerPart, data);
                EXPECT_EQ(data, same->second) << threads << " threads";
            }
            // A part size near the largest is one part, not a sum that wraps to a small one.
            settings.partSize = SIZE_MAX - rowBytes / 3;
            EXPECT_EQ(JoinedImageData(ReadChunks(WrittenPng(header, rows, settings))),
                      written[height]);
        }
    }
    EXPECT_EQ(CrcText(Crc32(chosen)), "2EE85D2D");
}

// A row takes the filter of the set whose bytes repeat most (one repeat is enough), and is
// left unfiltered when no filter makes anything repeat.
TEST(PngRowFilter, TheFilterWhoseBytesRepeatMostAndNoneWhenNothingRepeats) {
    const Bytes above(4, 0);
    const std::tuple<Bytes, PngFilterType, Bytes> cases[] = {
        {{10, 20, 30, 50}, PngFilterType::Sub, {10, 10, 10, 20}},
        {{10, 20, 35, 70}, PngFilterType::None, {10, 20, 35, 70}},
    };
    for (const auto& [row, type, filtered] : cases) {
        PngRowFilter filter(PngFilterSet::Sub | PngFilterSet::Up, row.size(), 1);
        const FilteredRow chosen = filter.Apply(row.data(), above.data());
        EXPECT_EQ(std::pair(chosen.type, Bytes(chosen.bytes, chosen.bytes + row.size())),
                  std::pair(type, filtered));
    }
}

// Rows of 1002 bytes: the first of the rows that prime a part lies partly within deflate's
// reach, so it must be filtered against the row above it, as the part before filtered it. Here
// the start of the second part repeats what that row would be if filtered against the row below.
TEST(PngRowFilter, APartIsPrimedWithTheRowsBeforeItAsFiltered) {
    constexpr uint32_t width = 334, length = 3 * width, height = 80, first = 40, from = 7;
    std::mt19937 random(7);
    std::vector<Bytes> rows(height, Bytes(length));
    for (Bytes& row : rows)
        for (uint8_t& byte : row) byte = uint8_t(random());
    for (uint32_t x = 0; x < 392; ++x)
        rows[first][x] =
            uint8_t(rows[first - 1][x] + rows[from][x + 610] - rows[from + 1][x + 610]);
    const auto row = [&](uint32_t y, uint8_t* out) { std::copy_n(rows[y].begin(), length, out); };
    const PngCompression parts{.filters = PngFilterSet::Up, .partSize = first * (length + 1)};
    const std::vector<uint16_t> samples =
        DecodeWithLibpng(WrittenPng({width, height}, row, parts)).samples;
    ASSERT_EQ(samples.size(), size_t(length) * height);
    // A part of less than half a row is a part of one row.
    EXPECT_EQ(DecodeWithLibpng(WrittenPng({width, height}, row, {.partSize = 1})).samples, samples);
    for (uint32_t y : {first - 1, first, first + 1})
        EXPECT_TRUE(std::equal(rows[y].begin(), rows[y].end(), samples.begin() + y * length)) << y;
}

} // namespace
} // namespace drovak
