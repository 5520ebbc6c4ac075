#pragma once

#include <QImage>
#include <map>
#include <string>

#include "view/SkyPanel.h"

// A side panel that remembers what the view wrote to it.
class RecordingPanel : public SkyPanel {
public:
    RecordingPanel(int width = 700, int height = 350) : width_(width), height_(height) {}

    void SetLabelText(PanelLabel label, const std::string& text) override { labels[label] = text; }
    void SetLabelColour(PanelLabel label, Colour c) override { labelColours[label] = c; }
    void SetPanelColour(Colour c) override { panelColour = c; }
    void SetStatusText(int panel, const std::string& text) override { status[panel] = text; }
    void SetStatusWidth(int panel, int width) override { statusWidths[panel] = width; }
    void SetClockChecks(bool runTicked, bool runEnabled, bool systemTimeTicked) override {
        run = runTicked;
        runClickable = runEnabled;
        systemTime = systemTimeTicked;
    }
    int SurfaceWidth() const override { return width_; }
    int SurfaceHeight() const override { return height_; }
    void Present(const QImage& frame) override {
        presented = frame;
        ++presentCount;
    }

    std::map<PanelLabel, std::string> labels;
    std::map<PanelLabel, Colour> labelColours;
    Colour panelColour;
    std::map<int, std::string> status;
    std::map<int, int> statusWidths;
    bool run = false, runClickable = false, systemTime = false;
    QImage presented;
    int presentCount = 0;

private:
    int width_, height_;
};

// Pixels of an image that are not black.
int CountLit(const QImage& image, int left = 0, int top = 0, int right = -1, int bottom = -1);
// Pixels of exactly this colour.
int CountColour(const QImage& image, QRgb colour, int left = 0, int top = 0, int right = -1, int bottom = -1);

// Places the one observer of the program at a fixed place and moment for the
// tests that trace the equator and the equatorial grid.
void UseTestObserver(double latitudeDegrees, int year, int month, int day, int hour, int minute);
