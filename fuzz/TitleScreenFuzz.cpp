// The title screen on a changed demo ROM: its palette, name table and art are changed in a few
// places as the fuzzer says (the art's length header among them). The picture is always
// 320 x 224, the frame buffer holds it, and each pixel is black or a colour of the title palette.
#include "base/Stream.h"
#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzRom.h"
#include "fuzz/PictureColours.h"
#include "graphics/TitleScreen.h"
#include "rom/RomLayout.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    static std::vector<uint8_t> image; // reused: no new pages for each run
    image.assign(drovak::fuzz::DemoRom().begin(), drovak::fuzz::DemoRom().end());
    // The title's data, and how long the image is (the art may be cut short).
    const size_t end = in.ConsumeIntegralInRange<size_t>(drovak::TITLE_ART_OFFSET, image.size());
    drovak::fuzz::Mutate(in, image, {drovak::TITLE_ART_OFFSET},
                         {{drovak::TITLE_PALETTE_OFFSET, drovak::TITLE_ART_OFFSET + 0x800}});
    if (in.ConsumeBool()) image.resize(end);

    const drovak::PaletteTable palette = drovak::PaletteAt(image, drovak::TITLE_PALETTE_OFFSET);
    const drovak::PreviewImage picture = drovak::RenderTitleScreen(image);
    FUZZ_CHECK(picture.Width == 320 && picture.Height == 224);
    FUZZ_CHECK(picture.Pixels.size() == size_t(320) * 224);
    FUZZ_CHECK(drovak::fuzz::AllColoursOf(picture.Pixels, palette.begin(), palette.end()));
    return 0;
}
