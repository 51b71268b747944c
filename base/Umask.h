#pragma once

namespace drovak {

// The file-creation mask the program started with. It is read once while the program starts,
// before any thread runs, and never changed: a new file's mode is 0666 without these bits.
unsigned StartupUmask();

} // namespace drovak
