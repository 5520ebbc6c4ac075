// The solar system layer: minor planets, planets, the Sun, the Moon and the
// Earth's shadow.
#include "catalogues/SkyObject.h"
#include "view/QtCanvas.h"
#include "view/SkyView.h"

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
