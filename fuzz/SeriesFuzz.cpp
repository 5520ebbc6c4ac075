// A planetary series file of any content, evaluated as a planet's place is.

#include <cmath>

#include "fuzz/FuzzSupport.h"
#include "solar/PlanetSeries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::Text(data, size);

    PlanetSeries series;
    const SeriesFileStatus status = series.LoadText(text);
    FUZZ_CHECK(status != SeriesFileStatus::Missing);
    // Only whole series are kept, and never more terms than the text holds:
    // a term is three numbers with blanks between them.
    std::size_t total = 0;
    for (int i = 0; i < PlanetSeries::Count; ++i) total += series.TermCount(i);
    FUZZ_CHECK(total == series.TermCount());
    FUZZ_CHECK(total * 5 <= size);
    if (status == SeriesFileStatus::Read) FUZZ_CHECK(!series.Empty());

    // Read again into the same series, or into fresh ones: the same series,
    // nothing of the first reading left over.
    FUZZ_CHECK(series.LoadText(text) == status);
    FUZZ_CHECK(series.TermCount() == total);
    PlanetSeries fresh;
    FUZZ_CHECK(fresh.LoadText(text) == status);
    for (int i = 0; i < PlanetSeries::Count; ++i) FUZZ_CHECK(fresh.TermCount(i) == series.TermCount(i));

    // Evaluated as a planet's place is, at J2000.0 and a thousand years on.
    for (double jde : {2451545.0, 2816787.5}) (void)series.Evaluate(PlanetSeries::PowersAt(jde));
    return 0;
}
