#pragma once

#include "catalogues/SkyObject.h"

class Moon;
class Sun;

// The Earth's shadow at the Moon's distance, for following lunar eclipses:
// centred on the antisolar point, with the angular diameters (radians) of
// the umbra and the penumbra where the Moon is.
class EarthShadow : public SkyObject {
public:
    static constexpr double SunDiameterKm = 1392530.0;
    static constexpr double EarthDiameterKm = 12756.3;

    EarthShadow(Sun* sun, Moon* moon);

    // After the Sun and the Moon have been placed for the moment.
    void ComputeShadow();

    double umbraDiameter = 0;
    double penumbraDiameter = 0;
    Sun* sun;
    Moon* moon;
};
