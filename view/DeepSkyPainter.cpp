// The deep-sky layer: an outline of each object's apparent size, and its name.
#include "catalogues/SkyObject.h"
#include "view/QtCanvas.h"
#include "view/SkyView.h"

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
