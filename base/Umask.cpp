#include "base/Umask.h"

#include <cstdio>
#include <sys/stat.h>

namespace drovak {

namespace {

// The mask as the kernel reports it ("Umask:\t0022" in /proc/self/status), which leaves it as
// it is; where that is not to be had, it is set and at once set back, while no other thread can
// see it.
unsigned ReadUmask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status)) {
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        }
        std::fclose(status);
        if (found) return mask & 0777;
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask & 0777;
}

// Read during the program's static initialisation, before main and any thread.
const unsigned startupUmask = ReadUmask();

} // namespace

unsigned StartupUmask() {
    return startupUmask;
}

} // namespace drovak
