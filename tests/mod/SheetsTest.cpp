// Sheets of an unpacked folder saved again by an image editor change nothing, whatever the
// editor did to their palette; one drawn beyond its length asks and grows.
#include "base/Errors.h"
#include "demo/DemoRom.h"
#include "graphics/TilePalette.h"
#include "graphics/TilesToPng.h"
#include "mod/Pack.h"
#include "mod/Unpack.h"
#include "rom/LzhPage.h"
#include "rom/RomLayout.h"
#include "support/LibpngCodec.h"
#include "support/TestSupport.h"
#include "words/PackWords.h"

namespace drovak::test {
namespace {

class Sheets : public ScratchTest {
protected:
    void SetUp() override {
        WriteBytes(rom_, MakeDemoRom());
        manifest_ = drovak::Unpack(rom_, folder_, POINTER_TABLE_OFFSET, {}).manifest;
    }
    std::string Path(const std::string& name) const { return folder_ + "/" + name; }
    const std::string rom_ = File("demo.bin"), folder_ = File("mod");
    Manifest manifest_;
};

TEST_F(Sheets, EveryEditorCopyOfEverySheetPacksToTheRomByteForByte) {
    const Bytes base = ReadBytes(rom_);
    // RGB, and indexed with the palette's order reversed (the pixels' indices with it).
    const auto reordered = [](const Bytes& sheet) {
        LibpngPicture p = DecodeWithLibpng(sheet);
        std::reverse(p.palette.begin(), p.palette.end());
        for (uint16_t& sample : p.samples) sample = uint16_t(p.palette.size() - 1 - sample);
        p.bitDepth = 8;
        p.texts.clear();
        return EncodeWithLibpng(p);
    };
    size_t sheets = 0;
    for (const ModFile& file : manifest_.files) {
        if (!file.sheet) continue;
        ++sheets;
        const std::string path = Path(file.sheet->name);
        const Bytes unpacked = ReadBytes(path);
        for (const Bytes& copy :
             {EditorCopy(unpacked, PNG_COLOR_TYPE_RGB, 8), reordered(unpacked)}) {
            WriteBytes(path, copy);
            const PackPlan plan = PlanPack(folder_, std::nullopt);
            EXPECT_TRUE(plan.changes.empty() && plan.image == base) << file.sheet->name;
        }
        WriteBytes(path, unpacked);
    }
    EXPECT_EQ(sheets, 10u);
    // A level's tile art saved from the window (drawn with the tile sheets' palette) keeps its
    // values; the title art is drawn with the title palette.
    SaveTilesPng(ReadBytes(Path("20000_A.bin")), ReadTilePalette(rom_, PREVIEW_PALETTE_OFFSET, 0),
                 64, Path("20000_A.png"));
    EXPECT_TRUE(PlanPack(folder_, std::nullopt).image == base);
    EXPECT_EQ(manifest_.files.back().sheet->layout.paletteOffset, TITLE_PALETTE_OFFSET);
}

TEST_F(Sheets, ASheetDrawnBeyondItsLengthAsksAndGrows) {
    const std::string path = Path("20000_8.png");
    const size_t tiles = ReadBytes(Path("20000_8.bin")).size() / 32;
    LibpngPicture p = DecodeWithLibpng(ReadBytes(path));
    ASSERT_GT(p.width / 8 * (p.height / 8), tiles + 3);
    // A pixel of the third tile past the data (64 tiles a row).
    const size_t tile = tiles + 2;
    p.samples[(tile / 64 * 8 + 5) * p.width + tile % 64 * 8 + 1] = 7;
    p.bitDepth = 8;
    WriteBytes(path, EncodeWithLibpng(p));
    const PackPlan plan = PlanPack(folder_, std::nullopt);
    ASSERT_EQ(plan.changes.size(), 1u);
    const std::vector<std::string> questions = PackQuestions(plan.changes[0]);
    ASSERT_FALSE(questions.empty());
    EXPECT_TRUE(Holds(questions[0], "drawn beyond the " + std::to_string(tiles) +
                                        " tiles of entry 0x8 (20000_8.bin): it holds " +
                                        std::to_string(tiles + 3) + " tiles"))
        << questions[0];
    const RomBytes image{"new", plan.image};
    EXPECT_EQ(LzhExtractEntry(image, POINTER_TABLE_OFFSET, 8).data.size(), 32 * (tiles + 3));
}

} // namespace
} // namespace drovak::test
