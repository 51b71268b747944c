#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace drovak {

// Palettes as GIMP palette files: "GIMP Palette", "Name: ...", "Columns: 16", then one line
// "R G B<TAB>name" a colour, each colour as the renderer shows it (a 3-bit level v as v x 32).

// The file of `words` (Mega Drive colour words), named `name`; colour k is called "line L, k".
std::string GimpPaletteText(const std::vector<uint16_t>& words, const std::string& name);

// The colours of a palette file (red + green x 256 + blue x 65536), as any editor may have
// saved it: comment lines, blank lines, names after the numbers, any white space, CR LF.
// RefusedError naming `path` and the line for a line that is not a colour or numbers above
// 255, and naming the counts when it holds other than `count` colours.
std::vector<uint32_t> ParseGimpPalette(std::string_view text, const std::string& path,
                                       size_t count);

// The words a palette takes from colours read back: a colour that is the one its word shows
// keeps the word bit for bit; another becomes the word of the nearest level of each channel
// (halfway rounding up), and when it was not on the console's grid its number is in `snapped`.
struct PaletteFromColours {
    std::vector<uint16_t> words;
    std::vector<unsigned> changed; // the colours whose words changed
    std::vector<unsigned> snapped; // those that were moved to the nearest colour
};
PaletteFromColours PaletteWords(const std::vector<uint32_t>& colours,
                                const std::vector<uint16_t>& old);

} // namespace drovak
