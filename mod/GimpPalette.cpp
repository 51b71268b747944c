#include "mod/GimpPalette.h"

#include "base/Errors.h"
#include "graphics/Renderer.h"
#include "mod/ModProblem.h"

#include <cstdio>
#include <sstream>

namespace drovak {

namespace {

constexpr unsigned COLOURS_A_LINE = 16;
constexpr uint32_t LEVEL_STEP = 32; // a 3-bit level v shows as v x 32

// The level nearest an 8-bit channel, halfway rounding up.
uint16_t Level(uint32_t channel) {
    return uint16_t(std::min<uint32_t>(7, (channel + LEVEL_STEP / 2) / LEVEL_STEP));
}

std::string_view Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == text.npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

} // namespace

std::string GimpPaletteText(const std::vector<uint16_t>& words, const std::string& name) {
    std::string text = "GIMP Palette\nName: " + name + "\nColumns: 16\n#\n";
    for (size_t k = 0; k < words.size(); ++k) {
        const uint32_t colour = ConvertColourWord(words[k]);
        char line[64];
        std::snprintf(line, sizeof line, "%3u %3u %3u\tline %zu, %zu\n", colour & 0xFF,
                      (colour >> 8) & 0xFF, (colour >> 16) & 0xFF, k / COLOURS_A_LINE,
                      k % COLOURS_A_LINE);
        text += line;
    }
    return text;
}

std::vector<uint32_t> ParseGimpPalette(std::string_view text, const std::string& path,
                                       size_t count) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<uint32_t> colours;
    size_t number = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        const auto refuse = [&](ModProblemKind kind, std::string read = {}, long value = 0) {
            ThrowModProblem(ModProblem{.kind = kind,
                                       .file = path,
                                       .text = std::move(read),
                                       .number = value,
                                       .line = number});
        };
        if (number == 1) {
            if (line != "GIMP Palette") refuse(ModProblemKind::PaletteNotGimp);
            continue;
        }
        if (line.empty() || line.front() == '#' || line.substr(0, 5) == "Name:" ||
            line.substr(0, 8) == "Columns:")
            continue;
        std::istringstream fields{std::string(line)};
        long channel[3] = {};
        fields >> channel[0] >> channel[1] >> channel[2];
        const bool numbers = !fields.fail();
        const int after = numbers ? fields.peek() : EOF;
        if (!numbers || (after != EOF && after != ' ' && after != '\t')) {
            refuse(ModProblemKind::PaletteNotColour, std::string(line.substr(0, 40)));
        }
        for (const long value : channel) {
            if (value < 0 || value > 255) refuse(ModProblemKind::PaletteValue, {}, value);
        }
        colours.push_back(uint32_t(channel[0]) | uint32_t(channel[1]) << 8 |
                          uint32_t(channel[2]) << 16);
    }
    if (number == 0)
        ThrowModProblem(ModProblem{.kind = ModProblemKind::PaletteEmpty, .file = path});
    if (colours.size() != count) {
        ThrowModProblem(ModProblem{.kind = ModProblemKind::PaletteColourCount,
                                   .file = path,
                                   .limit = count,
                                   .count = colours.size()});
    }
    return colours;
}

PaletteFromColours PaletteWords(const std::vector<uint32_t>& colours,
                                const std::vector<uint16_t>& old) {
    PaletteFromColours result;
    result.words = old;
    for (unsigned k = 0; k < colours.size() && k < old.size(); ++k) {
        const uint32_t colour = colours[k];
        if (colour == ConvertColourWord(old[k])) continue;
        const uint16_t red = Level(colour & 0xFF), green = Level(colour >> 8 & 0xFF),
                       blue = Level(colour >> 16 & 0xFF);
        const uint16_t word = uint16_t(blue << 9 | green << 5 | red << 1);
        if (ConvertColourWord(word) != colour) result.snapped.push_back(k);
        if (ConvertColourWord(word) != ConvertColourWord(old[k])) {
            result.words[k] = word;
            result.changed.push_back(k);
        }
    }
    return result;
}

} // namespace drovak
