// tiles-to-png and png-to-tiles: the same bytes back through indexed and RGB pictures; refused
// pictures write nothing.
#include "CliRunner.h"
#include "support/LibpngCodec.h"

#include <algorithm>
#include <tuple>

namespace drovak::test {
namespace {

using CliTiles = CliTest;

TEST_F(CliTiles, SameBytesBackThroughIndexedAndRgbPictures) {
    const Bytes rom = Cat(Bytes(0x40, 0), SixtyFourColours()); // 64 colours at 0x40
    // A run with palette line 2 of them.
    const auto withPalette = [&, romFile = Write("rom.bin", rom)](Args line) {
        line.insert(line.end(), {"--rom", romFile, "--palette-at", "40", "--line", "2"});
        return Run(line);
    };
    const Bytes data = Pattern(32 * 50 + 7);
    const std::string png = File("tiles.png"), back = File("back.bin");
    const CliResult made =
        withPalette({"tiles-to-png", Write("data.bin", data), png, "--columns", "5"});
    const CliResult undone = Run({"png-to-tiles", png, back});
    EXPECT_EQ(made.exitCode + undone.exitCode, 0) << made.err << undone.err;
    EXPECT_EQ((std::tuple{made.out, undone.out}), (std::tuple{"51 tiles, 1607 bytes\n", made.out}));
    EXPECT_EQ(ReadBytes(back), data);
    // An RGB copy, without the recorded length: the whole tiles asked for.
    const std::string copy = Write("copy.png", EditorCopy(ReadBytes(png), PNG_COLOR_TYPE_RGB, 8));
    EXPECT_TRUE(Ok(withPalette({"png-to-tiles", copy, back, "--tiles", "51", "--yes"})));
    EXPECT_EQ(ReadBytes(back), Cat(data, Bytes(25, 0)));
}

// The notes name the values and pixels as they are: a palette line that gives colour 0 to value 1
// too, and the first pixel left out that is not blank (at the first byte past the tile kept).
TEST_F(CliTiles, NotesNameTheValuesAndThePixel) {
    Bytes rom = SixtyFourColours();
    Put(rom, 0, Words({0x0E02, 0x0E02}));
    Bytes data(64, 0);
    data[32] = 0x0A;             // x 9, y 0
    data[32 + 5 * 4 + 3] = 0x30; // x 14, y 5
    const std::string png = File("tiles.png");
    const CliResult made = Run({"tiles-to-png", Write("data.bin", data), png, "--rom",
                                Write("rom.bin", rom), "--palette-at", "0"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    EXPECT_TRUE(Holds(made.err,
                      "has the colour #2000E0 for both 0 and 1: an RGB copy of the picture "
                      "gives back 0 for both"));
    const CliResult kept = Run({"png-to-tiles", png, File("out.bin"), "--tiles", "1"});
    ASSERT_EQ(kept.exitCode, 0) << kept.err;
    EXPECT_TRUE(Holds(kept.err, "the pixel at x 9, y 0 lies beyond the 1 tiles kept"));
    EXPECT_EQ(ReadBytes(File("out.bin")), Bytes(32, 0));
}

// The RLE page's layout (cells of 1 x 4 tiles, 64 a row) comes back in the same order, with the
// PNG's record of the cell or, in a copy without it, with --cell.
TEST_F(CliTiles, CellsComeBackInTheirOrder) {
    const Bytes data = Pattern(32 * 300 + 5);
    const std::string png = File("tiles.png"), back = File("back.bin");
    ASSERT_TRUE(Ok(
        Run({"tiles-to-png", Write("data.bin", data), png, "--cell", "1x4", "--columns", "64"})));
    const LibpngPicture sheet = DecodeWithLibpng(ReadBytes(png));
    EXPECT_EQ(std::tie(sheet.width, sheet.height), std::tuple(512u, 64u)); // 76 cells, 2 rows
    ASSERT_TRUE(Ok(Run({"png-to-tiles", png, back})));
    EXPECT_EQ(ReadBytes(back), data);
    const std::string copy = Write("copy.png", EditorCopy(ReadBytes(png), PNG_COLOR_TYPE_RGB, 8));
    ASSERT_TRUE(Ok(Run({"png-to-tiles", copy, back, "--tiles", "301", "--cell", "1x4", "--yes"})));
    EXPECT_EQ(ReadBytes(back), Cat(data, Bytes(27, 0)));
    ASSERT_TRUE(Ok(Run({"png-to-tiles", copy, back, "--tiles", "301", "--yes"}))); // 1x1
    EXPECT_NE(ReadBytes(back), Cat(data, Bytes(27, 0)));
    EXPECT_EQ(Run({"tiles-to-png", File("data.bin"), png, "--cell", "1x0"}).exitCode, 1);
}

// An editor that reorders the palette of an indexed sheet: with --rom the colours decide, and
// stdout says so; a colour the palette line lacks is refused with its pixel.
TEST_F(CliTiles, AReorderedPaletteIsReadByColour) {
    const std::string rom = Write("rom.bin", Cat(Bytes(0x40, 0), SixtyFourColours()));
    const auto withPalette = [&](Args line) {
        line.insert(line.end(), {"--rom", rom, "--palette-at", "40"});
        return Run(line);
    };
    const Bytes data = Pattern(32 * 20);
    ASSERT_TRUE(Ok(withPalette({"tiles-to-png", Write("data.bin", data), File("tiles.png")})));
    LibpngPicture edited = DecodeWithLibpng(ReadBytes(File("tiles.png")));
    edited.bitDepth = 8;
    std::reverse(edited.palette.begin(), edited.palette.end());
    for (uint16_t& sample : edited.samples) sample = uint16_t(15 - sample);
    const std::string reordered = Write("reordered.png", EncodeWithLibpng(edited));

    const CliResult read = withPalette(
        {"png-to-tiles", reordered, File("back.bin"), "--tiles", "20"}); // libpng wrote no tEXt
    ASSERT_TRUE(Ok(read));
    EXPECT_EQ(read.out, "20 tiles, 640 bytes\nThe palette of " + reordered +
                            " is not palette line 0 of the palette at 0x40 in " + rom +
                            " in its order: each pixel took the value of its colour.\n");
    EXPECT_EQ(ReadBytes(File("back.bin")), data);
    // Without --rom the values are taken as they are, and so the note says.
    const CliResult asTheyAre =
        Run({"png-to-tiles", reordered, File("back.bin"), "--tiles", "20", "--yes"});
    ASSERT_TRUE(Ok(asTheyAre));
    EXPECT_TRUE(Holds(asTheyAre.err, "differs from the grey ramp at 0 (#")) << asTheyAre.err;
    Bytes flipped = data;
    for (uint8_t& byte : flipped) byte = uint8_t(~byte);
    EXPECT_EQ(ReadBytes(File("back.bin")), flipped);

    edited.palette.push_back({0x12, 0x34, 0x56});
    edited.samples[3 * edited.width + 5] = 16;
    EXPECT_TRUE(Fails(withPalette({"png-to-tiles", Write("foreign.png", EncodeWithLibpng(edited)),
                                   File("back.bin"), "--tiles", "20"}),
                      3, "the colour #123456 at x 5, y 3 is not in palette line 0"));
    EXPECT_EQ(ReadBytes(File("back.bin")), flipped);
}

TEST_F(CliTiles, RefusedPicturesAndWrongCommandLinesWriteNothing) {
    const std::string data = Write("data.bin", Pattern(32 * 20)), png = File("tiles.png");
    ASSERT_TRUE(Ok(Run({"tiles-to-png", data, png}))); // 16 tiles a row, 2 rows
    const std::string foreign =
        Write("foreign.png", EditorCopy(ReadBytes(png), 2, 8, 0, 0, 3 * 128 + 5));
    const std::string out = Write("out.bin", {9, 9, 9});
    const std::pair<Args, std::string> cases[] = {
        // the command line; the exit code and the message (the picture's other refusals:
        // GraphicsTileSheet.RefusesWhatIsNotTilesNamingThePixel, PngReader)
        {{"png-to-tiles", foreign, out},
         "3 the colour #010203 at x 5, y 3 is not in the grey ramp"},
        {{"png-to-tiles", png, out, "--line", "1"}, "1 --line goes with --rom"},
        {{"png-to-tiles", png, out, "--rom", File("missing.bin")}, "2 missing.bin"},
        {{"tiles-to-png", data, out, "--columns", "2049"}, "1 --columns wants"},
        {{"tiles-to-png", data, out, "--rom", data, "--palette-at", "261"}, "2 too short"},
    };
    for (const auto& [arguments, expected] : cases) {
        EXPECT_TRUE(Fails(Run(arguments), expected[0] - '0', expected.substr(2)));
        EXPECT_EQ(ReadBytes(out), (Bytes{9, 9, 9}));
    }
}

} // namespace
} // namespace drovak::test
