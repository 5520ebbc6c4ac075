#include "catalogues/StarRecord.h"

#include <algorithm>
#include <cmath>

#include "astro/Constants.h"
#include "catalogues/Star.h"
#include "catalogues/TextCursor.h"

namespace {

constexpr std::size_t kConstellationRead = 4;
constexpr std::size_t kBayerRead = 5;
constexpr std::size_t kSpectralRead = 21;
constexpr std::size_t kNameRead = 63;

bool EndsLine(std::string_view s) { return !s.empty() && s.back() == '\n'; }

}  // namespace

bool ReadStarRecord(TextCursor& text, StarRecord& r) {
    r = StarRecord{};
    // The numeric part stops at the first field that does not convert.
    const bool numbers = [&] {
        if (!text.ReadChar(r.kind)) return false;
        if (!text.ReadUnsigned(r.hd)) return false;
        if (!text.ReadUnsigned(r.hip)) return false;
        if (!text.ReadUnsignedShort(r.raHours)) return false;
        if (!text.ReadUnsignedShort(r.raMinutes)) return false;
        if (!text.ReadFloat(r.raSeconds)) return false;
        text.SkipBlanks();
        if (!text.ReadChar(r.decSign)) return false;
        if (!text.ReadUnsignedShort(r.decDegrees)) return false;
        if (!text.ReadUnsignedShort(r.decMinutes)) return false;
        if (!text.ReadFloat(r.decSeconds)) return false;
        if (!text.ReadFloat(r.pmRa)) return false;
        if (!text.ReadFloat(r.pmDec)) return false;
        if (!text.ReadFloat(r.magnitude)) return false;
        text.ReadUnsignedShort(r.flamsteed);
        return true;
    }();
    // The separator after the Flamsteed number: a blank or the line end.
    char separator;
    text.ReadChar(separator);

    // Constellation: the abbreviation and the character after it.
    std::string_view constellation = text.ReadLine(kConstellationRead);
    if (!constellation.empty()) constellation.remove_suffix(1);
    r.constellation = constellation;

    // Bayer letter: nothing when the read starts with the line end.
    std::string_view bayer = text.ReadLine(kBayerRead);
    if (!bayer.empty() && bayer.front() != '\n') r.bayer = bayer;

    // Spectral type, padded: the separator and one pad character go.
    std::string_view spectral = text.ReadLine(kSpectralRead);
    if (!spectral.empty()) spectral.remove_suffix(1);
    if (spectral.size() > 1) {
        spectral.remove_suffix(1);
        r.spectral = spectral;
    }

    // Proper name: the rest of its line. A name too long for the read loses
    // its tail rather than having it taken for the next record.
    std::string_view name = text.ReadLine(kNameRead);
    if (EndsLine(name)) {
        name.remove_suffix(1);
    } else if (name.size() == kNameRead) {
        text.SkipLine();
    }
    r.name = name;
    return numbers;
}

bool HasOnlyNumbers(const StarRecord& r) {
    for (const float v : {r.raSeconds, r.decSeconds, r.pmRa, r.pmDec, r.magnitude})
        if (!std::isfinite(v)) return false;
    return true;
}

char BayerLetter(std::string_view a) {
    const auto at = [&](std::size_t i) { return i < a.size() ? a[i] : '\0'; };
    switch (at(0)) {
        case 'E': return at(1) == 'p' ? 'e' : 'h';                       // Eps, Eta
        case 'O': return at(2) == 'i' ? 'o' : 'w';                       // Omi, Ome
        case 'P': return at(1) == 'h' ? 'j' : at(1) == 'i' ? 'p' : 'y';  // Phi, Pi, Psi
        case 'T': return at(1) == 'h' ? 'q' : 't';                       // The, Tau
        default: return static_cast<char>(at(0) + 32);
    }
}

int16_t ColourClassOf(std::string_view spectral) {
    if (spectral.empty()) return 7;
    switch (spectral.front()) {
        case 'M': return 0;
        case 'O': return 1;
        case 'B': return 2;
        case 'A': return 3;
        case 'F': return 4;
        case 'G': return 5;
        case 'K': return 6;
        default: return 7;
    }
}

void SetStarFromRecord(Star& s, const StarRecord& r) {
    s.kind = r.kind;
    s.hd = r.hd;
    s.hip = r.hip;
    s.ra.SetHms(r.raHours, r.raMinutes, r.raSeconds);
    s.dec.SetDms(r.decDegrees, r.decMinutes, r.decSeconds, r.decSign == '-');
    s.pmRa = static_cast<float>(r.pmRa * ArcsecondInRadians);
    s.pmDec = static_cast<float>(r.pmDec * ArcsecondInRadians);
    s.magnitude = r.magnitude;
    s.flamsteed = r.flamsteed;

    std::fill(std::begin(s.constellation), std::end(s.constellation), '\0');
    std::copy_n(r.constellation.begin(), std::min<std::size_t>(r.constellation.size(), 3), s.constellation);

    std::fill(std::begin(s.bayer), std::end(s.bayer), '\0');
    if (!r.bayer.empty()) {
        s.bayer[0] = BayerLetter(r.bayer);
        if (r.bayer.size() > 3 && r.bayer[3] != '\n') s.bayer[1] = r.bayer[3];
    }

    if (r.spectral.empty()) {
        s.colourClass = ColourClassOf({});
    } else {
        s.SetSpectral(std::string(r.spectral));
    }
    if (!r.name.empty()) s.SetName(std::string(r.name));
}
