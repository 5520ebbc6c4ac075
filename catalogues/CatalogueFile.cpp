#include "catalogues/CatalogueFile.h"

#include "catalogues/LoadProgress.h"

std::string_view TakeFilledLine(TextCursor& text) {
    std::string_view line;
    do {
        line = text.TakeLine();
    } while (line.find_first_not_of(" \t\v\f\r") == std::string_view::npos && !text.AtEnd());
    return line;
}

uint32_t ReadRecordCount(TextCursor& text) {
    uint32_t count = 0;
    if (!text.ReadCount(count)) count = 0;
    text.SkipLine();
    return count;
}

void RecordProgress::Record(std::size_t i) const {
    if (progress_ && i % stride_ == 0) progress_->Step(1);
}
