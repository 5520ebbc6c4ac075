#pragma once

#include <string>

#include "view/Canvas.h"

class QImage;

// The side-panel labels the view writes, by role.
enum PanelLabel : int {
    LabCurRA = 0,
    LabCurDec,
    LabCurMag,
    LabCurAlt,
    LabCurAzi,
    LabCurrentStar,
    labLockedObject,
    LabDirection,
    LabRise,
    LabSet,
    LabTrans,
    PanelLabelCount,
};

// What the sky view needs of the window around it: the readout labels, the
// status bar, the clock check boxes, the panel colours, the size of the paint
// surface, and a place to show a finished frame. The main window implements
// it; without a window (command line, benchmarks) a NullSkyPanel stands in.
// The status bar's panels: four for the clock, then the last command's
// message, which takes what is left of the bar.
enum StatusPanel : int {
    StatusCivilTime = 0,
    StatusLocalTime = 1,
    StatusJulianDate = 2,
    StatusSidereal = 3,
    StatusMessage = 4,
};
inline constexpr int kClockPanelCount = 4;
inline constexpr int kStatusPanelCount = 5;

class SkyPanel {
public:
    virtual ~SkyPanel() = default;

    virtual void SetLabelText(PanelLabel label, const std::string& text) = 0;
    virtual void SetLabelColour(PanelLabel label, Colour background) = 0;
    virtual void SetPanelColour(Colour background) = 0;

    // The clock's panels, 0 to kClockPanelCount - 1.
    virtual void SetStatusText(int panel, const std::string& text) = 0;
    virtual void SetStatusWidth(int panel, int width) = 0;

    // The two clock check boxes: the run box's tick and whether it can be
    // clicked, and the system-time box's tick.
    virtual void SetClockChecks(bool runTicked, bool runEnabled, bool systemTimeTicked) = 0;

    // Client size of the paint surface in pixels.
    virtual int SurfaceWidth() const = 0;
    virtual int SurfaceHeight() const = 0;

    // Shows a finished frame, copied whole.
    virtual void Present(const QImage& frame) = 0;
};

// A panel that shows nothing: a fixed surface size and no window.
class NullSkyPanel : public SkyPanel {
public:
    NullSkyPanel(int width, int height) : width_(width), height_(height) {}

    void SetLabelText(PanelLabel, const std::string&) override {}
    void SetLabelColour(PanelLabel, Colour) override {}
    void SetPanelColour(Colour) override {}
    void SetStatusText(int, const std::string&) override {}
    void SetStatusWidth(int, int) override {}
    void SetClockChecks(bool, bool, bool) override {}
    int SurfaceWidth() const override { return width_; }
    int SurfaceHeight() const override { return height_; }
    void Present(const QImage&) override {}

    void SetSurfaceSize(int width, int height) {
        width_ = width;
        height_ = height;
    }

private:
    int width_;
    int height_;
};
