// Saves one of the program's files over and over, each save with content of
// its own, until it is killed: the subject of the crash-safety test.
//
//   velkaris-save-loop settings <config home> <first save number>
//   velkaris-save-loop slew <file> <first save number>
//
// One line "saved" on standard output tells the test that the first save is
// complete; after it the loop runs on without a word.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "astro/Constants.h"
#include "settings/SettingsStore.h"
#include "tests/controller/helpers/SaveContents.h"

namespace {

bool SaveSettings(uint32_t save) {
    SettingsStore store;
    store.BeginTransaction();
    for (int i = 0; i < save_loop::SettingsIntegers; ++i)
        store.WriteInt(save_loop::IntegerName(i), static_cast<int32_t>(save));
    store.WriteRecentPlaces({save_loop::TextOf(save)});
    return store.Commit();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s settings|slew <config home or file> <first save number>\n", argv[0]);
        return 2;
    }
    InitialiseConstants();
    const std::string kind = argv[1];
    const std::string where = argv[2];
    uint32_t save = static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10));
    if (kind == "settings")
        setenv("XDG_CONFIG_HOME", where.c_str(), 1);
    else if (kind != "slew")
        return 2;

    for (bool first = true;; first = false, ++save) {
        const bool saved = kind == "settings" ? SaveSettings(save) : WriteSlewFile(where, save_loop::PositionOf(save));
        if (!saved) {
            std::fprintf(stderr, "save %u failed\n", save);
            return 1;
        }
        if (first) {
            // Unbuffered, so that the test hears it at once.
            const char line[] = "saved\n";
            if (write(STDOUT_FILENO, line, sizeof line - 1) < 0) return 1;
        }
    }
}
