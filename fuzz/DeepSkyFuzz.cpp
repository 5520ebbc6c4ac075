// A deep-sky catalogue file of any content, and the translation of the
// abbreviated notes of every object it holds.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "catalogues/DeepSkyObject.h"
#include "catalogues/LoadProgress.h"
#include "fuzz/FuzzSupport.h"
#include "reports/NotesTranslation.h"
#include "reports/ObjectReports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FixedObserver();
    const std::string_view text = fuzz::Text(data, size);

    DeepSkyCatalogue catalogue;
    QuietProgress progress;
    catalogue.LoadText(text, &progress);
    // A record is a line with something on it, then its notes line.
    FUZZ_CHECK(catalogue.size() * 2 <= size);

    for (DeepSkyObject& object : catalogue.objects()) {
        FUZZ_CHECK(std::memchr(object.designation, '\0', sizeof object.designation) != nullptr);
        FUZZ_CHECK(std::strlen(object.designation) <= DeepSkyObject::DesignationLength);
        FUZZ_CHECK(std::strlen(object.notes) <= DeepSkyObject::NotesLength);
        const std::string name = object.GetName();
        FUZZ_CHECK(name.size() <= 62);
        // A size the file gives as a number is a radius the painter can use.
        if (std::isfinite(object.size)) FUZZ_CHECK(std::isfinite(object.radius));
        (void)object.ra.Format();
        (void)object.dec.Format(false);
        (void)TranslateNotes(object.notes);
        object.UpdateHorizontal(std::numeric_limits<float>::infinity(), false);
        // A place the file gives in numbers is a place on the sky.
        if (std::isfinite(object.ra.radians) && std::isfinite(object.dec.radians)) {
            FUZZ_CHECK(std::isfinite(object.azimuth.radians));
            FUZZ_CHECK(std::fabs(object.altitude.radians) <= 1.5707963267948968);
        }
    }
    // The report of the first few, as a click on them shows it.
    for (DeepSkyObject& object : catalogue.objects().first(std::min<std::size_t>(catalogue.size(), 3)))
        FUZZ_CHECK(!PlainText(RenderDeepSky(object)).empty());
    return 0;
}
