#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads a data file held whole in memory the way the catalogue formats are
// defined: formatted conversions that skip blanks, and bounded line reads that
// take characters up to and including the next line end but never more than
// their maximum, the next read continuing right after the last character
// taken. Nothing is copied and nothing can run past the end of the text.
class TextCursor {
public:
    explicit TextCursor(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

    bool AtEnd() const { return p_ == end_; }
    // True when nothing but blanks and line ends is left.
    bool OnlyBlanksLeft() const;
    std::size_t Remaining() const { return static_cast<std::size_t>(end_ - p_); }

    // Up to max characters, stopping after a line end. Empty only at the end
    // of the text.
    std::string_view ReadLine(std::size_t max);
    // Skips the rest of the current line, line end included.
    void SkipLine();
    // The rest of the current line, however long, without its line end,
    // which is taken too. Empty at the end of the text.
    std::string_view TakeLine();

    // "%s": skips blanks and line ends, then takes the run of characters up
    // to the next blank, line end or the end of the text. Empty at the end.
    std::string_view ReadWord();

    // A blank in a conversion format: skips any run of blanks and line ends.
    void SkipBlanks();
    // "%c": the next character, whatever it is. False at the end of the text.
    bool ReadChar(char& c);
    // Decimal integer conversions. Each skips leading blanks and takes an
    // optional sign and at least one digit; a value too large saturates and a
    // minus sign wraps it round, as the C library's conversions do; the result
    // is then cut to the width of the field. False (nothing stored) when no
    // digit follows.
    bool ReadUnsigned(uint32_t& value);       // "%u"
    bool ReadUnsignedShort(uint16_t& value);  // "%hu"
    bool ReadCount(uint32_t& value);          // "%d" or "%lu" stored in 32 bits
    // "%f": a decimal floating-point number, correctly rounded.
    bool ReadFloat(float& value);
    // "%lf": the same in double precision. Like the C library it also takes
    // "inf" and "nan"; callers that need a finite number check for one.
    bool ReadDouble(double& value);

    const char* position() const { return p_; }

private:
    bool ReadDecimal(uint64_t& value);
    // Skips blanks and takes an optional sign; false when no number can follow.
    bool ReadSign(bool& negative);
    bool ReadShortDecimal(float& value);

    const char* p_;
    const char* end_;
};

// At most max characters from the start of a file; complete tells whether
// that was all of it. Read as FileText reads (platform/LargeMemory.h).
bool ReadFileStart(const std::string& path, std::size_t max, std::string& text, bool& complete);
