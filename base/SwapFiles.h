#pragma once

#include "base/FileSystem.h"

#include <string>

namespace drovak {

// Two files of one folder swap names: `first` then names what `second` held and the other way
// round. One atomic step where the file system can (renameat2 with RENAME_EXCHANGE). Where it
// can't, three steps through a named intermediate file, SECOND.swap (SwapIntermediate): a hard
// link of `first` there where the file system makes links, else `first` renamed there (FAT,
// exFAT and other file systems with neither exchange nor links), then `second` renamed to
// `first` and the intermediate to `second`. A run killed in the middle leaves the intermediate
// for the next one (FinishInterruptedSwap). FileError: "nothing was changed" before the swap,
// "swapped" after it (the folder's sync failed), and the intermediate named where a step failed
// half-way.
// `fileSystem` says which calls the file system offers.
void SwapFiles(const std::string& first, const std::string& second,
               const FileSystemPolicy& fileSystem = RealFileSystem());

// The intermediate file name of a swap of `first` with `second`.
std::string SwapIntermediate(const std::string& second);

// What FinishInterruptedSwap found.
enum class InterruptedSwap { None, RolledBack, Finished };

// Finishes a swap that a killed run left half-way, from what the three names hold: `first`
// missing (one step taken: `first` renamed to the intermediate) takes the two steps left;
// `second` missing (two steps taken) renames the intermediate to `second`. An intermediate that
// is a link of `first` (nothing renamed yet) is removed: that swap is rolled back. Anything else
// is refused (RefusedError naming the intermediate, for the user to look at), and so is an
// intermediate that a live run holds (InUseError).
InterruptedSwap FinishInterruptedSwap(const std::string& first, const std::string& second);

} // namespace drovak
