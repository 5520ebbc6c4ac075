#include "reports/ReportText.h"

#include <cstdarg>
#include <cstdio>

void ReportWriter::Append(std::string_view text) {
    if (text.empty()) return;
    if (!runs_.empty()) {
        TextRun& last = runs_.back();
        if (last.font == font_ && last.size == size_ && last.bold == bold_ && last.italic == italic_) {
            last.text += text;
            return;
        }
    }
    runs_.push_back(TextRun{std::string(text), font_, size_, bold_, italic_});
}

void ReportWriter::AppendFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        std::string text(static_cast<std::size_t>(length), '\0');
        std::vsnprintf(text.data(), text.size() + 1, format, again);
        Append(text);
    }
    va_end(again);
}

std::string PlainText(const ReportText& runs) {
    std::string text;
    for (const TextRun& run : runs) text += run.text;
    return text;
}
