#include "words/WindowWords.h"

#include "graphics/TileSheet.h"
#include "words/CommandWords.h"
#include "words/WindowStatusWords.h"

namespace drovak {

std::string ReplaceFileQuestion(const std::string& name) {
    return "The file " + name + " " + HoldsOtherData() + "!\r\nDo you want to replace it?";
}

std::string DroppedPictureQuestion(const std::string& picture, uint64_t keptBytes,
                                   const std::string& what, uint64_t x, uint64_t y) {
    return "The picture " + picture + " is drawn beyond the " + TilesAndBytesText(keptBytes) +
           " that go into " + what + " (the pixel at x " + std::to_string(x) + ", y " +
           std::to_string(y) + " is not blank); that part is left out.\r\nDo you want to continue?";
}

std::string UndoQuestion(const std::string& name, const std::string& sides) {
    return "Undo the last change to " + name + "?\r\nIt swaps " + sides + ".";
}

std::string ApplyPatchQuestion(const std::string& patch, const std::string& rom) {
    return "Apply " + patch + " to " + rom + "?";
}

std::string NoRomForPatchMessage(const std::string& patch) {
    return NothingWrittenMessage("There is no ROM on this page to apply " + patch +
                                 " to: choose one first");
}

std::string PatchOverImageMessage(const std::string& out, const std::string& image) {
    return NothingWrittenMessage(PatchOverImageReason(out, image));
}

std::string SameImageMessage(const std::string& original, const std::string& modified, uint32_t crc,
                             uint64_t size) {
    return NothingWrittenMessage(SameImageReason(original, modified, crc, size));
}

std::string NoHeaderChecksumMessage(const std::string& rom, uint64_t size) {
    return rom + ": " + NothingWrittenLine(NoHeaderChecksumReason(size));
}

std::string TaskRunsMessage(const std::string& what, const std::string& running) {
    return what + " waits: " + running +
           " runs; cancel it (Esc) or wait for its end. Nothing was done.";
}

std::string NoGlContextMessage() {
    return "No OpenGL context can be had for the preview (OpenGL 1.1, 32-bit colour, 24-bit "
           "depth buffer); Drovak closes.";
}

std::string UnknownErrorText() {
    return "Unknown error";
}

std::string RomNotOpenedText(const std::string& problem) {
    return "ROM image not opened: " + problem;
}

std::string UnknownWindowOptionText(const std::string& option) {
    return "unknown option \"" + option + "\"";
}

std::string TooManyRomsText(uint64_t count) {
    return "one ROM image at most, not " + std::to_string(count);
}

std::string WindowUsageProblemText(const std::string& problem) {
    return "drovak: " + problem + "\nUsage: drovak [ROM]\n";
}

std::string WindowHelpText() {
    return "Usage: drovak [ROM]\n"
           "       drovak --help | --version\n"
           "\n"
           "The Drovak window: decompress, view and recompress the data of a Mega Drive\n"
           "cartridge image (LZH and RLE compression, the Levels Viewer, the title screen).\n"
           "\n"
           "  ROM        the ROM image to open at start-up instead of tf3.bin beside the\n"
           "             program; one that can't be read is named in the status line\n"
           "  -h, --help     print this help and end\n"
           "  --version      print the program's version and end\n"
           "\n"
           "Every change keeps the previous image as NAME.bak beside the ROM. drovak-cli runs\n"
           "the same operations from the command line; man drovak says the rest.\n";
}

} // namespace drovak
