#include "tools/MinorPlanets.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>
#include <map>

namespace velkaris::tools {

namespace {

constexpr std::size_t NameField = 18;

bool NumberField(const QJsonValue& v, double& out) {
    if (v.isDouble()) {
        out = v.toDouble();
        return std::isfinite(out);
    }
    if (!v.isString()) return false;
    return ParseDouble(v.toString().toStdString(), out);
}

// "     1 Ceres (A801 AA)" gives 1 and "Ceres"; "(2022 HK5)" gives 0 and
// "2022 HK5"; "  3200 Phaethon (1983 TB)" gives 3200 and "Phaethon".
void SplitFullName(const std::string& fullName, int& number, std::string& name) {
    std::string_view t = Trim(fullName);
    number = 0;
    std::size_t digits = 0;
    while (digits < t.size() && std::isdigit(static_cast<unsigned char>(t[digits]))) ++digits;
    if (digits > 0 && digits < 10 && (digits == t.size() || t[digits] == ' ')) {
        number = std::stoi(std::string(t.substr(0, digits)));
        t = Trim(t.substr(digits));
    }
    std::string_view designation;
    std::size_t open = t.rfind('(');
    if (open != std::string_view::npos && t.back() == ')') {
        designation = Trim(t.substr(open + 1, t.size() - open - 2));
        t = Trim(t.substr(0, open));
    }
    name = std::string(t.empty() ? designation : t);
    for (char& c : name)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    name = CutUtf8(name, NameField);
}

// The mean motion and the mean anomaly at the file's epoch, from the axis
// and the mean anomaly at the elements' own epoch.
void CarryToCommonEpoch(MinorPlanetElements& p) {
    // The reader keeps the mean motion as a 32-bit float: carrying the mean
    // anomaly with that very value makes the round trip exact, where the
    // rounding would otherwise grow with the years between epochs.
    p.meanMotion = static_cast<float>(MeanMotionForAxis(p.semiMajorAxis));
    // The reader's clock shows the elements' epoch TT − UT later.
    double days = p.sourceEpochJD - TerrestrialMinusUniversalDays - MinorPlanetEpochJD;
    double m = std::fmod(p.sourceMeanAnomaly - p.meanMotion * days, 360.0);
    p.meanAnomaly = m < 0 ? m + 360.0 : m;
}

}  // namespace

bool ParseMinorEpoch(const std::string& text, double& jd) {
    double value = 0;
    if (!ParseIsoDate(text, value) || value < MinorEpochFirstJD || value > MinorEpochLastJD) return false;
    jd = value;
    return true;
}

double MeanMotionForAxis(double semiMajorAxis) {
    return 360.0 / (std::pow(semiMajorAxis, 1.5) * MinorPlanetSiderealYear);
}

std::vector<MinorPlanetElements> ParseMinorPlanets(const std::string& json, const std::string& fileName,
                                                   Diagnostics& diag) {
    std::vector<MinorPlanetElements> out;
    QJsonParseError error{};
    QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (!doc.isObject()) {
        diag.Malformed(fileName, 1, "not JSON: " + error.errorString().toStdString());
        return out;
    }
    QJsonObject root = doc.object();
    std::map<QString, qsizetype> column;
    QJsonArray fields = root.value("fields").toArray();
    for (qsizetype i = 0; i < fields.size(); ++i) column[fields[i].toString()] = i;
    const char* needed[] = {"full_name", "H", "G", "epoch_mjd", "e", "a", "i", "om", "w", "ma"};
    for (const char* f : needed) {
        if (!column.count(f)) {
            diag.Malformed(fileName, 1, std::string("no column ") + f);
            return out;
        }
    }
    QJsonArray data = root.value("data").toArray();
    std::size_t row = 0;
    for (const QJsonValue& value : data) {
        ++row;
        QJsonArray r = value.toArray();
        auto at = [&](const char* f) { return r.at(column[f]); };
        MinorPlanetElements p;
        double epochMjd = 0, a = 0, ma = 0;
        if (!NumberField(at("epoch_mjd"), epochMjd) || !NumberField(at("e"), p.eccentricity) ||
            !NumberField(at("a"), a) || !NumberField(at("i"), p.inclination) || !NumberField(at("om"), p.node) ||
            !NumberField(at("w"), p.perihelion) || !NumberField(at("ma"), ma) ||
            !NumberField(at("H"), p.absoluteMagnitude)) {
            diag.Malformed(fileName, row, "incomplete elements");
            continue;
        }
        if (!(p.eccentricity >= 0 && p.eccentricity < 1) || !(a > 0)) {
            diag.Malformed(fileName, row, "not an elliptic orbit");
            continue;
        }
        if (!NumberField(at("G"), p.slope)) p.slope = 0.15;  // the usual slope when none was measured
        SplitFullName(at("full_name").toString().toStdString(), p.number, p.name);
        if (p.name.empty()) {
            diag.Malformed(fileName, row, "no name or designation");
            continue;
        }
        p.semiMajorAxis = a;
        p.sourceEpochJD = epochMjd + 2400000.5;
        p.sourceMeanAnomaly = ma;
        CarryToCommonEpoch(p);
        out.push_back(std::move(p));
    }
    std::stable_sort(out.begin(), out.end(), [](const auto& x, const auto& y) {
        bool xn = x.number > 0, yn = y.number > 0;
        if (xn != yn) return xn;
        return xn && x.number < y.number;
    });
    return out;
}

std::size_t IntegrateToEpoch(std::vector<MinorPlanetElements>& planets, double epochJD, const PerturberTable& table,
                             unsigned threads, Diagnostics& diag) {
    constexpr double Radians = 1.0 / DegreesPerRadian;
    std::vector<char> done(planets.size(), 0);
    ParallelFor(planets.size(), threads, [&](std::size_t i) {
        MinorPlanetElements& p = planets[i];
        KeplerOrbit orbit{p.semiMajorAxis,  p.eccentricity,         p.inclination * Radians,
                          p.node * Radians, p.perihelion * Radians, p.sourceMeanAnomaly * Radians};
        OrbitState state = StateFromOrbit(orbit);
        if (!Integrate(state, p.sourceEpochJD, epochJD, &table)) return;
        OrbitState later = state;
        if (Integrate(later, epochJD, epochJD + MinorPlanetFitDays, &table))
            AimVelocity(state, later.r, MinorPlanetFitDays);  // keeps the osculating velocity if it fails
        if (!OrbitFromState(state, orbit)) return;
        p.semiMajorAxis = orbit.a;
        p.eccentricity = orbit.e;
        p.inclination = orbit.inclination * DegreesPerRadian;
        p.node = orbit.node * DegreesPerRadian;
        p.perihelion = orbit.perihelion * DegreesPerRadian;
        p.sourceMeanAnomaly = orbit.meanAnomaly * DegreesPerRadian;
        p.sourceEpochJD = epochJD;
        CarryToCommonEpoch(p);
        done[i] = 1;
    });

    std::size_t count = 0, named = 0;
    constexpr std::size_t MostNamed = 10;
    for (std::size_t i = 0; i < planets.size(); ++i) {
        if (done[i]) {
            ++count;
        } else if (++named <= MostNamed) {
            diag.Note(
                Format("asteroids.dat: %d %s could not be integrated to the new epoch; it keeps its elements "
                       "of JD %.1f",
                       planets[i].number, planets[i].name.c_str(), planets[i].sourceEpochJD));
        }
    }
    if (named > MostNamed) diag.Note(Format("asteroids.dat: %zu more objects keep their elements", named - MostNamed));
    return count;
}

std::string FormatMinorPlanets(const std::vector<MinorPlanetElements>& planets) {
    std::string out = Format("%zu\n", planets.size());
    for (const MinorPlanetElements& p : planets) {
        std::string name = p.name;
        // The field is positional: exactly 18 characters, blank padded. A name
        // with multi-byte characters is padded by bytes, as the reader counts.
        if (name.size() < NameField) name.resize(NameField, ' ');
        // Twelve decimals give back the same 32-bit mean motion even for the
        // slowest objects.
        out += Format("%d %s %.6f %.6f %.6f %.6f %.8f %.12f %.2f %.2f\n", p.number, name.c_str(), p.node, p.perihelion,
                      p.meanAnomaly, p.inclination, p.eccentricity, p.meanMotion, p.absoluteMagnitude, p.slope);
    }
    return out;
}

}  // namespace velkaris::tools
