#include "platform/ConfigPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

std::string ConfigHome() {
    // A relative XDG_CONFIG_HOME is invalid and must be ignored; otherwise the
    // settings would depend on the working folder.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/') return xdg;
    std::string home;
    if (const char* h = std::getenv("HOME"); h && h[0] == '/') {
        home = h;
    } else {
        std::vector<char> buffer(16384);
        struct passwd pw {};
        struct passwd* result = nullptr;
        if (getpwuid_r(getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result && result->pw_dir &&
            result->pw_dir[0] == '/')
            home = result->pw_dir;
    }
    if (home.empty()) return {};
    while (home.size() > 1 && home.back() == '/') home.pop_back();
    return (home == "/" ? std::string() : home) + "/.config";
}

std::string ProductSettingsFolder() {
    std::string base = ConfigHome();
    if (base.empty()) return {};
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    if (base == "/") base.clear();
    return base + "/Korvent/Velkaris";
}

std::string SettingsFilePath() {
    const std::string folder = ProductSettingsFolder();
    return folder.empty() ? std::string() : folder + "/1.0.conf";
}
