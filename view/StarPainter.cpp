// The star layer: a dot of the pen's width for a faint star, a disc with its
// label for a bright one, in the colour of its spectral class.
#include <algorithm>

#include "catalogues/BayerLetters.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
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

namespace {

int FaintPenWidth(float magnitude, float labelScale) {
    return static_cast<int>((12 - DrawnMagnitude(magnitude)) * 0.0125f * labelScale);
}

}  // namespace

bool SkyView::PlaceStar(Star& star) {
    ProjectObject(star);
    star.onScreen = IsInView(star.screenX, star.screenY);
    return star.onScreen;
}

Colour SkyView::StarFill(int16_t colourClass, bool dim) const {
    return palette_.Get(std::clamp<int>(colourClass, 0, 7), dim ? 1 : 2);
}

void SkyView::SetFaintStarState(const Star& star) {
    const bool dim = Dimmed(star);
    const Colour fill = StarFill(star.colourClass, dim);
    canvas_->SetPenWidth(FaintPenWidth(star.magnitude, labelScale_));
    canvas_->SetBrushColour(fill);
    canvas_->SetFontColour(palette_.Get(PalStarLabel, dim ? 1 : 2));
    // A dot carries no label, so its texts are not built; the font height is
    // still set, as later painters inherit it. It is the HD label's only for
    // a star that would be labelled by its HD number alone, so the rest of
    // the star is read only when HD numbers show.
    bool hd = false;
    if (options_[DisplayOptions::ShowHD] && star.hd != 0) {
        const bool named = options_[DisplayOptions::ShowStarNames] && labelScale_ - 3 > star.magnitude && star.Name();
        hd = !named && !(options_[DisplayOptions::ShowBayerId] && star.bayer[0] != '\0') &&
             !(options_[DisplayOptions::ShowFlamsteedId] && star.flamsteed != 0);
    }
    canvas_->SetFontHeight(static_cast<int>((hd ? 1.2f : 2.5f) * labelScale_));
    // Faint stars are dots of the pen's width, in the fill colour.
    canvas_->SetPenColour(fill);
    canvas_->SetBrushStyle(BrushStyle::Clear);
}

void SkyView::PaintStar(const Star& star) {
    const int px = ToPixelX(star.screenX), py = ToPixelY(star.screenY);
    const int d = DiscRadius(star.magnitude, zoomSteps_);
    if (d < 2) {
        SetFaintStarState(star);
        canvas_->MoveTo(px, py);
        canvas_->LineTo(px + 1, py);
        return;
    }
    const int c = std::clamp<int>(star.colourClass, 0, 7);
    const bool dim = Dimmed(star);
    canvas_->SetPenWidth(FaintPenWidth(star.magnitude, labelScale_));
    canvas_->SetBrushColour(StarFill(star.colourClass, dim));
    canvas_->SetFontColour(palette_.Get(PalStarLabel, dim ? 1 : 2));
    const StarLabel label = BuildStarLabel(star);
    canvas_->SetPenColour(palette_.Get(c, dim ? 0 : 1));
    canvas_->SetFontHeight(label.fontHeight);
    DrawStarDisc(star.screenX, star.screenY, d, label.t1, label.t2, label.t3);
}

void SkyView::DrawStar(Star& star) {
    if (PlaceStar(star)) PaintStar(star);
}

void SkyView::DrawStars(std::span<Star> stars, std::span<const StarCatalogue::ComputedStar> which) {
    // One-pixel dots, the great majority, are gathered and set in one go;
    // anything else is painted on its own after the dots before it, so the
    // order of drawing is kept. After each run of dots the canvas is left
    // as its last dot would have left it, for whatever inherits that state.
    std::vector<CanvasDot>& dots = dotBuffer_;
    dots.clear();
    const Star* lastDot = nullptr;
    const auto endRun = [&] {
        if (!lastDot) return;
        canvas_->Dots(dots);
        dots.clear();
        SetFaintStarState(*lastDot);
        canvas_->MoveTo(ToPixelX(lastDot->screenX) + 1, ToPixelY(lastDot->screenY));
        lastDot = nullptr;
    };
    const ProjectionFrame& frame = Frame();
    const bool dimBelow = options_[DisplayOptions::ShowHorizon];
    // The stars lie scattered through a block far larger than the caches:
    // each is fetched a few entries ahead of its turn.
    constexpr std::size_t kAhead = 16;
    for (std::size_t k = 0; k < which.size(); ++k) {
        if (k + kAhead < which.size()) {
            const Star& ahead = stars[which[k + kAhead].index];
            __builtin_prefetch(&ahead.altitude, 1);
            __builtin_prefetch(&ahead.onScreen, 1);
        }
        const StarCatalogue::ComputedStar& entry = which[k];
        Star& star = stars[entry.index];
        if (entry.place.altitude == star.altitude.radians && entry.place.azimuth == star.azimuth.radians) {
            // Unmoved since the update: everything needed is in the entry.
            frame.Project(entry.place, star.screenX, star.screenY);
            star.onScreen = IsInView(star.screenX, star.screenY);
            if (!star.onScreen) continue;
            if (DiscRadius(entry.magnitude, zoomSteps_) < 2 && FaintPenWidth(entry.magnitude, labelScale_) <= 1) {
                dots.push_back({ToPixelX(star.screenX), ToPixelY(star.screenY),
                                StarFill(entry.colourClass, dimBelow && entry.belowHorizon)});
                lastDot = &star;
                continue;
            }
        } else if (!PlaceStar(star)) {
            continue;
        }
        endRun();
        PaintStar(star);
    }
    endRun();
}
