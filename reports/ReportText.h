#pragma once

#include <string>
#include <string_view>
#include <vector>

// A stretch of report text with one set of attributes. The text is UTF-8;
// a Bayer letter is already the Greek character, in a run whose font is the
// symbol font that would draw it from its Latin letter.
struct TextRun {
    std::string text;
    std::string font;
    int size = 0;  // points
    bool bold = false;
    bool italic = false;

    bool operator==(const TextRun&) const = default;
};

using ReportText = std::vector<TextRun>;

// The report's fonts: the body font, and the font of the Greek letters.
inline constexpr const char* ReportFont = "Times New Roman";
inline constexpr const char* GreekFont = "Symbol";

// Builds a report the way a rich-text box is written: attributes are set,
// then text is appended with the attributes in force. Text appended with
// the same attributes as the run before joins that run.
class ReportWriter {
public:
    void Font(const char* font) { font_ = font; }
    void Size(int points) { size_ = points; }
    void Bold(bool on) { bold_ = on; }
    void Italic(bool on) { italic_ = on; }
    void Append(std::string_view text);
    // Appends printf-formatted text.
    void AppendFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const ReportText& Runs() const { return runs_; }
    ReportText Take() { return std::move(runs_); }

private:
    ReportText runs_;
    std::string font_ = ReportFont;
    int size_ = 14;
    bool bold_ = false;
    bool italic_ = false;
};

// The runs' text without attributes, in order.
std::string PlainText(const ReportText& runs);
