#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "catalogues/TextCursor.h"

class LoadProgress;

// The next line that holds anything but blanks, without its line end (the
// blank lines before it are passed over); empty at the end of the text. Its
// data() is where the line starts in the text.
std::string_view TakeFilledLine(TextCursor& text);

// The count on a catalogue file's first line; whatever follows it on that
// line is a comment. 0 when the line holds no number.
uint32_t ReadRecordCount(TextCursor& text);

// Calls read(i) for record i = 0, 1, ... of as many records as the count
// line promises, but only while the text holds anything other than blanks:
// a count larger than the file never makes a reader run on past its end, and
// nothing is set aside for records that are not there. Returns how many
// records were read.
template <class Read>
std::size_t ForEachRecord(TextCursor& text, uint32_t promised, Read read) {
    std::size_t i = 0;
    for (; i < promised && !text.OnlyBlanksLeft(); ++i) read(i);
    return i;
}

// Advances a progress bar by one whenever the record index is a multiple of
// a hundredth of the promised count, for counts of 100 and more.
class RecordProgress {
public:
    RecordProgress(LoadProgress* progress, uint32_t promised)
        : progress_(promised >= 100 ? progress : nullptr), stride_(promised / 100) {}
    void Record(std::size_t i) const;

private:
    LoadProgress* progress_;
    uint32_t stride_;
};
