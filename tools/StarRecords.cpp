#include "tools/StarRecords.h"

#include <array>
#include <cmath>
#include <utility>

#include "tools/DataText.h"

namespace velkaris::tools {

namespace {

std::string CleanLine(std::string_view text, std::size_t maxBytes) {
    std::string out;
    for (char c : text) out.push_back(c == '\n' || c == '\r' || c == '\t' ? ' ' : c);
    return CutUtf8(Trim(out), maxBytes);
}

}  // namespace

double RightAscensionMotionAsAngle(double pmRaCosDec, double decDegrees) {
    double c = std::cos(decDegrees / DegreesPerRadian);
    // Within a few milliarcseconds of a pole the angle is meaningless; the
    // stars of these catalogues never come that close.
    if (std::fabs(c) < 1e-6) return 0.0;
    return pmRaCosDec / c;
}

std::string FormatStarRecord(const StarRecord& star) {
    // The numeric part ends with a line end, and every text field then stands
    // on a line of its own, so that an absent field is simply an empty line.
    std::string ra = star.raText.empty() ? FormatRightAscension(star.raDegrees, 3) : star.raText;
    std::string dec = star.decText.empty() ? FormatDeclination(star.decDegrees, 2) : star.decText;
    std::string out = Format("%c %u %u %s %s %.5f %.5f %.2f %u\n", star.kind, star.hd, star.hip, ra.c_str(),
                             dec.c_str(), star.pmRa, star.pmDec, star.magnitude, unsigned{star.flamsteed});
    std::string con = CleanLine(star.constellation, 3);
    out += con + "\n";
    std::string bayer = CleanLine(star.bayer, 4);
    if (!bayer.empty() && bayer.size() < 3) bayer.resize(3, ' ');  // "Mu" keeps its pad: no superscript
    out += bayer + "\n";
    std::string spectral = CleanLine(star.spectral, MaxSpectralLength);
    // One pad character before the line end: the reader drops both.
    out += spectral.empty() ? std::string("\n") : spectral + " \n";
    out += CleanLine(star.name, MaxStarNameLength) + "\n";
    return out;
}

std::string FormatStarCatalogue(const std::string& catalogueName, const std::vector<StarRecord>& stars) {
    std::string out = Format("%zu\n", stars.size());
    out += CleanLine(catalogueName, 63) + "\n";
    for (const StarRecord& s : stars) out += FormatStarRecord(s);
    return out;
}

std::string BayerFromGreek(const std::string& greekUtf8) {
    static const std::array<std::pair<const char*, const char*>, 24> letters{{
        {"α", "Alp"}, {"β", "Bet"}, {"γ", "Gam"}, {"δ", "Del"}, {"ε", "Eps"}, {"ζ", "Zet"}, {"η", "Eta"}, {"θ", "The"},
        {"ι", "Iot"}, {"κ", "Kap"}, {"λ", "Lam"}, {"μ", "Mu "}, {"ν", "Nu "}, {"ξ", "Xi "}, {"ο", "Omi"}, {"π", "Pi "},
        {"ρ", "Rho"}, {"σ", "Sig"}, {"τ", "Tau"}, {"υ", "Ups"}, {"φ", "Phi"}, {"χ", "Chi"}, {"ψ", "Psi"}, {"ω", "Ome"},
    }};
    for (const auto& [greek, abbreviation] : letters) {
        std::string_view g(greek);
        if (greekUtf8.compare(0, g.size(), g) != 0) continue;
        std::string rest = greekUtf8.substr(g.size());
        if (rest.empty()) return abbreviation;
        if (rest.size() == 1 && rest[0] >= '1' && rest[0] <= '9') return std::string(abbreviation) + rest;
        return {};
    }
    return {};
}

}  // namespace velkaris::tools
