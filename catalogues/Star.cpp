#include "catalogues/Star.h"

#include <cstdio>

#include "astro/Observer.h"
#include "catalogues/DateCorrection.h"
#include "catalogues/StarRecord.h"

void Star::CorrectToDate(double& ra, double& dec) const {
    DateCorrection::ForDate(TheObserver->dynamicalJulianDate).Apply(kind, pmRa, pmDec, ra, dec);
}

void Star::SetSpectral(const std::string& text) {
    spectral_ = text;
    colourClass = ColourClassOf(text);
}

std::string Star::GetName() const {
    if (const std::string* name = Name()) return *name;
    char text[64];
    if (bayer[0] != '\0') {
        std::snprintf(text, sizeof text, "%.2s %.3s", bayer, constellation);
        return text;
    }
    if (flamsteed != 0) {
        std::snprintf(text, sizeof text, "%hu %.3s", flamsteed, constellation);
        return text;
    }
    if (hd != 0) {
        std::snprintf(text, sizeof text, "HD: %u", hd);
        return text;
    }
    if (hip != 0) {
        std::snprintf(text, sizeof text, "HIP: %u", hip);
        return text;
    }
    switch (kind) {
        case 'B': return "Bright Star";
        case 'H': return "Hipparcos Star";
        case 'T': return "Tycho Star";
        default: return "X-File";
    }
}
