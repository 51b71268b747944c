// Seeds of the manifest target: the files of an unpack of the demo ROM (its manifest, and ones
// with one file and none; level 1's maps and the title palette), made in a folder of their own.
#include "demo/DemoRom.h"
#include "fuzz/Seeds.h"
#include "mod/Manifest.h"
#include "mod/Unpack.h"
#include "rom/RomLayout.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace drovak::fuzz {

void AddModSeeds(SeedSet& seeds) {
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("drovak-seeds-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const Bytes rom = MakeDemoRom();
    std::ofstream(folder / "demo.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(rom.data()), std::streamsize(rom.size()));
    Manifest manifest = Unpack(folder / "demo.bin", folder / "mod", POINTER_TABLE_OFFSET).manifest;
    auto& target = seeds["manifest"];
    for (const char* name :
         {"drovak.toml", "levels/level01.tmx", "levels/level01-blocks.tmx", "palettes/title.gpl"}) {
        std::ifstream in(folder / "mod" / name, std::ios::binary);
        target[fs::path(name).filename()] = {std::istreambuf_iterator<char>(in), {}};
    }
    fs::remove_all(folder);
    manifest.views.clear();
    manifest.files.resize(1);
    target["one-file.toml"] = Text(ManifestText(manifest));
    manifest.files.clear();
    target["no-files.toml"] = Text(ManifestText(manifest));
}

} // namespace drovak::fuzz
