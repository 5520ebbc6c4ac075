#pragma once

// Runs velkaris-cli the way a user does, through the shell, and collects
// what it prints. CTest runs cases side by side, so every run gets a stderr
// file of its own.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

// arguments are plain option texts (no quoting is added); workDir, when
// given, is the working directory the tool runs in.
inline CliRun RunCli(const std::string& arguments, const std::string& workDir = std::string()) {
    std::string errFile = testing::TempDir() + "velkaris-cli-stderr-XXXXXX";
    const int fd = mkstemp(errFile.data());
    if (fd >= 0) close(fd);
    std::string command;
    if (!workDir.empty()) command = "cd '" + workDir + "' && ";
    command += std::string(VELKARIS_CLI) + " " + arguments + " 2>'" + errFile + "'";
    CliRun r;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) r.out.append(buffer, n);
        const int raw = pclose(pipe);
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    r.err = ReadWholeFile(errFile);
    std::remove(errFile.c_str());
    return r;
}

// A scratch folder of the running test case alone.
inline std::string ScratchDirName(const std::string& prefix) {
    return prefix + "-" + testing::UnitTest::GetInstance()->current_test_info()->name() + "-" +
           std::to_string(getpid());
}

// The fields of one CSV line, quotes undone.
inline std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"' && quoted && i + 1 < line.size() && line[i + 1] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}
