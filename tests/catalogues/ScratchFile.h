#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace catalogue_tests {

// A file of the test's own in the temporary folder, named for this process
// (other builds' suites may run at the same time), removed at the end.
class ScratchFile {
public:
    explicit ScratchFile(const std::string& name)
        : path_((std::filesystem::temp_directory_path() / ("velkaris-" + std::to_string(getpid()) + "-" + name))
                    .string()) {
        std::filesystem::remove(path_);
    }
    ~ScratchFile() { std::filesystem::remove(path_); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& Write(const std::string& text) const {
        std::ofstream(path_, std::ios::binary) << text;
        return path_;
    }
    // A named pipe without a writer: opening it for reading would wait.
    bool MakePipe() const { return mkfifo(path_.c_str(), 0600) == 0; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace catalogue_tests
