// An incoming slew file of any content, as another program may leave it
// half-written; the position it gives, written back the outgoing way.

#include <cmath>
#include <cstdlib>
#include <string>

#include "catalogues/SkyObject.h"
#include "controller/SlewFiles.h"
#include "fuzz/FuzzSupport.h"

namespace {

// The number after "<letter> " on one line of an outgoing record.
double RecordNumber(const std::string& record, char letter) {
    const std::size_t at = record.find(std::string(1, letter) + " ");
    FUZZ_CHECK(at != std::string::npos);
    return std::strtod(record.c_str() + at + 2, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FixedObserver();
    const std::string_view text = fuzz::Text(data, size);

    const std::optional<SlewPosition> position = ReadSlewPosition(text);
    // Only the first 127 characters count.
    if (size > 127) {
        const std::optional<SlewPosition> start = ReadSlewPosition(text.substr(0, 127));
        FUZZ_CHECK(start.has_value() == position.has_value());
        if (start) FUZZ_CHECK(start->ra == position->ra && start->dec == position->dec);
    }
    if (!position) return 0;

    // A position is a place on the sky: finite, the declination within the poles.
    FUZZ_CHECK(std::isfinite(position->ra) && std::isfinite(position->dec));
    FUZZ_CHECK(std::fabs(position->dec) <= 1.5707963267948968);

    // Turned to as the view does it.
    SkyObject target;
    target.ra.SetRadians(position->ra);
    target.dec.SetRadians(position->dec);
    target.magnitude = -999.0f;
    FUZZ_CHECK(target.UpdateHorizontal(999.0f, false));
    FUZZ_CHECK(std::isfinite(target.altitude.radians) && std::isfinite(target.azimuth.radians));
    (void)target.ra.Format();
    (void)target.dec.Format(false);

    // Written back for the telescope: right ascension in [0, 360) (360.00000
    // where the five decimals round up to it), the same declination.
    const std::string record = SlewRecord(*position);
    const double ra = RecordNumber(record, 'R');
    const double dec = RecordNumber(record, 'D');
    FUZZ_CHECK(ra >= 0.0 && ra <= 360.0);
    FUZZ_CHECK(std::fabs(dec - position->dec * 180.0 / M_PI) <= 0.5e-5 + 1e-9);
    return 0;
}
