// Labels: outlined texts in the background colour, and the texts of a star's
// label under the display options and the zoom.
#include <cstdio>
#include <cstring>

#include "catalogues/Star.h"
#include "view/QtCanvas.h"
#include "view/SkyView.h"

void SkyView::DrawLabel(double x, double y, const std::string& text) {
    const int px = ToPixelX(x), py = ToPixelY(y);
    const Colour colour = canvas_->FontColour();
    canvas_->SetFontColour(palette_.Background());
    canvas_->TextOut(px + 1, py + 1, text);
    canvas_->TextOut(px + 2, py, text);
    canvas_->SetFontColour(colour);
    canvas_->TextOut(px, py, text);
}

void SkyView::DrawTextAt(double altitude, double azimuth, const std::string& text) {
    double x, y;
    Project(altitude, azimuth, x, y);
    if (IsInView(x, y)) canvas_->TextOut(ToPixelX(x), ToPixelY(y), text);
}

void SkyView::OutlinedText(int x, int y, const std::string& text) {
    const Colour colour = canvas_->FontColour();
    canvas_->SetFontColour(palette_.Background());
    canvas_->TextOut(x + 1, y + 3, text);
    canvas_->TextOut(x - 1, y + 1, text);
    canvas_->SetFontColour(colour);
    canvas_->TextOut(x, y + 2, text);
}

SkyView::StarLabel SkyView::BuildStarLabel(const Star& star) const {
    StarLabel label;
    const std::string* name = star.Name();
    const bool named = options_[DisplayOptions::ShowStarNames] && labelScale_ - 3 > star.magnitude && name;
    if (named) label.t1 = *name;
    const bool bayer = options_[DisplayOptions::ShowBayerId] && star.bayer[0] != '\0';
    const bool flamsteed = options_[DisplayOptions::ShowFlamsteedId] && star.flamsteed != 0;
    if (flamsteed || bayer) {
        if (named) label.t1 += " (";
        if (flamsteed) label.t1 += std::to_string(star.flamsteed);
        if (bayer) {
            if (flamsteed) label.t1 += " ";
            label.t2 = std::string(1, star.bayer[0]);
            if (star.bayer[1] != '\0') label.t3 = std::string(1, star.bayer[1]);
        }
        if (star.constellation[0] != '\0') {
            label.t3 += " ";
            label.t3.append(star.constellation, strnlen(star.constellation, sizeof star.constellation));
        }
        if (named) label.t3 += ")";
    }
    const bool empty = label.t1.empty() && label.t2.empty() && label.t3.empty();
    if (options_[DisplayOptions::ShowHD] && empty && star.hd != 0) {
        char text[24];
        std::snprintf(text, sizeof text, "HD%d", static_cast<int>(star.hd));
        label.t1 = text;
        label.fontHeight = static_cast<int>(1.2f * labelScale_);
    } else {
        label.fontHeight = static_cast<int>(2.5f * labelScale_);
    }
    return label;
}
