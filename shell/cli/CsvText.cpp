#include "shell/cli/CsvText.h"

#include <cmath>
#include <cstdio>

#include "astro/Constants.h"

double Degrees(double radians) {
    const double d = std::fmod(SignedDegrees(radians), 360.0);
    return d < 0 ? d + 360.0 : d;
}

double SignedDegrees(double radians) { return radians * 180.0 / static_cast<double>(Pi); }

std::string ClockText(const HmsAngle& t) {
    double fraction = std::fmod(t.radians / (2.0 * static_cast<double>(Pi)), 1.0);
    if (fraction < 0) fraction += 1.0;
    const long seconds = std::lround(fraction * 86400.0) % 86400;
    char text[16];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}
