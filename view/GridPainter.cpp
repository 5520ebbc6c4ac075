// The grids and lines: horizon with its compass letters, the horizontal and
// equatorial grids with the celestial poles, and the equator.
#include <cmath>
#include <cstddef>

#include "astro/Constants.h"
#include "astro/Observer.h"
#include "view/PainterSupport.h"
#include "view/QtCanvas.h"
#include "view/SkyOverlay.h"
#include "view/SkyView.h"

namespace {

constexpr Colour kHorizonRed{128, 0, 0};
constexpr Colour kEquatorBlue{0, 0, 128};
constexpr Colour kGridBlue{0, 0, 255};

// Grids and the equator are drawn in the projections round the view
// direction only; the horizon in every one.
bool DrawsSkyLines(Projection projection) { return FactsOf(projection).family == ProjectionFamily::Azimuthal; }

void SetLinePen(QtCanvas& canvas, PenStyle style, int width, Colour colour) {
    canvas.SetPenStyle(style);
    canvas.SetPenWidth(width);
    canvas.SetPenColour(colour);
}

// The grid tracer's vertices in drawing order: taken from the store when it
// holds them for the observer's moment and place, else traced and stored.
// Without an observer nothing is stored, and the tracer stays where it was.
class VertexSource {
public:
    VertexSource(SkyOverlay& tracer, SkyView::TracedVertices& store) : tracer_(tracer), store_(store) {
        if (!TheObserver) return;
        const double sidereal = TheObserver->localApparentSidereal.radians;
        const double latitude = TheObserver->latitude.radians;
        if (store.complete && store.sidereal == sidereal && store.latitude == latitude) {
            reuse_ = true;
            return;
        }
        store.places.clear();
        store.complete = false;
        store.sidereal = sidereal;
        store.latitude = latitude;
        record_ = true;
    }
    ~VertexSource() {
        if (record_) store_.complete = true;
    }
    VertexSource(const VertexSource&) = delete;
    VertexSource& operator=(const VertexSource&) = delete;

    HorizontalPlace operator()(double ra, double dec) {
        if (reuse_ && next_ < store_.places.size()) return store_.places[next_++];
        tracer_.Trace(ra, dec);
        const HorizontalPlace place{tracer_.altitude.radians, tracer_.azimuth.radians};
        if (record_) store_.places.push_back(place);
        return place;
    }

private:
    SkyOverlay& tracer_;
    SkyView::TracedVertices& store_;
    bool reuse_ = false;
    bool record_ = false;
    std::size_t next_ = 0;
};

}  // namespace

void SkyView::DrawPoleMarker(double altitude, double azimuth, const std::string& label) {
    double x, y;
    Project(altitude, azimuth, x, y);
    const int px = ToPixelX(x), py = ToPixelY(y);
    canvas_->MoveTo(px, py);
    canvas_->LineTo(px + 1, py);
    canvas_->SetBrushStyle(BrushStyle::Clear);
    const double offset = 2 + 0.1 * sqrtScale_;
    canvas_->TextOut(TruncToPixel(px + offset), TruncToPixel(py + offset), label);
}

void SkyView::DrawHorizon() {
    const double pi = static_cast<double>(Pi);
    SetLinePen(*canvas_, PenStyle::Solid, 1, palette_.Fixed(kHorizonRed));
    canvas_->SetFontColour(palette_.Fixed(kHorizonRed));
    const int n = projection_ == Orthographic ? 31 : 32;
    const double d = direction.radians;
    // Each half spans a little less than 180 degrees, so that in the
    // orthographic view each stays inside its own disc.
    double a = d - pi / 2;
    if (a > pi) a -= 2 * pi;
    MoveToSky(0, a);
    for (int i = 0; i < n; ++i) {
        a += pi / (n + 0.001);
        LineToSky(0, a);
    }
    a = d - 3 * pi / 2 + 0.0001;
    if (a < -pi) a += 2 * pi;
    MoveToSky(0, a);
    for (int i = 0; i < n; ++i) {
        a += pi / (n + 0.001);
        LineToSky(0, a);
    }
    // The letter straight behind the viewer is left out. Bearings are
    // compared around the circle, so a direction just short of a full turn
    // still faces north.
    const struct {
        const char* letter;
        double azimuth;
    } compass[4] = {{"N", 0}, {"E", pi / 2}, {"S", pi}, {"W", 3 * pi / 2}};
    for (const auto& c : compass) {
        if (std::fabs(std::remainder(d - (c.azimuth + pi), 2 * pi)) < 1e-7) continue;
        DrawTextAt(-0.015, c.azimuth, c.letter);
    }
}

void SkyView::DrawHorizontalGrid() {
    if (!DrawsSkyLines(projection_)) return;
    const double pi = static_cast<double>(Pi);
    SetLinePen(*canvas_, PenStyle::Dotted, 1, palette_.Fixed(kHorizonRed));
    for (int i = -6; i <= 5; ++i) {
        const double altitude = i * pi / 12;
        MoveToSky(altitude, 0);
        for (int j = 0; j <= 72; ++j) LineToSky(altitude, j * pi / 36);
    }
    for (int i = -12; i <= 11; ++i) {
        const double azimuth = i * pi / 12;
        MoveToSky(-75 * pi / 180, azimuth);
        for (int j = -30; j <= 30; ++j) LineToSky(j * pi / 72, azimuth);
    }
    canvas_->SetPenStyle(PenStyle::Solid);
}

void SkyView::DrawEquator() {
    if (!DrawsSkyLines(projection_)) return;
    const double pi = static_cast<double>(Pi);
    SetLinePen(*canvas_, PenStyle::Solid, 1, palette_.Fixed(kEquatorBlue));
    VertexSource trace(*overlay_, equatorVertices_);
    HorizontalPlace p = trace(0, 0);
    MoveToSky(p.altitude, p.azimuth);
    for (double ra = 0; ra <= 2 * pi + 0.0001; ra += pi / 180) {
        p = trace(ra, 0);
        LineToSky(p.altitude, p.azimuth);
    }
}

void SkyView::DrawEquatorialGrid() {
    if (!DrawsSkyLines(projection_)) return;
    const double pi = static_cast<double>(Pi);
    VertexSource trace(*overlay_, equatorialGridVertices_);
    SetLinePen(*canvas_, PenStyle::Dotted, 4, palette_.Fixed(kGridBlue));
    // The pole labels take the grid's colour rather than whatever colour the
    // last label of the previous frame left behind (black on the first frame).
    canvas_->SetFontColour(palette_.Fixed(kGridBlue));
    HorizontalPlace p = trace(0, pi / 2);
    DrawPoleMarker(p.altitude, p.azimuth, "CNP");
    p = trace(0, -pi / 2);
    DrawPoleMarker(p.altitude, p.azimuth, "CSP");
    canvas_->SetPenWidth(1);
    for (int i = -6; i <= 5; ++i) {
        const double dec = -i * pi / 12;
        p = trace(-pi, dec);
        MoveToSky(p.altitude, p.azimuth);
        for (int j = -36; j <= 36; ++j) {
            p = trace(j * pi / 36, dec);
            LineToSky(p.altitude, p.azimuth);
        }
    }
    for (int i = -12; i <= 11; ++i) {
        const double ra = i * pi / 12;
        p = trace(ra, -75 * pi / 180);
        MoveToSky(p.altitude, p.azimuth);
        for (int j = -30; j <= 30; ++j) {
            p = trace(ra, j * pi / 72);
            LineToSky(p.altitude, p.azimuth);
        }
    }
    canvas_->SetPenStyle(PenStyle::Solid);
}
