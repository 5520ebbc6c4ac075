#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Memory for large blocks (a whole data file, a catalogue's stars). The
// system is asked to back it with large pages: touching tens of megabytes
// page by page costs far more than reading or parsing them.
struct LargeMemoryDeleter {
    void operator()(void* block) const;
};
using LargeBlock = std::unique_ptr<void, LargeMemoryDeleter>;

// An uninitialised block of at least bytes, aligned for any object; null when
// the system refuses it.
LargeBlock AllocateLarge(std::size_t bytes);

// Why a file could not be read.
enum class FileProblem {
    None,
    Missing,         // nothing of that name
    NotRegularFile,  // a folder, a named pipe, a device, a socket
    Unreadable,      // no permission, an input/output error, no memory
    TooLarge,        // more than the caller's limit
};

// The problem as the end of a sentence about the file: "does not exist",
// "is not a regular file", "cannot be read", "is too large"; empty for None.
const char* FileProblemText(FileProblem problem);

// A file's content in a large block. This is the one way the program reads a
// file: only regular files are read, and nothing else is even opened in a way
// that could wait (a named pipe without a writer, a terminal, a device). A
// carriage return before a line end is dropped, so readers see plain line
// ends whichever system wrote the file.
class FileText {
public:
    static constexpr std::size_t NoLimit = SIZE_MAX;

    // The whole file. False, with the text empty and problem() telling why,
    // when it cannot be read or holds more than maxBytes.
    bool Read(const std::string& path, std::size_t maxBytes = NoLimit);
    // At most maxBytes from the start of the file; complete() tells whether
    // that was all of it.
    bool ReadStart(const std::string& path, std::size_t maxBytes);
    // The whole file byte for byte, carriage returns kept: a file that is
    // not text (a database).
    bool ReadBytes(const std::string& path, std::size_t maxBytes);

    std::string_view view() const { return {static_cast<const char*>(block_.get()), size_}; }
    FileProblem problem() const { return problem_; }
    bool complete() const { return complete_; }

private:
    bool ReadAtMost(const std::string& path, std::size_t maxBytes, bool plainLineEnds = true);

    LargeBlock block_;
    std::size_t size_ = 0;
    FileProblem problem_ = FileProblem::None;
    bool complete_ = false;
};
