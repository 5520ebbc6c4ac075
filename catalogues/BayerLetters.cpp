#include "catalogues/BayerLetters.h"

#include <cstring>

#include "catalogues/Star.h"

namespace {

// Symbol-font layout: index = letter - 'a', value = Unicode code point.
constexpr char32_t kLower[26] = {
    U'α', U'β', U'χ', U'δ', U'ε', U'φ', U'γ', U'η', U'ι', U'φ', U'κ', U'λ', U'μ',
    U'ν', U'ο', U'π', U'θ', U'ρ', U'σ', U'τ', U'υ', U'ϖ', U'ω', U'ξ', U'ψ', U'ζ',
};
constexpr char32_t kUpper[26] = {
    U'Α', U'Β', U'Χ', U'Δ', U'Ε', U'Φ', U'Γ', U'Η', U'Ι', U'ϑ', U'Κ', U'Λ', U'Μ',
    U'Ν', U'Ο', U'Π', U'Θ', U'Ρ', U'Σ', U'Τ', U'Υ', U'ς', U'Ω', U'Ξ', U'Ψ', U'Ζ',
};

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string BayerGreek(char c) {
    std::string out;
    if (c >= 'a' && c <= 'z') {
        AppendUtf8(out, kLower[c - 'a']);
    } else if (c >= 'A' && c <= 'Z') {
        AppendUtf8(out, kUpper[c - 'A']);
    } else {
        out += c;
    }
    return out;
}

const char* BayerAbbreviation(char c) {
    // Index = letter - 'a' in the symbol-font layout; 'f' and 'v' stand for
    // variant forms no designation uses.
    static constexpr const char* kNames[26] = {
        "alp", "bet", "chi", "del", "eps", "",    "gam", "eta", "iot", "phi", "kap", "lam", "mu",
        "nu",  "omi", "pi",  "the", "rho", "sig", "tau", "ups", "",    "ome", "xi",  "psi", "zet",
    };
    return c >= 'a' && c <= 'z' ? kNames[c - 'a'] : "";
}

std::string BayerGreek(const std::string& text) {
    std::string out;
    for (char c : text) out += BayerGreek(c);
    return out;
}

std::string ShownName(const SkyObject& object) {
    const auto* star = dynamic_cast<const Star*>(&object);
    if (!star || star->Name() || star->bayer[0] == '\0') return object.GetName();
    std::string out = BayerGreek(star->bayer[0]);
    const char index = star->bayer[1];
    if (index >= '0' && index <= '9') {
        constexpr char32_t kSuperscript[10] = {U'⁰', U'¹', U'²', U'³', U'⁴', U'⁵', U'⁶', U'⁷', U'⁸', U'⁹'};
        AppendUtf8(out, kSuperscript[index - '0']);
    } else if (index != '\0') {
        out += index;
    }
    if (star->constellation[0] != '\0') out += ' ' + std::string(star->constellation, strnlen(star->constellation, 3));
    return out;
}
