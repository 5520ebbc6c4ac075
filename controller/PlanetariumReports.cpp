// The report window's part of the controller: what it is filled with, when,
// and the report of any object by its designation (the window and
// velkaris-cli report share it).
#include "catalogues/DeepSkyObject.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/Star.h"
#include "controller/Planetarium.h"
#include "controller/ReportDisplay.h"
#include "reports/ObjectReports.h"
#include "settings/DisplayOptions.h"
#include "solar/Moon.h"
#include "solar/Planet.h"
#include "solar/Sun.h"
#include "view/SkyView.h"

namespace {

// Every object counts as bright enough when placed for its report.
constexpr float AnyMagnitude = 999.9f;

}  // namespace

void Planetarium::ToggleReport() {
    if (!report_) return;
    if (report_->IsOpen()) {
        report_->Close();
        return;
    }
    if (selectedKind_ == KindNone) return;
    FillReport();
    report_->Open();
}

void Planetarium::FillReport() {
    if (!report_ || selectedKind_ == KindNone) return;
    reportKind_ = selectedKind_;
    reportCatalogue_ = selectedCatalogue_;
    report_->Fill(ReportOn(selectedKind_, selectedCatalogue_, selectedIndex_));
}

void Planetarium::PlaceForReport(uint16_t kind, int64_t index, SkyObject& object) {
    const bool computed = object.isComputed;
    switch (kind) {
        case KindStar:
            if (!computed) object.UpdateHorizontal(AnyMagnitude, view_->Options()[DisplayOptions::HighAccuracy]);
            break;
        case KindDeepSky:
            if (!computed) object.UpdateHorizontal(AnyMagnitude, false);
            break;
        case KindMinorPlanet:
            // Only the first ones shown are placed by the update; the others
            // keep the place of whenever they last were.
            if (static_cast<std::size_t>(index) >= ShownMinorPlanets()) {
                const Sun* sun = SunBody();
                if (!sun) return;
                static_cast<MinorPlanet&>(object).ComputePosition(SunPosition{sun->X, sun->Y, sun->Z, sun->R});
                object.UpdateHorizontal(AnyMagnitude, false);
            }
            break;
        default:
            // The Sun, the Moon and the planets are placed at every update.
            return;
    }
    object.isComputed = computed;
}

ReportText Planetarium::ReportOn(uint16_t kind, uint16_t catalogue, int64_t index) {
    SkyObject* object = ObjectOf(kind, catalogue, index);
    if (!object) return {};
    PlaceForReport(kind, index, *object);
    switch (kind) {
        case KindStar: return RenderStar(static_cast<Star&>(*object));
        case KindDeepSky: return RenderDeepSky(static_cast<DeepSkyObject&>(*object));
        case KindSun: return RenderSun(static_cast<Sun&>(*object));
        case KindMoon: return RenderMoon(static_cast<Moon&>(*object));
        case KindPlanet: return RenderPlanet(static_cast<Planet&>(*object));
        case KindMinorPlanet: return RenderMinorPlanet(static_cast<MinorPlanet&>(*object));
        default: return {};
    }
}
