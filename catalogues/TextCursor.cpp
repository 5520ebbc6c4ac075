#include "catalogues/TextCursor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "platform/LargeMemory.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool TextCursor::OnlyBlanksLeft() const {
    for (const char* q = p_; q != end_; ++q)
        if (!IsBlank(*q)) return false;
    return true;
}

std::string_view TextCursor::ReadLine(std::size_t max) {
    const std::size_t limit = std::min(max, Remaining());
    const void* nl = std::memchr(p_, '\n', limit);
    const std::size_t taken = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - p_) + 1 : limit;
    std::string_view line(p_, taken);
    p_ += taken;
    return line;
}

void TextCursor::SkipLine() {
    const void* nl = std::memchr(p_, '\n', Remaining());
    p_ = nl ? static_cast<const char*>(nl) + 1 : end_;
}

std::string_view TextCursor::TakeLine() {
    const void* nl = std::memchr(p_, '\n', Remaining());
    const char* stop = nl ? static_cast<const char*>(nl) : end_;
    std::string_view line(p_, static_cast<std::size_t>(stop - p_));
    p_ = nl ? stop + 1 : end_;
    return line;
}

std::string_view TextCursor::ReadWord() {
    SkipBlanks();
    const char* start = p_;
    while (p_ != end_ && !IsBlank(*p_)) ++p_;
    return {start, static_cast<std::size_t>(p_ - start)};
}

void TextCursor::SkipBlanks() {
    while (p_ != end_ && IsBlank(*p_)) ++p_;
}

bool TextCursor::ReadChar(char& c) {
    if (p_ == end_) return false;
    c = *p_++;
    return true;
}

bool TextCursor::ReadDecimal(uint64_t& value) {
    SkipBlanks();
    bool negative = false;
    if (p_ != end_ && (*p_ == '+' || *p_ == '-')) {
        negative = *p_ == '-';
        ++p_;
    }
    if (p_ == end_ || !IsDigit(*p_)) return false;
    uint64_t v = 0;
    bool overflow = false;
    for (; p_ != end_ && IsDigit(*p_); ++p_) {
        const uint64_t digit = static_cast<uint64_t>(*p_ - '0');
        if (v > (std::numeric_limits<uint64_t>::max() - digit) / 10) overflow = true;
        if (!overflow) v = v * 10 + digit;
    }
    // Out of range the C library gives the largest value whatever the sign.
    if (overflow)
        value = std::numeric_limits<uint64_t>::max();
    else
        value = negative ? (~v + 1) : v;
    return true;
}

bool TextCursor::ReadUnsigned(uint32_t& value) {
    uint64_t v;
    if (!ReadDecimal(v)) return false;
    value = static_cast<uint32_t>(v);
    return true;
}

bool TextCursor::ReadUnsignedShort(uint16_t& value) {
    uint64_t v;
    if (!ReadDecimal(v)) return false;
    value = static_cast<uint16_t>(v);
    return true;
}

bool TextCursor::ReadCount(uint32_t& value) { return ReadUnsigned(value); }

bool TextCursor::ReadShortDecimal(float& value) {
    // Catalogue numbers are short decimals such as 08.917 or 0.54601. For at
    // most 15 significant digits and 8 decimals the quotient of two exact
    // doubles, rounded once to double and once more to float, is the
    // correctly rounded float: the two roundings can only disagree for
    // decimals much closer to a midpoint between floats than such short ones
    // ever come. Anything else takes the general conversion.
    static constexpr double kPowers[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8};
    const char* q = p_;
    uint64_t mantissa = 0;
    int digits = 0;
    for (; q != end_ && IsDigit(*q); ++q) {
        mantissa = mantissa * 10 + static_cast<uint64_t>(*q - '0');
        if (mantissa != 0) ++digits;
        if (digits > 15) return false;
    }
    bool any = q != p_;
    int decimals = 0;
    if (q != end_ && *q == '.') {
        ++q;
        for (; q != end_ && IsDigit(*q); ++q, ++decimals) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(*q - '0');
            if (mantissa != 0) ++digits;
            if (digits > 15 || decimals >= 8) return false;
        }
        any = any || decimals > 0;
    }
    if (!any) return false;
    // An exponent, or a name such as inf, is the general conversion's work.
    if (q != end_ && (*q == 'e' || *q == 'E' || *q == 'x' || *q == 'X' || *q == 'p' || *q == 'P')) return false;
    value = static_cast<float>(static_cast<double>(mantissa) / kPowers[decimals]);
    p_ = q;
    return true;
}

bool TextCursor::ReadSign(bool& negative) {
    SkipBlanks();
    negative = false;
    if (p_ != end_ && (*p_ == '+' || *p_ == '-')) {
        negative = *p_ == '-';
        ++p_;
    }
    return p_ != end_ && *p_ != '+' && *p_ != '-';
}

bool TextCursor::ReadFloat(float& value) {
    bool negative;
    if (!ReadSign(negative)) return false;
    if (ReadShortDecimal(value)) {
        if (negative) value = -value;
        return true;
    }
    float v = 0.0f;
    const auto [next, error] = std::from_chars(p_, end_, v, std::chars_format::general);
    if (next == p_) return false;
    if (error == std::errc::result_out_of_range) {
        // Out of the float range: the C library gives an infinity or zero.
        // The rare case takes the slow road through a bounded copy.
        const std::string copy(p_, next);
        v = std::strtof(copy.c_str(), nullptr);
    }
    p_ = next;
    value = negative ? -v : v;
    return true;
}

bool TextCursor::ReadDouble(double& value) {
    bool negative;
    if (!ReadSign(negative)) return false;
    double v = 0.0;
    const auto [next, error] = std::from_chars(p_, end_, v, std::chars_format::general);
    if (next == p_) return false;
    if (error == std::errc::result_out_of_range) {
        const std::string copy(p_, next);
        v = std::strtod(copy.c_str(), nullptr);
    }
    p_ = next;
    value = negative ? -v : v;
    return true;
}

bool ReadFileStart(const std::string& path, std::size_t max, std::string& text, bool& complete) {
    FileText file;
    text.clear();
    complete = false;
    if (!file.ReadStart(path, max)) return false;
    text.assign(file.view());
    complete = file.complete();
    return true;
}
