// The star layer: a dot of the pen's width for a faint star, a disc with its
// label for a bright one, in the colour of its spectral class.
#include <algorithm>

#include "catalogues/BayerLetters.h"
#include "catalogues/Star.h"
#include "view/PainterSupport.h"
#include "view/QtCanvas.h"
#include "view/SkyView.h"

void SkyView::DrawStarDisc(double x, double y, int d, const std::string& t1, const std::string& t2,
                           const std::string& t3) {
    const int px = ToPixelX(x), py = ToPixelY(y);
    canvas_->SetBrushStyle(BrushStyle::Solid);
    canvas_->Ellipse(px - d, py - d, px + d, py + d);
    canvas_->SetBrushStyle(BrushStyle::Clear);

    int tx = px + 2;
    if (!t1.empty()) {
        OutlinedText(tx, py, t1);
        tx = canvas_->PenX();
    }
    if (!t2.empty()) {
        canvas_->SetFontName("MS Sans Serif");
        OutlinedText(tx, py, BayerGreek(t2));
        tx = canvas_->PenX();
    }
    if (!t3.empty()) OutlinedText(tx, py, t3);
}

void SkyView::DrawStar(Star& star, const HorizontalPlace* place) {
    if (place && place->altitude == star.altitude.radians && place->azimuth == star.azimuth.radians) {
        Frame().Project(*place, star.screenX, star.screenY);
    } else {
        ProjectObject(star);
    }
    if (!IsInView(star.screenX, star.screenY)) {
        star.onScreen = false;
        return;
    }
    const int c = std::clamp<int>(star.colourClass, 0, 7);
    const bool dim = Dimmed(star);
    canvas_->SetPenWidth(static_cast<int>((12 - DrawnMagnitude(star.magnitude)) * 0.0125f * labelScale_));
    canvas_->SetBrushColour(palette_.Get(c, dim ? 1 : 2));
    canvas_->SetFontColour(palette_.Get(PalStarLabel, dim ? 1 : 2));

    const int d = DiscRadius(star.magnitude, zoomSteps_);
    if (d < 2) {
        // A dot carries no label, so its texts are not built; the font
        // height is still set, as later painters inherit it. It is the HD
        // label's only for a star that would be labelled by its HD number
        // alone, so the rest of the star is read only when HD numbers show.
        bool hd = false;
        if (options_[DisplayOptions::ShowHD] && star.hd != 0) {
            const bool named =
                options_[DisplayOptions::ShowStarNames] && labelScale_ - 3 > star.magnitude && star.Name();
            hd = !named && !(options_[DisplayOptions::ShowBayerId] && star.bayer[0] != '\0') &&
                 !(options_[DisplayOptions::ShowFlamsteedId] && star.flamsteed != 0);
        }
        canvas_->SetFontHeight(static_cast<int>((hd ? 1.2f : 2.5f) * labelScale_));
        // Faint stars are dots of the pen's width, in the fill colour: there
        // are tens of thousands of these in a frame.
        const int px = ToPixelX(star.screenX), py = ToPixelY(star.screenY);
        canvas_->SetPenColour(canvas_->BrushColour());
        canvas_->MoveTo(px, py);
        canvas_->LineTo(px + 1, py);
        canvas_->SetBrushStyle(BrushStyle::Clear);
    } else {
        const StarLabel label = BuildStarLabel(star);
        canvas_->SetPenColour(palette_.Get(c, dim ? 0 : 1));
        canvas_->SetFontHeight(label.fontHeight);
        DrawStarDisc(star.screenX, star.screenY, d, label.t1, label.t2, label.t3);
    }
    star.onScreen = true;
}
