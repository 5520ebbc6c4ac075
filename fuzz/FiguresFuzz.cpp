// A constellation figure file of any content, bound to a handful of stars.

#include <vector>

#include "catalogues/ConstellationFigure.h"
#include "catalogues/LoadProgress.h"
#include "catalogues/Star.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    fuzz::FixedObserver();
    const std::string_view text = fuzz::Text(data, size);

    ConstellationFigures figures;
    QuietProgress progress;
    figures.LoadText(text, "data/constellations.dat", &progress);
    // A figure takes at least its name line and its two counts.
    FUZZ_CHECK(figures.size() * 2 <= size);

    // Stars whose HD numbers are the small ones the seeds use, and one of
    // every number the first figure asks for.
    std::vector<Star> stars(12);
    for (std::size_t i = 0; i < stars.size(); ++i) stars[i].hd = static_cast<uint32_t>(i + 1);
    figures.ResolveAgainst(stars);
    std::vector<Star> more;
    if (figures.size() > 0 && figures.figures()[0].usable() && figures.figures()[0].starCount() > 0) {
        const auto wanted = figures.figures()[0].hdNumbers();
        more = std::vector<Star>(wanted.size());
        for (std::size_t i = 0; i < wanted.size(); ++i) more[i].hd = wanted[i];
        figures.ResolveAgainst(more);
        FUZZ_CHECK(figures.figures()[0].complete());
    }

    for (const ConstellationFigure& figure : figures.figures()) {
        FUZZ_CHECK(figure.name().size() <= 39);
        if (!figure.usable()) {
            FUZZ_CHECK(!figure.complete() && figure.lines().empty() && figure.stars().empty());
            continue;
        }
        FUZZ_CHECK(figure.stars().size() == figure.hdNumbers().size());
        // Every index the painter follows names a slot of the figure.
        for (const ConstellationFigure::Line& line : figure.lines()) {
            for (uint16_t index : line) FUZZ_CHECK(index >= 1 && index <= figure.starCount());
        }
        std::size_t empty = 0;
        for (std::size_t i = 0; i < figure.stars().size(); ++i) {
            const Star* star = figure.stars()[i];
            if (!star) {
                ++empty;
                continue;
            }
            FUZZ_CHECK(star->hd == figure.hdNumbers()[i]);
        }
        FUZZ_CHECK(empty == figure.unresolved());
        FUZZ_CHECK(figure.complete() == (empty == 0) || figure.starCount() == 0);
    }
    figures.ResetAll();
    for (const ConstellationFigure& figure : figures.figures()) {
        FUZZ_CHECK(!figure.complete() || figure.starCount() == 0);
        FUZZ_CHECK(figure.unresolved() == figure.starCount() || !figure.usable());
    }
    return 0;
}
