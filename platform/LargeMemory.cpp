#include "platform/LargeMemory.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

FileProblem ProblemOfErrno(int error) {
    return error == ENOENT || error == ENOTDIR ? FileProblem::Missing : FileProblem::Unreadable;
}

// Drops every carriage return that stands before a line end; returns the new size.
std::size_t PlainLineEnds(char* text, std::size_t size) {
    if (!std::memchr(text, '\r', size)) return size;
    std::size_t out = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n') continue;
        text[out++] = text[i];
    }
    return out;
}

}  // namespace

void LargeMemoryDeleter::operator()(void* block) const { std::free(block); }

LargeBlock AllocateLarge(std::size_t bytes) {
    if (bytes == 0) bytes = 1;
    if (bytes < kLargePage) return LargeBlock(std::malloc(bytes));
    if (bytes > SIZE_MAX - kLargePage) return nullptr;
    const std::size_t rounded = (bytes + kLargePage - 1) / kLargePage * kLargePage;
    void* block = std::aligned_alloc(kLargePage, rounded);
#ifdef MADV_HUGEPAGE
    if (block) madvise(block, rounded, MADV_HUGEPAGE);
#endif
    return LargeBlock(block);
}

const char* FileProblemText(FileProblem problem) {
    switch (problem) {
        case FileProblem::None: return "";
        case FileProblem::Missing: return "does not exist";
        case FileProblem::NotRegularFile: return "is not a regular file";
        case FileProblem::Unreadable: return "cannot be read";
        case FileProblem::TooLarge: return "is too large";
    }
    return "";
}

bool FileText::Read(const std::string& path, std::size_t maxBytes) {
    if (!ReadAtMost(path, maxBytes)) return false;
    if (complete_) return true;
    block_.reset();
    size_ = 0;
    problem_ = FileProblem::TooLarge;
    return false;
}

bool FileText::ReadBytes(const std::string& path, std::size_t maxBytes) {
    if (!ReadAtMost(path, maxBytes, false)) return false;
    if (complete_) return true;
    block_.reset();
    size_ = 0;
    problem_ = FileProblem::TooLarge;
    return false;
}

bool FileText::ReadStart(const std::string& path, std::size_t maxBytes) { return ReadAtMost(path, maxBytes); }

bool FileText::ReadAtMost(const std::string& path, std::size_t maxBytes, bool plainLineEnds) {
    block_.reset();
    size_ = 0;
    complete_ = false;
    problem_ = FileProblem::None;
    const auto fail = [this](FileProblem problem) {
        block_.reset();
        size_ = 0;
        problem_ = problem;
        return false;
    };

    // Look before opening: opening a named pipe waits for a writer, and
    // opening a device can do something of its own.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return fail(ProblemOfErrno(errno));
    if (!S_ISREG(info.st_mode)) return fail(FileProblem::NotRegularFile);
    // Not blocking all the same, in case something else took the name in
    // between; what was opened is looked at again.
    const Descriptor file(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) return fail(ProblemOfErrno(errno));
    if (fstat(file.get(), &info) != 0) return fail(FileProblem::Unreadable);
    if (!S_ISREG(info.st_mode)) return fail(FileProblem::NotRegularFile);

    // The size is only a hint (the file may grow or shrink while it is read):
    // one byte more than the limit allows tells whether there was more.
    const std::size_t limit = maxBytes == SIZE_MAX ? SIZE_MAX - 1 : maxBytes;
    std::size_t capacity = std::min(static_cast<std::size_t>(info.st_size), limit) + 1;
    LargeBlock block = AllocateLarge(capacity);
    if (!block) return fail(FileProblem::Unreadable);
    std::size_t size = 0;
    bool complete = false;
    while (true) {
        const ssize_t n = read(file.get(), static_cast<char*>(block.get()) + size, capacity - size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(FileProblem::Unreadable);
        }
        if (n == 0) {
            complete = true;
            break;
        }
        size += static_cast<std::size_t>(n);
        if (size < capacity) continue;
        if (size > limit) {
            size = limit;
            break;
        }
        // The file grew past its size: a larger block, up to the limit.
        const std::size_t larger = capacity > (limit + 1) / 2 ? limit + 1 : capacity * 2;
        LargeBlock grown = AllocateLarge(larger);
        if (!grown) return fail(FileProblem::Unreadable);
        std::memcpy(grown.get(), block.get(), size);
        block = std::move(grown);
        capacity = larger;
    }
    size_ = plainLineEnds ? PlainLineEnds(static_cast<char*>(block.get()), size) : size;
    block_ = std::move(block);
    complete_ = complete;
    return true;
}
