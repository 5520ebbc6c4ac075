#include "view/SkyView.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/Constants.h"
#include "catalogues/Star.h"
#include "catalogues/BayerLetters.h"
#include "view/QtCanvas.h"
#include "view/SkyOverlay.h"

namespace {

constexpr double kStandardParallels[ProjectionCount] = {0, 0, 0, 0.0, 30.0, 37.383, 44.138, 45.0, 50.0};

constexpr const char* kCommandNames[ProjectionCount] = {
    "orthographic", "stereographic", "equal area", "lambert cylindrical equal area",
    "behrman cylindrical equal area", "tristan edwards", "peters", "gall orthographic",
    "balthasart orthographic",
};

constexpr const char* kDialogItems[ProjectionCount] = {
    "Orthographic", "Stereographic", "Equal Area", "Lambert Cylindrical Equal Area",
    "Behrman Cylindrical", "Tristan Edwards", "Peters", "Gall Orthographic", "Balthasart",
};

// The status bar's clock panels are sized to hold these texts.
constexpr const char* kStatusSamples[4] = {
    "00:00:00 00/00/0000", "Local: 00:00:00", "Julian: 0000000.000000", "Sidereal: 00:00:00",
};

// Pixel positions are truncated toward zero; far-off plane points (near the
// antipode of a stereographic view, say) are held inside the 32-bit range
// instead of overflowing it.
int32_t TruncToPixel(double v) {
    constexpr double kLimit = 1.0e9;
    if (!(v > -kLimit)) return static_cast<int32_t>(-kLimit);
    if (v > kLimit) return static_cast<int32_t>(kLimit);
    return static_cast<int32_t>(v);
}

// The magnitude a star's disc and pen are sized by. A damaged one (-1e10,
// nan) is held to what a star can sensibly be, so that no size computed from
// it leaves the range of the integers the canvas draws with.
float DrawnMagnitude(float magnitude) {
    if (!(magnitude <= 30.0f)) return 30.0f;
    return std::max(magnitude, -30.0f);
}

int DiscRadius(float magnitude, float zoomSteps) {
    return static_cast<int>((12 - DrawnMagnitude(magnitude)) * (zoomSteps - 45) / 60);
}

constexpr Colour kBlack{0, 0, 0};
constexpr Colour kHorizonRed{128, 0, 0};
constexpr Colour kEquatorBlue{0, 0, 128};
constexpr Colour kGridBlue{0, 0, 255};

}  // namespace

const char* ProjectionCommandName(Projection p) { return p < ProjectionCount ? kCommandNames[p] : ""; }
const char* ProjectionDialogItem(Projection p) { return p < ProjectionCount ? kDialogItems[p] : ""; }

SkyView::SkyView(const SkyViewSettings& settings, SkyPanel* panel)
    : panel_(panel), canvas_(std::make_unique<QtCanvas>(1, 1)), overlay_(std::make_unique<SkyOverlay>(this)) {
    scale_ = 175.0f;
    FitToSurface();
    SizeStatusPanels();
    projection_ = EqualArea;
    elevation.SetRadians(settings.elevation);
    direction.SetRadians(settings.direction);
    options_ = settings.options;
    starLimit = settings.starLimit;
    dsoLimit = settings.dsoLimit;
    asteroidsToShow = settings.asteroidsToShow;
    SetProjection(settings.projection);
    ApplyPanelColours();
}

SkyView::~SkyView() = default;

void SkyView::SizeStatusPanels() {
    if (!panel_) return;
    for (int i = 0; i < 4; ++i) panel_->SetStatusWidth(i, canvas_->TextWidth(kStatusSamples[i]) + 10);
}

// --- geometry -------------------------------------------------------------------

void SkyView::SetProjection(uint16_t p) {
    if (p >= ProjectionCount) p = EqualArea;
    projection_ = static_cast<Projection>(p);
    if (p >= LambertCylindrical) standardParallel.SetDegrees(kStandardParallels[p]);
}

void SkyView::Project(double altitude, double azimuth, double& x, double& y) const {
    const double pi = static_cast<double>(Pi);
    const double d = direction.radians;
    const double dz = azimuth - d;
    switch (projection_) {
    case Orthographic: {
        const double e = elevation.radians;
        const double cosA = std::cos(altitude);
        const double x0 = cosA * std::sin(dz);
        y = std::sin(altitude) * std::cos(e) - std::cos(dz) * cosA * std::sin(e);
        double g = d + pi / 2;
        double h = d + 3 * pi / 2;
        if (g > 2 * pi) g -= 2 * pi;
        if (h > 2 * pi) h -= 2 * pi;
        const bool back = g < h ? (g < azimuth && azimuth < h) : (azimuth > g || azimuth < h);
        x = back ? x0 - 1.3 : x0 + 1.3;
        return;
    }
    case Stereographic:
    case EqualArea: {
        const double cosA = std::cos(altitude);
        const double sinA = std::sin(altitude);
        const double c = cosA * std::cos(dz);
        // The view's elevation changes far more rarely than it is used.
        if (elevation.radians != trigElevation_) {
            trigElevation_ = elevation.radians;
            sinElevation_ = std::sin(trigElevation_);
            cosElevation_ = std::cos(trigElevation_);
        }
        const double sinE = sinElevation_;
        const double cosE = cosElevation_;
        const double w = 1 + sinE * sinA + cosE * c;
        if (static_cast<long long>(w * 1000000.0) == 0) {
            x = 0.0;
            y = 0.0;
            return;
        }
        const double k = projection_ == Stereographic ? 2 / w : std::sqrt(2 / w);
        x = k * cosA * std::sin(dz);
        y = k * (cosE * sinA - sinE * c);
        return;
    }
    default: {
        const double cosP = std::cos(standardParallel.radians);
        x = cosP * dz;
        y = std::sin(altitude) / cosP;
        if (x > pi * cosP) {
            x -= 2 * pi * cosP;
        } else if (x < -pi * cosP) {
            x += 2 * pi * cosP;
        }
        return;
    }
    }
}

void SkyView::ProjectObject(SkyObject& o) const { Project(o.altitude.radians, o.azimuth.radians, o.screenX, o.screenY); }

void SkyView::ObjectBox(SkyObject& o, double radius, double& x1, double& y1, double& x2, double& y2) const {
    ProjectObject(o);
    BoxAroundProjected(o, radius, x1, y1, x2, y2);
}

void SkyView::BoxAroundProjected(const SkyObject& o, double radius, double& x1, double& y1, double& x2,
                                 double& y2) const {
    // The edge point is the place shifted by the radius in both altitude and azimuth.
    double ex, ey;
    Project(o.altitude.radians + radius, o.azimuth.radians + radius, ex, ey);
    DiscBox(o.screenX, o.screenY, ex, ey, x1, y1, x2, y2);
}

void SkyView::CentreOn(SkyObject* object) {
    if (!object) return;
    ProjectObject(*object);
    centreX_ = object->screenX;
    centreY_ = object->screenY;
    UpdateBounds();
}

void SkyView::SetCentre(double x, double y) {
    centreX_ = x;
    centreY_ = y;
    UpdateBounds();
}

void SkyView::ScrollVertical(float f) {
    if (f == 0.0f) return;
    centreY_ = centreY_ - (centreY_ - planeTop_) / f;
    UpdateBounds();
}

void SkyView::ScrollHorizontal(float f) {
    if (f == 0.0f) return;
    centreX_ = centreX_ - (centreX_ - planeRight_) / f;
    UpdateBounds();
}

void SkyView::ZoomIn(float f) {
    if (scale_ >= 2000000.0f) return;
    scale_ = scale_ * f;
    UpdateBounds();
}

void SkyView::ZoomOut(float f) {
    if (scale_ > 50.0f) {
        scale_ = scale_ / f;
        UpdateBounds();
    }
}

void SkyView::SetScale(float scale) {
    if (!(scale > 0.0f)) return;
    scale_ = scale;
    UpdateBounds();
}

void SkyView::Resize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    canvas_->Resize(width, height);
    surfaceWidth_ = width;
    surfaceHeight_ = height;
    halfWidth_ = width / 2;
    halfHeight_ = height / 2;
    UpdateBounds();
}

void SkyView::FitToSurface() {
    if (panel_) {
        Resize(panel_->SurfaceWidth(), panel_->SurfaceHeight());
    } else {
        Resize(surfaceWidth_ > 0 ? surfaceWidth_ : 1, surfaceHeight_ > 0 ? surfaceHeight_ : 1);
    }
}

void SkyView::UpdateBounds() {
    const double s = scale_;
    planeLeft_ = centreX_ - halfWidth_ / s;
    planeRight_ = centreX_ + halfWidth_ / s;
    planeBottom_ = centreY_ - halfHeight_ / s;
    planeTop_ = centreY_ + halfHeight_ / s;
    const double lg = std::log10(s);
    labelScale_ = static_cast<float>(lg * 2.2);
    sqrtScale_ = static_cast<float>(std::sqrt(s));
    zoomSteps_ = static_cast<float>(lg / std::log10(1.1));
}

bool SkyView::IsInView(double x, double y) const {
    return planeLeft_ < x && x < planeRight_ && planeBottom_ < y && y < planeTop_;
}

int32_t SkyView::ToPixelX(double x) const { return TruncToPixel((x - planeLeft_) * scale_); }
int32_t SkyView::ToPixelY(double y) const { return TruncToPixel(surfaceHeight_ - (y - planeBottom_) * scale_); }
double SkyView::FromPixelX(int32_t px) const { return px / static_cast<double>(scale_) + planeLeft_; }
double SkyView::FromPixelY(int32_t py) const {
    return (surfaceHeight_ - py) / static_cast<double>(scale_) + planeBottom_;
}

// --- palette ----------------------------------------------------------------------

bool SkyView::ToggleRedMode() {
    const bool on = palette_.ToggleRedMode();
    ApplyPanelColours();
    return on;
}

void SkyView::Brighter() {
    palette_.Brighter();
    ApplyPanelColours();
}

void SkyView::Dimmer() {
    palette_.Dimmer();
    ApplyPanelColours();
}

// --- frame --------------------------------------------------------------------------

void SkyView::Clear() {
    canvas_->SetBrushColour(kBlack);
    canvas_->SetBrushStyle(BrushStyle::Solid);
    canvas_->SetPenColour(kBlack);
    canvas_->FillRect(0, 0, surfaceWidth_, surfaceHeight_);
}

void SkyView::Present() {
    const QImage& frame = canvas_->Image();
    if (panel_) panel_->Present(frame);
}

const QImage& SkyView::Image() { return canvas_->Image(); }
Canvas& SkyView::GetCanvas() { return *canvas_; }

// --- primitive painters -------------------------------------------------------------

void SkyView::MoveToPlane(double x, double y) { canvas_->MoveTo(ToPixelX(x), ToPixelY(y)); }

void SkyView::LineToPlane(double x, double y) {
    const bool penInView = IsInView(FromPixelX(canvas_->PenX()), FromPixelY(canvas_->PenY()));
    if (IsInView(x, y) && penInView) {
        canvas_->LineTo(ToPixelX(x), ToPixelY(y));
    } else {
        MoveToPlane(x, y);
    }
}

void SkyView::MoveToSky(double altitude, double azimuth) {
    double x, y;
    Project(altitude, azimuth, x, y);
    MoveToPlane(x, y);
}

void SkyView::LineToSky(double altitude, double azimuth) {
    double x, y;
    Project(altitude, azimuth, x, y);
    // Either end in view is enough: the canvas clips the rest.
    if (IsInView(x, y) || IsInView(FromPixelX(canvas_->PenX()), FromPixelY(canvas_->PenY()))) {
        canvas_->LineTo(ToPixelX(x), ToPixelY(y));
    } else {
        MoveToPlane(x, y);
    }
}

void SkyView::DrawPoint(double x, double y, const std::string& label) {
    const int px = ToPixelX(x), py = ToPixelY(y);
    canvas_->MoveTo(px, py);
    canvas_->LineTo(px + 1, py);
    canvas_->SetBrushStyle(BrushStyle::Clear);
    if (!label.empty()) canvas_->TextOut(px + 2, py + 2, label);
}

void SkyView::DrawLabel(double x, double y, const std::string& text) {
    const int px = ToPixelX(x), py = ToPixelY(y);
    const Colour colour = canvas_->FontColour();
    canvas_->SetFontColour(kBlack);
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

void SkyView::DrawEllipse(double x1, double y1, double x2, double y2) {
    if (!IsInView(x1, y1) || !IsInView(x2, y2)) return;
    int left = ToPixelX(x1), top = ToPixelY(y1);
    int right = ToPixelX(x2), bottom = ToPixelY(y2);
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 3 || bottom - top < 3) {
        right = left + 3;
        bottom = top + 3;
    }
    // Sizes past the 16-bit range of the drawing layer are not drawn.
    const long long horizontal = static_cast<long long>(left) + right;
    const long long vertical = static_cast<long long>(top) + bottom;
    if (horizontal >= 32768 || vertical >= 32768 || horizontal + vertical >= 32768) return;
    canvas_->Ellipse(left, top, right, bottom);
}

void SkyView::DiscBox(double cx, double cy, double ex, double ey, double& x1, double& y1, double& x2,
                      double& y2) {
    const double d = (std::fabs(ex - cx) + std::fabs(ey - cy)) / 2;
    x1 = cx - d;
    y1 = cy + d;
    x2 = cx + d;
    y2 = cy - d;
}

void SkyView::OutlinedText(int x, int y, const std::string& text) {
    const Colour colour = canvas_->FontColour();
    canvas_->SetFontColour(kBlack);
    canvas_->TextOut(x + 1, y + 3, text);
    canvas_->TextOut(x - 1, y + 1, text);
    canvas_->SetFontColour(colour);
    canvas_->TextOut(x, y + 2, text);
}

void SkyView::DrawStarDisc(double x, double y, float magnitude, const std::string& t1, const std::string& t2,
                           const std::string& t3) {
    const int px = ToPixelX(x), py = ToPixelY(y);
    const int d = DiscRadius(magnitude, zoomSteps_);
    if (d < 2) {
        // Faint stars are dots of the pen's width and carry no label.
        canvas_->SetPenColour(canvas_->BrushColour());
        DrawPoint(x, y, std::string());
        return;
    }
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

// --- object painters ----------------------------------------------------------------------

bool SkyView::Dimmed(const SkyObject& o) const { return options_[DisplayOptions::ShowHorizon] && o.belowHorizon; }

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

void SkyView::DrawStar(Star& star) {
    ProjectObject(star);
    if (!IsInView(star.screenX, star.screenY)) {
        star.onScreen = false;
        return;
    }
    const int c = std::clamp<int>(star.colourClass, 0, 7);
    const bool dim = Dimmed(star);
    canvas_->SetPenWidth(static_cast<int>((12 - DrawnMagnitude(star.magnitude)) * 0.0125f * labelScale_));
    canvas_->SetPenColour(palette_.Get(c, dim ? 0 : 1));
    canvas_->SetBrushColour(palette_.Get(c, dim ? 1 : 2));
    canvas_->SetFontColour(palette_.Get(PalStarLabel, dim ? 1 : 2));

    if (DiscRadius(star.magnitude, zoomSteps_) < 2) {
        // A dot carries no label, so its texts are not built; the font
        // height is still set, as later painters inherit it.
        const bool named = options_[DisplayOptions::ShowStarNames] && labelScale_ - 3 > star.magnitude && star.Name();
        const bool labelled = named || (options_[DisplayOptions::ShowBayerId] && star.bayer[0] != '\0') ||
                              (options_[DisplayOptions::ShowFlamsteedId] && star.flamsteed != 0);
        const bool hd = options_[DisplayOptions::ShowHD] && !labelled && star.hd != 0;
        canvas_->SetFontHeight(static_cast<int>((hd ? 1.2f : 2.5f) * labelScale_));
        DrawStarDisc(star.screenX, star.screenY, star.magnitude, {}, {}, {});
    } else {
        const StarLabel label = BuildStarLabel(star);
        canvas_->SetFontHeight(label.fontHeight);
        DrawStarDisc(star.screenX, star.screenY, star.magnitude, label.t1, label.t2, label.t3);
    }
    star.onScreen = true;
}

void SkyView::DrawDeepSky(SkyObject& object, double radius, bool hasMessierNumber) {
    // The centre first: most objects of a full catalogue lie outside the
    // view, and they need no box.
    ProjectObject(object);
    if (!IsInView(object.screenX, object.screenY)) return;
    double x1, y1, x2, y2;
    BoxAroundProjected(object, radius, x1, y1, x2, y2);
    const int shade = Dimmed(object) ? 1 : 2;
    canvas_->SetPenColour(palette_.Get(PalDeepSky, shade));
    canvas_->SetFontColour(palette_.Get(PalDeepSkyLabel, shade));
    canvas_->SetFontHeight(static_cast<int>(0.4f * labelScale_));
    canvas_->SetPenWidth(1);
    canvas_->SetPenStyle(PenStyle::Solid);
    canvas_->SetBrushStyle(BrushStyle::Clear);
    DrawEllipse(x1, y1, x2, y2);
    if (options_[DisplayOptions::ShowDSONames] && (labelScale_ + 4 > object.magnitude || hasMessierNumber)) {
        DrawLabel(object.screenX, object.screenY, object.GetName());
    }
}

void SkyView::DrawFigure(std::span<Star* const> stars, std::span<const FigureLine> lines) {
    canvas_->SetPenWidth(1);
    canvas_->SetPenColour(palette_.Get(PalFigure, 2));
    canvas_->SetPenStyle(PenStyle::Solid);
    for (Star* s : stars) {
        if (s && !s->onScreen) ProjectObject(*s);
    }
    auto starAt = [&](uint16_t index) -> const Star* {
        return index >= 1 && index <= stars.size() ? stars[index - 1] : nullptr;
    };
    for (const FigureLine& line : lines) {
        const Star* previous = nullptr;
        for (uint16_t index : line) {
            const Star* s = starAt(index);
            if (!s) {
                // A broken reference ends the stroke instead of joining across it.
                previous = nullptr;
                continue;
            }
            // Strokes are broken where successive stars lie far apart on the
            // plane: between the two orthographic discs or across the seam of
            // a cylindrical map.
            if (!previous || std::fabs(previous->screenY - s->screenY) > 1 ||
                std::fabs(previous->screenX - s->screenX) > 1) {
                MoveToPlane(s->screenX, s->screenY);
            } else {
                LineToPlane(s->screenX, s->screenY);
            }
            previous = s;
        }
    }
}

void SkyView::DrawMinorPlanet(SkyObject& object, int32_t number) {
    ProjectObject(object);
    if (!IsInView(object.screenX, object.screenY)) {
        object.onScreen = false;
        return;
    }
    const int shade = Dimmed(object) ? 1 : 2;
    canvas_->SetPenColour(palette_.Get(PalMinorPlanet, shade));
    canvas_->SetFontColour(palette_.Get(PalMinorPlanetLabel, shade));
    canvas_->SetFontHeight(static_cast<int>(2.5f * labelScale_));
    canvas_->SetPenWidth(static_cast<int>(sqrtScale_ / 4));
    std::string label;
    if (options_[DisplayOptions::ShowMPNumbers]) label = std::to_string(number) + " ";
    if (options_[DisplayOptions::ShowMPNames] && object.Name()) label += *object.Name();
    DrawPoint(object.screenX, object.screenY, label);
    object.onScreen = true;
}

void SkyView::DrawPlanet(SkyObject& object) {
    ProjectObject(object);
    const int shade = Dimmed(object) ? 1 : 2;
    canvas_->SetPenColour(palette_.Get(PalPlanet, shade));
    canvas_->SetFontColour(palette_.Get(PalPlanetLabel, shade));
    canvas_->SetFontHeight(static_cast<int>(2.5f * labelScale_));
    canvas_->SetPenWidth(static_cast<int>(sqrtScale_ / 3));
    const std::string* name = object.Name();
    DrawPoint(object.screenX, object.screenY,
              options_[DisplayOptions::ShowPlanetNames] && name ? *name : std::string());
}

// The Sun and the Moon: a disc filled and outlined in one colour with a pen
// that widens with the zoom.
void SkyView::DrawFilledDisc(double x1, double y1, double x2, double y2, Colour colour, Colour labelColour,
                             int fontHeight) {
    canvas_->SetPenColour(colour);
    canvas_->SetFontColour(labelColour);
    canvas_->SetFontHeight(fontHeight);
    canvas_->SetPenWidth(static_cast<int>(2.0f / 3.0f * sqrtScale_));
    canvas_->SetPenStyle(PenStyle::Solid);
    canvas_->SetBrushStyle(BrushStyle::Solid);
    canvas_->SetBrushColour(colour);
    DrawEllipse(x1, y1, x2, y2);
    canvas_->SetBrushStyle(BrushStyle::Clear);
}

void SkyView::DrawSun(SkyObject& sun, double radius) {
    double x1, y1, x2, y2;
    Project(sun.altitude.radians + radius, sun.azimuth.radians + radius, x1, y1);
    Project(sun.altitude.radians - radius, sun.azimuth.radians - radius, x2, y2);
    ProjectObject(sun);
    const double cy = sun.screenY;
    const double dx = x1 - sun.screenX;
    const int shade = Dimmed(sun) ? 1 : 2;
    DrawFilledDisc(x1, cy - dx, x2, cy + dx, palette_.Get(PalSun, shade), palette_.Get(PalSunLabel, shade),
                   static_cast<int>(2.5f * labelScale_));
    if (options_[DisplayOptions::ShowSunName]) DrawLabel(x1, cy - dx, sun.GetName());
}

void SkyView::DrawMoon(SkyObject& moon, double radius) {
    double x1, y1, x2, y2;
    ObjectBox(moon, radius, x1, y1, x2, y2);
    const int shade = Dimmed(moon) ? 1 : 2;
    DrawFilledDisc(x1, y1, x2, y2, palette_.Get(PalMoon, shade), palette_.Get(PalMoonLabel, shade),
                   static_cast<int>(3.0f * labelScale_));
    if (options_[DisplayOptions::ShowMoonName]) DrawLabel(x2, y2, moon.GetName());
}

void SkyView::DrawEarthShadow(SkyObject& shadow, double penumbraRadius, double umbraRadius) {
    double x1, y1, x2, y2;
    ObjectBox(shadow, penumbraRadius, x1, y1, x2, y2);
    if (!IsInView(shadow.screenX, shadow.screenY)) return;
    const Colour dim = palette_.Get(PalMoon, 1);
    canvas_->SetPenColour(dim);
    canvas_->SetFontColour(dim);
    canvas_->SetFontHeight(static_cast<int>(2.5f * labelScale_));
    canvas_->SetPenWidth(1);
    canvas_->SetPenStyle(PenStyle::Solid);
    canvas_->SetBrushColour(dim);
    canvas_->SetBrushStyle(BrushStyle::Solid);
    DrawEllipse(x1, y1, x2, y2);
    canvas_->SetBrushStyle(BrushStyle::Clear);

    ObjectBox(shadow, umbraRadius, x1, y1, x2, y2);
    canvas_->SetBrushColour(palette_.Get(PalMoon, 2));
    canvas_->SetBrushStyle(BrushStyle::Solid);
    DrawEllipse(x1, y1, x2, y2);
    canvas_->SetBrushStyle(BrushStyle::Clear);
    DrawLabel(x1, y1, "Penumbra");
    DrawLabel(shadow.screenX, shadow.screenY, "Umbra");
}

// --- overlay painters ----------------------------------------------------------------------

void SkyView::DrawHorizon() {
    const double pi = static_cast<double>(Pi);
    canvas_->SetPenStyle(PenStyle::Solid);
    canvas_->SetPenWidth(1);
    canvas_->SetPenColour(kHorizonRed);
    canvas_->SetFontColour(kHorizonRed);
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
    if (projection_ != Stereographic && projection_ != EqualArea) return;
    const double pi = static_cast<double>(Pi);
    canvas_->SetPenStyle(PenStyle::Dotted);
    canvas_->SetPenWidth(1);
    canvas_->SetPenColour(kHorizonRed);
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
    if (projection_ != Stereographic && projection_ != EqualArea) return;
    const double pi = static_cast<double>(Pi);
    canvas_->SetPenStyle(PenStyle::Solid);
    canvas_->SetPenWidth(1);
    canvas_->SetPenColour(kEquatorBlue);
    SkyOverlay& o = *overlay_;
    o.Trace(0, 0);
    MoveToSky(o.altitude.radians, o.azimuth.radians);
    for (double ra = 0; ra <= 2 * pi + 0.0001; ra += pi / 180) {
        o.Trace(ra, 0);
        LineToSky(o.altitude.radians, o.azimuth.radians);
    }
}

void SkyView::DrawEquatorialGrid() {
    if (projection_ != Stereographic && projection_ != EqualArea) return;
    const double pi = static_cast<double>(Pi);
    SkyOverlay& o = *overlay_;
    canvas_->SetPenStyle(PenStyle::Dotted);
    canvas_->SetPenWidth(4);
    canvas_->SetPenColour(kGridBlue);
    // The pole labels take the grid's colour rather than whatever colour the
    // last label of the previous frame left behind (black on the first frame).
    canvas_->SetFontColour(kGridBlue);
    o.Trace(0, pi / 2);
    DrawPoleMarker(o.altitude.radians, o.azimuth.radians, "CNP");
    o.Trace(0, -pi / 2);
    DrawPoleMarker(o.altitude.radians, o.azimuth.radians, "CSP");
    canvas_->SetPenWidth(1);
    for (int i = -6; i <= 5; ++i) {
        const double dec = -i * pi / 12;
        o.Trace(-pi, dec);
        MoveToSky(o.altitude.radians, o.azimuth.radians);
        for (int j = -36; j <= 36; ++j) {
            o.Trace(j * pi / 36, dec);
            LineToSky(o.altitude.radians, o.azimuth.radians);
        }
    }
    for (int i = -12; i <= 11; ++i) {
        const double ra = i * pi / 12;
        o.Trace(ra, -75 * pi / 180);
        MoveToSky(o.altitude.radians, o.azimuth.radians);
        for (int j = -30; j <= 30; ++j) {
            o.Trace(ra, j * pi / 72);
            LineToSky(o.altitude.radians, o.azimuth.radians);
        }
    }
    canvas_->SetPenStyle(PenStyle::Solid);
}
