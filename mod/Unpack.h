#pragma once

#include "mod/Manifest.h"
#include "rom/LzhPage.h"

#include "base/Progress.h"
#include <cstdint>

#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace drovak {

// A file that was not written, and why: an entry that does not decode within the file, a
// known block that is not there, a sheet whose palette is not there.
struct SkippedFile {
    std::string name;
    std::exception_ptr error{};                 // what stopped it, or
    std::optional<EntryProblem> entryProblem{}; // why an entry does not decode
};

struct UnpackResult {
    Manifest manifest;
    std::vector<SkippedFile> skipped;
    // The folder held a previous unpack of the same ROM, every file of it unchanged.
    bool replacedPrevious = false;
};

// Writes a ROM image into the folder `dir` as files (created when missing): drovak.toml first,
// marked unfinished and listing every file, then every entry of the table at `table` as
// lzh-extract writes it, the known RLE blocks as rle-extract writes them, a sheet beside each
// that the layout knows as tiles (ModLayout.h), drawn as tiles-to-png draws it, and drovak.toml
// again, finished. The ROM's path is recorded as seen from where `dir` really is (it may be a
// link). Every file is created or replaced by its name itself, never written through a link
// there (base/FolderFiles.h). `written` is told of each data file once it and its sheet are
// written.
// Refused (RefusedError, nothing written) when the folder is not empty, unless it holds an
// unpack of the same ROM image, finished or not, whose files are all as that unpack wrote them:
// regular files (links are not followed, and count as changed) with their recorded CRC-32;
// when the table has more entries than a compress can recalculate (32) or is no table. What
// can't be read is left out and listed in `skipped`. A failure part-way leaves the unfinished
// folder, which the same unpack run again finishes, and says so. `progress` hears of each data
// file written (its name); a cancel is heeded before the folder is touched (CancelledError,
// nothing written), and after that the unpack goes on to the end.
UnpackResult Unpack(const std::string& romPath, const std::string& dir, uint32_t table,
                    const std::function<void(const ModFile&)>& written, Progress& progress);
UnpackResult Unpack(const std::string& romPath, const std::string& dir, uint32_t table,
                    const std::function<void(const ModFile&)>& written = {});

} // namespace drovak
