#pragma once

#include <QPointer>
#include <array>

#include "view/Canvas.h"

class QStyle;

// Red mode for everything around the sky: every window, control, menu,
// message box, tool tip, picture and the sky's cross pointer of the program
// in dim red on black, so that the screen keeps the observer's night vision.
// It is an application style, so a window opened while it is shown comes up
// in it without code of its own, and hiding it gives every window exactly
// the look it had before.
class NightLook {
public:
    NightLook() = default;
    // Hides the look, so that it never outlives its owner.
    ~NightLook();
    NightLook(const NightLook&) = delete;
    NightLook& operator=(const NightLook&) = delete;

    // shades: the side panel's colour in red mode, darkest shade first; only
    // the red channels are used. Showing it again with other shades (after
    // a brightness step) redraws every window in those.
    void Show(const std::array<Colour, 3>& shades);
    void Hide();
    bool Shown() const { return shown_; }

private:
    // The application's own style, kept aside while the look is shown and
    // put back as it was.
    QPointer<QStyle> dayStyle_;
    bool shown_ = false;
};
