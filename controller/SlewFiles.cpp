#include "controller/SlewFiles.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "astro/Constants.h"
#include "catalogues/SkyObject.h"
#include "catalogues/TextCursor.h"
#include "controller/Planetarium.h"
#include "platform/AtomicFile.h"
#include "settings/Preferences.h"
#include "view/SkyView.h"

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

double DegreesToRadians(double degrees) {
    return static_cast<double>(degrees * Pi * 0.005555555555555556L);
}

double RadiansToDegrees(double radians) {
    return static_cast<double>(radians * 180.0L / Pi);
}

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
    double ra = RadiansToDegrees(position.ra);
    if (ra < 0.0) ra += 360.0;
    const double dec = RadiansToDegrees(position.dec);
    return "R " + FixedText(ra, 9, 5) + "\r\nD " + FixedText(dec, 9, 5) + "\r\n";
}

bool WriteSlewFile(const std::string& path, const SlewPosition& position) {
    // Rewritten at every redraw: a power cut may cost the latest position,
    // never the whole record.
    return WriteFileAtomically(path, SlewRecord(position), RenameDurability::Later);
}

// --- the controller's side ------------------------------------------------------

void Planetarium::FollowSlewFile() {
    // A file that is missing or holds no position leaves the view as it is.
    const std::optional<SlewPosition> position = ReadSlewFile(IncomingSlewPath);
    if (!position) return;
    SkyObject target;
    target.ra.SetRadians(position->ra);
    target.dec.SetRadians(position->dec);
    target.magnitude = -999.0f;
    target.UpdateHorizontal(999.0f, false);
    SetElevation(static_cast<float>(target.altitude.radians), false);
    SetDirectionRadians(static_cast<float>(target.azimuth.radians), false);
    view_->CentreOn(&target);
}

void Planetarium::WriteLockedPosition() {
    // A file that cannot be written is tried again at the next redraw.
    WriteSlewFile(OutgoingSlewPath, SlewPosition{locked_->ra.radians, locked_->dec.radians});
}
