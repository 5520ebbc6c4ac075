// The two slew file formats on their own: no controller, no view, so that they
// can be read and written (and tried on damaged input) without a sky.
#include <charconv>
#include <cmath>
#include <vector>

#include "astro/Constants.h"
#include "catalogues/TextCursor.h"
#include "controller/SlewFiles.h"
#include "platform/AtomicFile.h"
#include "settings/Preferences.h"

namespace {

// The other program writes one short line; anything longer is cut here.
constexpr std::size_t MaxLineLength = 127;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A token that is a decimal number and nothing else (a leading '+' allowed).
std::optional<double> WholeNumber(std::string_view token) {
    if (!token.empty() && token.front() == '+') token.remove_prefix(1);
    if (token.empty() || token.front() == '+') return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

double DegreesToRadians(double degrees) { return static_cast<double>(degrees * Pi * 0.005555555555555556L); }

double RadiansToDegrees(double radians) { return static_cast<double>(radians * 180.0L / Pi); }

}  // namespace

std::optional<SlewPosition> ReadSlewPosition(std::string_view text) {
    TextCursor cursor(text);
    std::string_view line = cursor.ReadLine(MaxLineLength);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);

    std::vector<std::string_view> tokens;
    while (tokens.size() < 3) {
        while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
        if (line.empty()) break;
        std::size_t length = 0;
        while (length < line.size() && !IsBlank(line[length])) ++length;
        tokens.push_back(line.substr(0, length));
        line.remove_prefix(length);
    }
    if (tokens.size() < 3 || tokens[0].front() != 'R') return std::nullopt;
    const std::optional<double> ra = WholeNumber(tokens[1]);
    const std::optional<double> dec = WholeNumber(tokens[2]);
    if (!ra || !dec || *dec < -90.0 || *dec > 90.0) return std::nullopt;
    return SlewPosition{DegreesToRadians(*ra), DegreesToRadians(*dec)};
}

std::optional<SlewPosition> ReadSlewFile(const std::string& path) {
    std::string text;
    bool missing = false, truncated = false;
    if (!ReadFileBounded(path, MaxLineLength + 1, text, missing, truncated)) return std::nullopt;
    return ReadSlewPosition(text);
}

std::string SlewRecord(const SlewPosition& position) {
    // Brought into one turn: a damaged catalogue place can lie many turns
    // out, and the telescope takes only [0, 360).
    double ra = std::fmod(RadiansToDegrees(position.ra), 360.0);
    if (ra < 0.0) ra += 360.0;
    const double dec = RadiansToDegrees(position.dec);
    return "R " + FixedText(ra, 9, 5) + "\r\nD " + FixedText(dec, 9, 5) + "\r\n";
}

bool WriteSlewFile(const std::string& path, const SlewPosition& position) {
    // Rewritten at every redraw: a power cut may cost the latest position,
    // never the whole record.
    return WriteFileAtomically(path, SlewRecord(position), RenameDurability::Later);
}
