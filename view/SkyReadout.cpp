// The side panel and status bar texts the view writes.
#include <cstdio>

#include "catalogues/BayerLetters.h"
#include "catalogues/SkyObject.h"
#include "view/SkyView.h"

void SkyView::ShowClockMode(bool running, bool systemTime) {
    if (panel_) panel_->SetClockChecks(running, !systemTime, systemTime);
}

void SkyView::SetStatusText(int panel, const std::string& text) {
    if (panel_ && panel >= 0 && panel < kClockPanelCount) panel_->SetStatusText(panel, text);
}

void SkyView::ShowReadout(SkyObject* object) {
    if (!panel_) return;
    if (!object) {
        panel_->SetLabelText(LabCurrentStar, "none");
        for (PanelLabel l : {LabCurRA, LabCurDec, LabCurMag, LabCurAzi, LabCurAlt, LabSet, LabTrans, LabRise}) {
            panel_->SetLabelText(l, std::string());
        }
        return;
    }
    panel_->SetLabelText(LabCurrentStar, ShownName(*object));
    double ra = object->ra.radians;
    double dec = object->dec.radians;
    // The stored place stays as it is; only the shown copy is corrected.
    if (options_[DisplayOptions::HighAccuracy]) object->CorrectToDate(ra, dec);
    HmsAngle raAngle;
    raAngle.SetRadians(ra);
    DmsAngle decAngle;
    decAngle.SetRadians(dec);
    panel_->SetLabelText(LabCurRA, "RA : " + raAngle.Format());
    panel_->SetLabelText(LabCurDec, "Dec: " + decAngle.Format(false));
    if (object->magnitude > -50.0f) {
        char text[48];
        std::snprintf(text, sizeof text, "Mag: %5.2f", static_cast<double>(object->magnitude));
        panel_->SetLabelText(LabCurMag, text);
    } else {
        panel_->SetLabelText(LabCurMag, std::string());
    }
    panel_->SetLabelText(LabCurAzi, "Azi  : " + object->azimuth.Format(true));
    panel_->SetLabelText(LabCurAlt, "Alt   : " + object->altitude.Format(false));
    panel_->SetLabelText(LabSet, setText);
    panel_->SetLabelText(LabTrans, transitText);
    panel_->SetLabelText(LabRise, riseText);
}

void SkyView::ShowLockedName(SkyObject* object) {
    if (panel_) panel_->SetLabelText(labLockedObject, object ? ShownName(*object) : std::string("none"));
}

void SkyView::ShowDirection() {
    if (!panel_) return;
    char text[48];
    std::snprintf(text, sizeof text, "%3.0f", direction.degrees);
    panel_->SetLabelText(LabDirection, text);
}

void SkyView::ApplyPanelColours() {
    if (!panel_) return;
    const Colour dim = palette_.Get(PalPanel, 1);
    const Colour normal = palette_.Get(PalPanel, 2);
    panel_->SetPanelColour(dim);
    panel_->SetLabelColour(LabDirection, dim);
    for (PanelLabel l : {LabCurRA, LabCurDec, LabCurMag, LabCurAlt, LabCurAzi, LabCurrentStar, labLockedObject, LabRise,
                         LabSet, LabTrans}) {
        panel_->SetLabelColour(l, normal);
    }
}
