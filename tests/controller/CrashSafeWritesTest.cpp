#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <poll.h>
#include <random>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/SettingsFile.h"
#include "settings/SettingsStore.h"
#include "tests/controller/helpers/SaveContents.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Which save a settings file is, when it is exactly one whole save: the
// serialised form of its own entries (nothing cut off, nothing added), every
// value of one and the same save.
std::optional<uint32_t> SettingsSaveOf(const std::string& text) {
    const auto entries = SettingsFile::Parse(text);
    if (SettingsFile::Serialise(entries) != text) return std::nullopt;
    std::optional<int32_t> save;
    int integers = 0;
    for (const SettingsFile::Entry& e : entries) {
        if (e.name.rfind("KillTestValue", 0) != 0) continue;
        const auto v = SettingsFile::ParseInt(e.value);
        if (!v || e.type != "int" || (save && *v != *save)) return std::nullopt;
        save = v;
        ++integers;
    }
    if (!save || integers != save_loop::SettingsIntegers) return std::nullopt;
    const auto text1 = std::find_if(entries.begin(), entries.end(),
                                    [](const SettingsFile::Entry& e) { return e.name == "RecentPlace1"; });
    if (text1 == entries.end() || text1->value != save_loop::TextOf(static_cast<uint32_t>(*save))) return std::nullopt;
    return static_cast<uint32_t>(*save);
}

// Starts the save loop and returns once its first save is complete.
pid_t StartSaveLoop(const std::string& kind, const std::string& where, uint32_t firstSave) {
    int out[2];
    if (pipe(out) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        const std::string first = std::to_string(firstSave);
        execl(VELKARIS_SAVE_LOOP, VELKARIS_SAVE_LOOP, kind.c_str(), where.c_str(), first.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    pollfd ready{out[0], POLLIN, 0};
    char line[8] = {};
    const bool started = child > 0 && poll(&ready, 1, 10000) == 1 && read(out[0], line, sizeof line) > 0;
    close(out[0]);
    if (!started && child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        return -1;
    }
    return child;
}

// A process that saves one of the program's files in a loop, each save with
// content of its own, is killed at random moments. After every kill the file
// must be whole and exactly one save's content: the last one finished, or
// the one under way if its rename had already happened.
TEST(CrashSafeWrites, AKilledSaveLeavesOneWholeSave) {
    struct Case {
        const char* kind;
        fs::path file;  // within the scratch folder
        std::optional<uint32_t> (*saveOf)(const std::string&);
    };
    const Case cases[] = {
        {"settings", fs::path("Korvent") / "Velkaris" / "1.0.conf", SettingsSaveOf},
        {"slew", "slew.dat", save_loop::SlewSaveOf},
    };
    constexpr int Kills = 200;
    std::mt19937 random(20261208);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        std::string pattern = (fs::temp_directory_path() / "velkaris-kill-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        const fs::path folder = pattern;
        const fs::path file = folder / c.file;
        const std::string where = c.kind == std::string("slew") ? file.string() : folder.string();

        uint32_t firstSave = 1;
        int midSave = 0;  // kills that left a save's temporary file behind
        for (int kill = 0; kill < Kills; ++kill) {
            const pid_t loop = StartSaveLoop(c.kind, where, firstSave);
            ASSERT_GT(loop, 0) << "the save loop did not start";
            // Anywhere from the first save's end to several saves later.
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 4000));
            ASSERT_EQ(::kill(loop, SIGKILL), 0);
            int status = 0;
            ASSERT_EQ(waitpid(loop, &status, 0), loop);
            ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended on its own";

            const std::optional<uint32_t> save = c.saveOf(ReadAll(file));
            ASSERT_TRUE(save.has_value()) << "after kill " << kill << " the file is not one whole save:\n"
                                          << ReadAll(file).substr(0, 300);
            // This run's saves, never an older run's file left in place.
            ASSERT_GE(*save, firstSave) << "after kill " << kill;

            for (const auto& entry : fs::directory_iterator(file.parent_path())) {
                if (entry.path() == file) continue;
                ++midSave;
                fs::remove(entry.path());
            }
            // The next run's saves all differ from what the file holds now.
            firstSave = *save + 1;
        }
        // The kills did land in the middle of saves, not only between them.
        EXPECT_GT(midSave, 0);
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
}

}  // namespace
