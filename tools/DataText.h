#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkaris::tools {

// Collects what a conversion had to say: malformed source records (reported
// by file and line and skipped) and sources that are missing altogether.
class Diagnostics {
public:
    void Malformed(const std::string& file, std::size_t line, const std::string& what);
    // A source file of `package` is missing, so `output` is not built. Each
    // package is named once, however many outputs need it; the outputs left
    // out are listed by the caller's summary.
    void MissingSource(const std::string& output, const std::string& package, const std::string& path);
    // A source that only adds to an output is missing: the output is built
    // all the same, and `consequence` says what it lacks. Also named once per
    // package.
    void MissingPart(const std::string& package, const std::string& path, const std::string& consequence);
    void Note(const std::string& text);

    const std::vector<std::string>& Messages() const { return messages_; }
    std::size_t MalformedCount() const { return malformed_; }
    std::size_t MissingCount() const { return missing_; }

    // When set, messages also go to standard error as they arrive.
    bool echo = false;

private:
    void Add(std::string text);
    bool FirstMention(const std::string& package);
    std::vector<std::string> messages_;
    std::vector<std::string> missingPackages_;
    std::size_t malformed_ = 0;
    std::size_t missing_ = 0;
};

bool ReadWholeFile(const std::string& path, std::string& text);
bool FileExists(const std::string& path);

// Writes through a temporary file in the same folder and renames it over the
// target, so a reader never sees a half-written file.
bool WriteFileAtomically(const std::string& path, const std::string& content, Diagnostics& diag);

std::vector<std::string_view> SplitLines(std::string_view text);
std::string_view Trim(std::string_view s);
std::string_view TrimRight(std::string_view s);
std::string_view Columns(std::string_view line, std::size_t first, std::size_t last);  // 1-based, inclusive

bool ParseInt(std::string_view s, long long& value);
bool ParseDouble(std::string_view s, double& value);

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Cuts a UTF-8 text to at most maxBytes bytes without splitting a character.
std::string CutUtf8(std::string_view text, std::size_t maxBytes);

// Julian date of 0h of a Gregorian calendar date written "YYYY-MM-DD"; false
// for any other text and for a day the month does not have.
bool ParseIsoDate(std::string_view text, double& jd);
// The "YYYY-MM-DD" of the day that holds jd.
std::string IsoDate(double jd);
// Julian date of 0h UTC of the current day.
double TodayJD();

struct Sexagesimal {
    bool negative = false;
    unsigned whole = 0;  // hours or degrees
    unsigned minutes = 0;
    double seconds = 0.0;
};

// Splits a value into whole units, minutes and seconds rounded to the given
// number of decimals, carrying a rounded 60 into the next unit.
Sexagesimal ToSexagesimal(double value, int decimals);

// Right ascension in degrees as "h m s" with the given seconds decimals.
std::string FormatRightAscension(double raDegrees, int decimals);
// Declination in degrees as "+d m s" (the sign is always written).
std::string FormatDeclination(double decDegrees, int decimals);

constexpr double DegreesPerRadian = 57.295779513082320876798;

}  // namespace velkaris::tools
