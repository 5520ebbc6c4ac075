#pragma once

#include <cstddef>
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

// A file's whole content in a large block.
class FileText {
public:
    // False when the file cannot be opened or read; the text is then empty.
    bool Read(const std::string& path);
    std::string_view view() const { return {static_cast<const char*>(block_.get()), size_}; }

private:
    LargeBlock block_;
    std::size_t size_ = 0;
};
