#include "view/SkyView.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "astro/Constants.h"
#include "catalogues/SkyObject.h"
#include "view/PainterSupport.h"
#include "view/QtCanvas.h"
#include "view/SkyOverlay.h"

namespace {

// The status bar's clock panels are sized to hold these texts.
constexpr const char* kStatusSamples[kClockPanelCount] = {
    "00:00:00 00/00/0000",
    "Local: 00:00:00",
    "Julian: 0000000.000000",
    "Sidereal: 00:00:00",
};

}  // namespace

SkyView::SkyView(const SkyViewSettings& settings, SkyPanel* panel)
    : panel_(panel),
      frame_(std::make_unique<QtCanvas>(1, 1)),
      canvas_(frame_.get()),
      overlay_(std::make_unique<SkyOverlay>(this)) {
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
    for (int i = 0; i < kClockPanelCount; ++i) panel_->SetStatusWidth(i, canvas_->TextWidth(kStatusSamples[i]) + 10);
}

// --- geometry -------------------------------------------------------------------

void SkyView::SetProjection(uint16_t p) {
    if (p >= ProjectionCount) p = EqualArea;
    projection_ = static_cast<Projection>(p);
    const ProjectionFacts& facts = FactsOf(p);
    if (facts.family == ProjectionFamily::Cylindrical) standardParallel.SetDegrees(facts.standardParallelDegrees);
}

const ProjectionFrame& SkyView::Frame() const {
    if (!frameConstants_ ||
        !frameConstants_->Matches(projection_, direction.radians, elevation.radians, standardParallel.radians)) {
        frameConstants_.emplace(projection_, direction.radians, elevation.radians, standardParallel.radians);
    }
    return *frameConstants_;
}

void SkyView::Project(double altitude, double azimuth, double& x, double& y) const {
    Frame().Project(altitude, azimuth, x, y);
}

void SkyView::ProjectObject(SkyObject& o) const {
    Project(o.altitude.radians, o.azimuth.radians, o.screenX, o.screenY);
}

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
    frame_->Resize(width, height);
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
    if (canvas_ == frame_.get()) frame_->Renew();
    canvas_->SetBrushColour(palette_.Background());
    canvas_->SetBrushStyle(BrushStyle::Solid);
    canvas_->SetPenColour(palette_.Background());
    canvas_->FillRect(0, 0, surfaceWidth_, surfaceHeight_);
}

void SkyView::Present() {
    const QImage& frame = frame_->Image();
    if (panel_) panel_->Present(frame);
}

const QImage& SkyView::Image() { return frame_->Image(); }

void SkyView::PaintOn(QtCanvas& canvas, bool inkSaving, const std::function<void()>& paint) {
    const Palette shown = palette_;
    if (inkSaving) palette_.SetInkSaving(true);
    canvas_ = &canvas;
    paint();
    canvas_ = frame_.get();
    palette_ = shown;
}
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

void SkyView::DiscBox(double cx, double cy, double ex, double ey, double& x1, double& y1, double& x2, double& y2) {
    const double d = (std::fabs(ex - cx) + std::fabs(ey - cy)) / 2;
    x1 = cx - d;
    y1 = cy + d;
    x2 = cx + d;
    y2 = cy - d;
}

bool SkyView::Dimmed(const SkyObject& o) const { return options_[DisplayOptions::ShowHorizon] && o.belowHorizon; }
