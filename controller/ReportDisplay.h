#pragma once

#include "reports/ReportText.h"

// What the controller needs of the report window, so that it can fill, show
// and close it without knowing how it is drawn. The window holds text only,
// never the object it describes.
class ReportDisplay {
public:
    virtual ~ReportDisplay() = default;
    // Whether the window is on the screen (the user may close it himself).
    virtual bool IsOpen() const = 0;
    // Replaces the whole text by these runs, shown from their start.
    virtual void Fill(const ReportText& runs) = 0;
    virtual void Open() = 0;
    // Takes the window off the screen and empties it.
    virtual void Close() = 0;
};
