#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "astro/Constants.h"

namespace fs = std::filesystem;

// Every test gets its own empty configuration home, so that nothing is read
// from or written to the real user's settings, nor leaks from one test to the
// next.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitialiseConstants();
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) savedHome_ = old;
        std::string pattern = (fs::temp_directory_path() / "velkaris-settings-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        home_ = pattern;
        setenv("XDG_CONFIG_HOME", home_.c_str(), 1);
    }

    void TearDown() override {
        // Undo any permission games so the folder can be removed.
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(home_, ec); !ec && it != fs::end(it); it.increment(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(home_, ec);
        if (savedHome_)
            setenv("XDG_CONFIG_HOME", savedHome_->c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
    }

    fs::path productFolder() const { return home_ / "Korvent" / "Velkaris"; }
    fs::path settingsFile() const { return productFolder() / "1.0.conf"; }

    void writeRaw(const std::string& bytes) const {
        fs::create_directories(productFolder());
        std::ofstream out(settingsFile(), std::ios::binary | std::ios::trunc);
        out << bytes;
    }

    std::string readRaw() const {
        std::ifstream in(settingsFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::vector<std::string> productFolderEntries() const {
        std::vector<std::string> names;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(productFolder(), ec)) names.push_back(e.path().filename().string());
        return names;
    }

    fs::path home_;
    std::optional<std::string> savedHome_;
};

// Lets files grow to at most `bytes` while alive: the same failure as a full
// disk, and one that even the superuser cannot get around.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldSignal_ = signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, oldSignal_);
    }
    bool active() const { return active_; }

private:
    rlimit old_{};
    sighandler_t oldSignal_ = SIG_DFL;
    bool active_ = false;
};
