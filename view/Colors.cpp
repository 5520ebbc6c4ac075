#include "view/Colors.h"

#include <algorithm>
#include <cmath>

namespace {

struct BaseColour {
    uint16_t r, g, b;
};

constexpr std::array<BaseColour, PaletteEntryCount> kBase = {{
    {255, 208, 112},  // M stars
    {160, 160, 255},  // O
    {208, 208, 255},  // B
    {255, 255, 255},  // A
    {255, 255, 208},  // F
    {255, 255, 112},  // G
    {255, 112, 112},  // K
    {160, 160, 176},  // other or unknown class
    {255, 255, 255},  // star labels
    {0, 0, 255},      // planets
    {96, 96, 255},    // planet labels
    {255, 128, 0},    // Sun
    {192, 192, 255},  // Sun label
    {240, 240, 0},    // Moon, Earth's shadow
    {192, 192, 255},  // Moon label
    {208, 0, 0},      // deep-sky objects
    {192, 192, 255},  // deep-sky labels
    {192, 192, 192},  // constellation lines
    {208, 208, 208},  // side panel
    {160, 16, 16},    // minor planets
    {128, 48, 48},    // minor-planet labels
}};

uint8_t ScaleChannel(double k, uint16_t base) {
    const double v = k * base;
    return static_cast<uint8_t>(std::min<long long>(static_cast<long long>(v), 255));
}

}  // namespace

Palette::Palette() {
    for (int e = 0; e < PaletteEntryCount; ++e) SetBase(e, kBase[e].r, kBase[e].g, kBase[e].b);
    Rebuild();
}

void Palette::SetBase(int entry, uint16_t red, uint16_t green, uint16_t blue) {
    if (entry < 0 || entry >= PaletteEntryCount) return;
    base_[entry] = {blue, green, red};
}

void Palette::Rebuild() {
    // On paper the largest channel of each shade is brought to one of these,
    // the others in proportion, so that the hue stays.
    constexpr double InkValue[3] = {170.0, 120.0, 60.0};
    for (int e = 0; e < PaletteEntryCount; ++e) {
        if (inkSaving_) {
            const uint16_t largest = std::max({base_[e][0], base_[e][1], base_[e][2], uint16_t(1)});
            for (int s = 0; s < 3; ++s) {
                const double k = InkValue[s] / largest;
                const auto channel = [k](uint16_t base) { return static_cast<uint8_t>(std::lround(k * base)); };
                shaded_[e][s] = Colour(channel(base_[e][2]), channel(base_[e][1]), channel(base_[e][0]));
            }
            continue;
        }
        for (int s = 0; s < 3; ++s) {
            // The brightness is a float, the factor is worked out in double.
            const double k = 0.2 * s + static_cast<double>(brightness_);
            const uint8_t red = ScaleChannel(k, base_[e][2]);
            if (redMode_ && base_[e][2] != 0) {
                shaded_[e][s] = Colour(red, 0, 0);
            } else if (redMode_) {
                // A colour without red (the planets) would turn black and
                // vanish from the sky: its brightest channel stands in.
                shaded_[e][s] = Colour(ScaleChannel(k, std::max(base_[e][0], base_[e][1])), 0, 0);
            } else {
                shaded_[e][s] = Colour(red, ScaleChannel(k, base_[e][1]), ScaleChannel(k, base_[e][0]));
            }
        }
    }
}

// The step of 0.1 is added in double and only the sum is stored as a float:
// five steps down from 0.5 leave about 1.6e-8 (float steps would leave 1.5e-8).
void Palette::Brighter() {
    brightness_ = static_cast<float>(brightness_ + 0.1);
    Rebuild();
}

void Palette::Dimmer() {
    if (brightness_ >= 0.1) {
        brightness_ = static_cast<float>(brightness_ - 0.1);
        Rebuild();
    }
}

bool Palette::ToggleRedMode() {
    redMode_ = !redMode_;
    Rebuild();
    return redMode_;
}

void Palette::SetInkSaving(bool on) {
    inkSaving_ = on;
    Rebuild();
}
