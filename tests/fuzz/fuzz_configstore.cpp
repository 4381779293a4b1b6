// Settings files may be edited by hand or left damaged: whatever loads must
// survive saves and reloads unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "helpers/cconfigutils.h"

using kd_app::helpers::CConfigUtils;

namespace {

std::string folder()
{
    static const std::string path = [] {
        // In memory where the machine has it: every save is flushed to disk.
        char pattern[] = "/dev/shm/fuzz-configstore-XXXXXX";
        const char *made = mkdtemp(pattern);
        if (!made) {
            std::abort();
        }
        return std::string(made);
    }();
    return path;
}

void write(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string read(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// Loads the file, changes one value so that the store writes, saves, and
// returns what was written.
std::string loadAndSave(const std::string &path)
{
    CConfigUtils store;
    // A damaged file loads what it can (and says so); it must still be saved.
    if (!store.load(path.c_str()) && !store.isDamaged()) {
        std::abort();
    }
    store.setString("Fuzz", "Touched", "yes");
    if (!store.save()) {
        std::abort();
    }
    return read(path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string path = folder() + "/config.ini";
    std::remove((path + ".bak").c_str());
    write(path, std::string(reinterpret_cast<const char *>(data), size));
    // The first save may tidy the text (blank lines, spacing); from then on
    // a reload must give back exactly what was saved.
    loadAndSave(path);
    const std::string first = loadAndSave(path);
    const std::string second = loadAndSave(path);
    if (first != second) {
        std::fprintf(stderr, "a reload changed the settings:\n--- first\n%s\n--- second\n%s\n", first.c_str(),
                     second.c_str());
        std::abort();
    }
    return 0;
}
