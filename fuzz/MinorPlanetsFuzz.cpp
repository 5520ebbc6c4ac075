// A minor-planet elements file of any content, every planet it keeps placed
// on the sky.

#include <algorithm>
#include <cmath>

#include "catalogues/LoadProgress.h"
#include "catalogues/MinorPlanet.h"
#include "fuzz/FuzzSupport.h"
#include "reports/ObjectReports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const Observer& observer = fuzz::FixedObserver();
    const std::string_view text = fuzz::Text(data, size);

    MinorPlanetList list;
    QuietProgress progress;
    list.LoadText(text, "data/asteroids.dat", &progress);
    // An entry is a line with something on it.
    FUZZ_CHECK(list.size() * 2 <= size);

    // The Sun as the Earth saw it near the observer's moment.
    const SunPosition sun{-0.9959, -0.0121, 0.0, 0.9960};
    list.PlaceFirst(list.size(), sun);
    const MinorPlanetMoment moment = MinorPlanetMoment::Of(observer, sun);
    for (MinorPlanet& planet : list.planets()) {
        // Only orbits the elliptic equation can place are kept.
        FUZZ_CHECK(planet.eccentricity >= 0.0 && planet.eccentricity < 1.0);
        FUZZ_CHECK(std::isfinite(planet.semiMajorAxis) && planet.semiMajorAxis > 0.0);
        FUZZ_CHECK(std::isfinite(planet.ra.radians) && std::isfinite(planet.dec.radians));
        FUZZ_CHECK(std::fabs(planet.dec.radians) <= 1.5707963267948968);
        FUZZ_CHECK(std::isfinite(planet.altitude.radians) && std::isfinite(planet.azimuth.radians));
        // The same moment twice gives the same place.
        const double ra = planet.ra.radians, dec = planet.dec.radians;
        planet.ComputePosition(moment);
        FUZZ_CHECK(planet.ra.radians == ra && planet.dec.radians == dec);
        (void)planet.GetName();
        (void)planet.ra.Format();
        (void)planet.dec.Format(false);
    }
    // The report of the first few, as a click on them shows it.
    for (MinorPlanet& planet : list.planets().first(std::min<std::size_t>(list.size(), 3)))
        FUZZ_CHECK(!PlainText(RenderMinorPlanet(planet)).empty());
    return 0;
}
