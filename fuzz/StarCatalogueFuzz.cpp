// A star catalogue file of any content: header, records, damaged records, a
// count line that promises more or fewer stars than there are.

#include <algorithm>
#include <cmath>
#include <limits>

#include "catalogues/LoadProgress.h"
#include "catalogues/StarCatalogue.h"
#include "catalogues/TextCursor.h"
#include "fuzz/FuzzSupport.h"
#include "reports/ObjectReports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FixedObserver();
    const std::string_view text = fuzz::Text(data, size);

    TextCursor headerText(text);
    StarCatalogue::Header header;
    StarCatalogue::ReadHeader(headerText, header);
    FUZZ_CHECK(header.name.size() <= 62);

    StarCatalogue catalogue("data/stfuzz.dat", StarCatalogue::Header{}, true);
    QuietProgress progress;
    FUZZ_CHECK(catalogue.LoadText(text, &progress));
    FUZZ_CHECK(catalogue.loaded());
    const std::size_t stars = catalogue.stars().size();
    // Never more stars than promised, nor than the text can hold: a record
    // has at least eleven numbers of a digit each.
    FUZZ_CHECK(stars <= header.count);
    FUZZ_CHECK(stars * 11 <= size);
    FUZZ_CHECK(catalogue.count == stars);

    for (Star& star : catalogue.stars()) {
        FUZZ_CHECK(std::isfinite(star.ra.radians) && std::isfinite(star.dec.radians));
        FUZZ_CHECK(std::isfinite(star.magnitude));
        // What the report and the readout show of every star.
        (void)star.GetName();
        (void)star.ra.Format();
        (void)star.dec.Format(false);
    }
    // Placed on the sky, corrected to the date, as the update cycle does.
    FUZZ_CHECK(catalogue.UpdateHorizontal(std::numeric_limits<float>::infinity(), true) == stars);
    for (const Star& star : catalogue.stars()) {
        FUZZ_CHECK(std::isfinite(star.azimuth.radians));
        FUZZ_CHECK(std::fabs(star.altitude.radians) <= 1.5707963267948968);
    }
    // The report of the first few, as a click on them shows it.
    for (Star& star : catalogue.stars().first(std::min<std::size_t>(stars, 3)))
        FUZZ_CHECK(!PlainText(RenderStar(star, "data/no-notes-here.dat")).empty());
    return 0;
}
