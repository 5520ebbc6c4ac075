#include "platform/LargeMemory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

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

bool FileText::Read(const std::string& path) {
    block_.reset();
    size_ = 0;
    // Opened without waiting: a named pipe in a data file's place would
    // otherwise hold the program until something writes to it. It is then
    // refused below as no regular file.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    std::unique_ptr<std::FILE, FileCloser> file(fdopen(fd, "rb"));
    if (!file) {
        close(fd);
        return false;
    }
    struct stat info {};
    if (fstat(fileno(file.get()), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    // The size is a hint: a file that grows while it is read is read as far
    // as the hint, one that shrinks as far as it goes.
    const std::size_t expected = static_cast<std::size_t>(info.st_size);
    LargeBlock block = AllocateLarge(expected);
    if (!block) return false;
    const std::size_t got = std::fread(block.get(), 1, expected, file.get());
    if (got < expected && std::ferror(file.get())) return false;
    // Text files written on other systems end their lines with a carriage
    // return too; the readers see plain line ends, as in text mode.
    char* text = static_cast<char*>(block.get());
    std::size_t size = got;
    if (std::memchr(text, '\r', size)) {
        std::size_t out = 0;
        for (std::size_t i = 0; i < size; ++i) {
            if (text[i] == '\r' && i + 1 < size && text[i + 1] == '\n') continue;
            text[out++] = text[i];
        }
        size = out;
    }
    block_ = std::move(block);
    size_ = size;
    return true;
}
