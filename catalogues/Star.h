#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "catalogues/SkyObject.h"

// A catalogue star. The Bayer field holds the Greek letter as the Latin
// character the symbol-font convention uses ('a' alpha, 'b' beta, 'g' gamma,
// 'q' theta, 'j' phi, 'y' psi, 'w' omega, ...), optionally followed by one
// superscript character (the '1' of alpha-1).
class Star : public SkyObject {
public:
    Star() = default;
    ~Star() override = default;

    void CorrectToDate(double& ra, double& dec) const override;
    std::string GetName() const override;

    const std::string* Spectral() const { return spectral_ ? &*spectral_ : nullptr; }
    void SetSpectral(const std::string& text);

    float pmRa = 0.0f;   // radians per year, applied to ra as an angle (no cos dec)
    float pmDec = 0.0f;  // radians per year
    uint32_t hip = 0;
    uint32_t hd = 0;
    char kind = 0;               // 'B' bright star, 'H' Hipparcos, 'T' Tycho, other
    char constellation[4] = {};  // three-letter abbreviation, empty when none
    char bayer[3] = {};          // letter + optional superscript, empty when none
    uint16_t flamsteed = 0;

private:
    std::optional<std::string> spectral_;
};
