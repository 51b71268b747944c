#pragma once

// What the window asks, refuses and reports as an error, and what its command line says: the
// sentences of its message boxes and of `drovak --help`.

#include <cstdint>
#include <string>

namespace drovak {

// "The file NAME already exists and holds other data!\r\nDo you want to replace it?"
std::string ReplaceFileQuestion(const std::string& name);
// A picture drawn beyond the tiles that go into WHAT (an entry, a block): go on without it?
std::string DroppedPictureQuestion(const std::string& picture, uint64_t keptBytes,
                                   const std::string& what, uint64_t x, uint64_t y);
// "Undo the last change to NAME?\r\nIt swaps SIDES." (SIDES as UndoSidesText words them).
std::string UndoQuestion(const std::string& name, const std::string& sides);
// "Apply PATCH to ROM?"
std::string ApplyPatchQuestion(const std::string& patch, const std::string& rom);

// A dropped patch with no ROM in the page's field.
std::string NoRomForPatchMessage(const std::string& patch);
// The refusals of "Make a patch against an original ROM...", as the window's box says them.
std::string PatchOverImageMessage(const std::string& out, const std::string& image);
std::string SameImageMessage(const std::string& original, const std::string& modified, uint32_t crc,
                             uint64_t size);
// "fix the header checksum" of an image too short to hold one.
std::string NoHeaderChecksumMessage(const std::string& rom, uint64_t size);
// WHAT asked for while the task RUNNING runs.
std::string TaskRunsMessage(const std::string& what, const std::string& running);

// The errors of start-up, and what ends the program when a fault has no words of its own.
std::string NoGlContextMessage();
std::string UnknownErrorText();
std::string RomNotOpenedText(const std::string& problem);

// The window's command line: its problems, "drovak: PROBLEM\nUsage: drovak [ROM]\n" and --help.
std::string UnknownWindowOptionText(const std::string& option);
std::string TooManyRomsText(uint64_t count);
std::string WindowUsageProblemText(const std::string& problem);
std::string WindowHelpText();

} // namespace drovak
