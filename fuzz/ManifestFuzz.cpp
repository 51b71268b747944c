// The manifest reader on any text: it reads a manifest or refuses it with its own error, never
// anything else; what it reads names only files of the folder, and writes back to a manifest
// that reads the same.
#include "base/Errors.h"
#include "fuzz/FuzzCheck.h"
#include "mod/Manifest.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0; // far more than any manifest holds
    const std::string text(reinterpret_cast<const char*>(data), size);
    drovak::Manifest manifest;
    try {
        manifest = drovak::ParseManifest(text, "drovak.toml");
    } catch (const drovak::RefusedError& error) {
        // The refusal names the file it read.
        FUZZ_CHECK(std::string(error.what()).rfind("drovak.toml: ", 0) == 0);
        return 0;
    }
    for (const drovak::ModFile& file : manifest.files) {
        FUZZ_CHECK(file.name == drovak::DataFileName(manifest, file));
        FUZZ_CHECK(file.name.find_first_of("/\\") == std::string::npos);
        FUZZ_CHECK(!file.sheet || file.sheet->name == drovak::SheetFileName(manifest, file));
    }
    FUZZ_CHECK(drovak::ParseManifest(drovak::ManifestText(manifest), "again") == manifest);
    return 0;
}
