#include "tools/DataText.h"

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QString>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/stat.h>

namespace velkaris::tools {

void Diagnostics::Add(std::string text) {
    if (echo) std::cerr << text << '\n';
    messages_.push_back(std::move(text));
}

void Diagnostics::Malformed(const std::string& file, std::size_t line, const std::string& what) {
    ++malformed_;
    // A damaged source could produce thousands of lines; the count says the rest.
    if (malformed_ <= 50) Add(Format("%s:%zu: %s; record skipped", file.c_str(), line, what.c_str()));
}

bool Diagnostics::FirstMention(const std::string& package) {
    for (const std::string& p : missingPackages_)
        if (p == package) return false;
    missingPackages_.push_back(package);
    return true;
}

void Diagnostics::MissingSource(const std::string& output, const std::string& package, const std::string& path) {
    ++missing_;
    if (FirstMention(package))
        Add(Format("%s is missing: install the package %s, which %s needs", path.c_str(), package.c_str(),
                   output.c_str()));
}

void Diagnostics::MissingPart(const std::string& package, const std::string& path, const std::string& consequence) {
    if (FirstMention(package))
        Add(Format("%s is missing: install the package %s; without it %s", path.c_str(), package.c_str(),
                   consequence.c_str()));
}

void Diagnostics::Note(const std::string& text) { Add(text); }

bool ReadWholeFile(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool WriteFileAtomically(const std::string& path, const std::string& content, Diagnostics& diag) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        diag.Note(Format("%s: cannot be written: %s", path.c_str(), file.errorString().toStdString().c_str()));
        return false;
    }
    if (file.write(content.data(), static_cast<qint64>(content.size())) != static_cast<qint64>(content.size()) ||
        !file.commit()) {
        diag.Note(Format("%s: cannot be written: %s", path.c_str(), file.errorString().toStdString().c_str()));
        return false;
    }
    return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::string_view TrimRight(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string_view Trim(std::string_view s) {
    s = TrimRight(s);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

std::string_view Columns(std::string_view line, std::size_t first, std::size_t last) {
    if (first == 0 || first > line.size() || last < first) return {};
    return line.substr(first - 1, std::min(last, line.size()) - first + 1);
}

bool ParseInt(std::string_view s, long long& value) {
    s = Trim(s);
    if (s.empty()) return false;
    std::string copy(s);
    if (copy.front() == '+') copy.erase(0, 1);
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(copy.c_str(), &end, 10);
    if (errno != 0 || end == copy.c_str() || *end != '\0') return false;
    value = v;
    return true;
}

bool ParseIsoDate(std::string_view text, double& jd) {
    QString t = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // The strict form only: Qt would also take a trailing time or a sign.
    if (t.size() != 10 || t[4] != '-' || t[7] != '-') return false;
    QDate d = QDate::fromString(t, "yyyy-MM-dd");
    if (!d.isValid()) return false;
    jd = static_cast<double>(d.toJulianDay()) - 0.5;
    return true;
}

std::string IsoDate(double jd) {
    return QDate::fromJulianDay(static_cast<qint64>(std::floor(jd + 0.5))).toString("yyyy-MM-dd").toStdString();
}

double TodayJD() { return static_cast<double>(QDateTime::currentDateTimeUtc().date().toJulianDay()) - 0.5; }

bool ParseDouble(std::string_view s, double& value) {
    s = Trim(s);
    if (s.empty()) return false;
    std::string copy(s);
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(copy.c_str(), &end);
    if (errno != 0 || end == copy.c_str() || *end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        out.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<std::size_t>(n));
    }
    va_end(args);
    return out;
}

std::string CutUtf8(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return std::string(text);
    std::size_t n = maxBytes;
    // Step back over continuation bytes so that no character is cut in two.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    return std::string(TrimRight(text.substr(0, n)));
}

Sexagesimal ToSexagesimal(double value, int decimals) {
    Sexagesimal s;
    s.negative = value < 0;
    double scale = std::pow(10.0, decimals);
    // Work in whole units of the last decimal so that rounding carries cleanly.
    long long ticks = std::llround(std::fabs(value) * 3600.0 * scale);
    long long perMinute = static_cast<long long>(60 * scale);
    long long perUnit = perMinute * 60;
    s.whole = static_cast<unsigned>(ticks / perUnit);
    ticks %= perUnit;
    s.minutes = static_cast<unsigned>(ticks / perMinute);
    ticks %= perMinute;
    s.seconds = static_cast<double>(ticks) / scale;
    return s;
}

std::string FormatRightAscension(double raDegrees, int decimals) {
    double hours = std::fmod(raDegrees / 15.0, 24.0);
    if (hours < 0) hours += 24.0;
    Sexagesimal s = ToSexagesimal(hours, decimals);
    if (s.whole >= 24) s.whole -= 24;
    return Format("%u %u %.*f", s.whole, s.minutes, decimals, s.seconds);
}

std::string FormatDeclination(double decDegrees, int decimals) {
    Sexagesimal s = ToSexagesimal(decDegrees, decimals);
    return Format("%c%u %u %.*f", s.negative ? '-' : '+', s.whole, s.minutes, decimals, s.seconds);
}

}  // namespace velkaris::tools
