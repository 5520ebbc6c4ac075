#include "tools/Hipparcos.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>

namespace velkaris::tools {

namespace {

QJsonDocument ParseJson(const std::string& json, const std::string& fileName, Diagnostics& diag) {
    QJsonParseError error{};
    QJsonDocument doc =
        QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())), &error);
    if (doc.isNull()) diag.Malformed(fileName, 1, "not JSON: " + error.errorString().toStdString());
    return doc;
}

uint32_t NumberAfterPrefix(const QString& text, const char* prefix) {
    QString t = text.trimmed();
    if (!t.startsWith(QLatin1String(prefix))) return 0;
    bool ok = false;
    unsigned long v = t.mid(static_cast<qsizetype>(std::strlen(prefix))).trimmed().toULong(&ok);
    return ok && v < 4294967295UL ? static_cast<uint32_t>(v) : 0;
}

double NormaliseDegrees(double ra) {
    ra = std::fmod(ra, 360.0);
    return ra < 0 ? ra + 360.0 : ra;
}

}  // namespace

const StarName* StarNames::ByHd(uint32_t hd) const {
    auto it = hipByHd.find(hd);
    if (it == hipByHd.end()) return nullptr;
    auto n = byHip.find(it->second);
    return n == byHip.end() ? nullptr : &n->second;
}

StarNames ParseStarNames(const std::string& json, const std::string& fileName, Diagnostics& diag) {
    StarNames names;
    QJsonDocument doc = ParseJson(json, fileName, diag);
    if (!doc.isObject()) return names;
    QJsonObject root = doc.object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        bool ok = false;
        unsigned long hip = it.key().toULong(&ok);
        if (!ok || hip == 0 || !it.value().isObject()) {
            diag.Malformed(fileName, 1, "entry \"" + it.key().toStdString() + "\" has no Hipparcos number");
            continue;
        }
        QJsonObject o = it.value().toObject();
        StarName n;
        n.hip = static_cast<uint32_t>(hip);
        n.hd = NumberAfterPrefix(o.value("hd").toString(), "HD");
        n.name = o.value("name").toString().trimmed().toStdString();
        n.bayer = BayerFromGreek(o.value("bayer").toString().trimmed().toStdString());
        unsigned long flam = o.value("flam").toString().toULong(&ok);
        if (ok && flam < 65536) n.flamsteed = static_cast<uint16_t>(flam);
        QString con = o.value("c").toString().trimmed();
        if (con.size() == 3) n.constellation = con.toStdString();
        if (n.hd != 0) names.hipByHd.emplace(n.hd, n.hip);
        names.byHip.emplace(n.hip, std::move(n));
    }
    return names;
}

std::vector<HipparcosPlace> ParseHipparcosPlaces(const std::string& json, const std::string& fileName,
                                                 Diagnostics& diag) {
    std::vector<HipparcosPlace> places;
    QJsonDocument doc = ParseJson(json, fileName, diag);
    QJsonArray features = doc.object().value("features").toArray();
    std::size_t index = 0;
    for (const QJsonValue& v : features) {
        ++index;
        QJsonObject f = v.toObject();
        QJsonArray c = f.value("geometry").toObject().value("coordinates").toArray();
        QJsonValue mag = f.value("properties").toObject().value("mag");
        double id = f.value("id").toDouble(-1);
        if (c.size() != 2 || !c[0].isDouble() || !c[1].isDouble() || !mag.isDouble() || id <= 0 ||
            id != std::floor(id) || std::fabs(c[1].toDouble()) > 90.0) {
            diag.Malformed(fileName, index, "feature without Hipparcos number, place or magnitude");
            continue;
        }
        // Numbers past the end of the Hipparcos catalogue are additions of that
        // package, not Hipparcos stars.
        if (id > 120404) continue;
        HipparcosPlace p;
        p.hip = static_cast<uint32_t>(id);
        p.raDegrees = NormaliseDegrees(c[0].toDouble());
        p.decDegrees = c[1].toDouble();
        p.magnitude = mag.toDouble();
        places.push_back(p);
    }
    std::sort(places.begin(), places.end(), [](const auto& a, const auto& b) { return a.hip < b.hip; });
    return places;
}

std::unordered_map<uint32_t, ProperMotion> ParseHipparcosProperMotions(const std::string& text,
                                                                       const std::string& fileName, Diagnostics& diag) {
    std::unordered_map<uint32_t, ProperMotion> motions;
    std::size_t lineNo = 0;
    for (std::string_view line : SplitLines(text)) {
        ++lineNo;
        std::string_view t = Trim(line);
        if (t.empty() || t.front() == '#') continue;
        std::string copy(t);
        unsigned long hip = 0;
        double ra = 0, dec = 0;
        if (std::sscanf(copy.c_str(), "%lu %lf %lf", &hip, &ra, &dec) != 3 || hip == 0 || hip > 4294967294UL ||
            !std::isfinite(ra) || !std::isfinite(dec)) {
            diag.Malformed(fileName, lineNo, "expected HIP, pmRA and pmDE");
            continue;
        }
        motions[static_cast<uint32_t>(hip)] = ProperMotion{ra / 1000.0, dec / 1000.0};
    }
    return motions;
}

std::unordered_map<uint32_t, uint32_t> ParseCrossIdentifications(const std::string& text, const std::string& fileName,
                                                                 Diagnostics& diag) {
    std::unordered_map<uint32_t, uint32_t> hdByHip;
    std::size_t lineNo = 0;
    for (std::string_view line : SplitLines(text)) {
        ++lineNo;
        if (Trim(line).empty() || Trim(line).front() == '#') continue;
        // Columns are separated by tabs and may be empty.
        std::vector<std::string_view> cols;
        std::size_t start = 0;
        while (true) {
            std::size_t tab = line.find('\t', start);
            cols.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
            if (tab == std::string_view::npos) break;
            start = tab + 1;
        }
        long long hip = 0, hd = 0;
        if (cols.size() < 4 || !ParseInt(cols[0], hip) || hip <= 0 || hip > 4294967294LL) {
            diag.Malformed(fileName, lineNo, "expected HIP, SAO, HD and HR columns");
            continue;
        }
        if (ParseInt(cols[3], hd) && hd > 0 && hd < 4294967295LL)
            hdByHip.emplace(static_cast<uint32_t>(hip), static_cast<uint32_t>(hd));
    }
    return hdByHip;
}

long long SpectralIndex::Cell(double decDegrees) {
    // Bands of 0.01 degree in declination: a 3" search touches at most two.
    return static_cast<long long>(std::floor((decDegrees + 90.0) * 100.0));
}

void SpectralIndex::Parse(const std::string& text, const std::string& fileName, Diagnostics& diag) {
    std::size_t lineNo = 0;
    for (std::string_view line : SplitLines(text)) {
        ++lineNo;
        if (line.empty() || line.front() == '#') continue;
        long long rah = 0, ram = 0, decd = 0, decm = 0;
        double ras = 0, decs = 0, mag = 0;
        std::string_view sign = Columns(line, 11, 11);
        if (line.size() < 58 || !ParseInt(Columns(line, 1, 2), rah) || !ParseInt(Columns(line, 3, 4), ram) ||
            !ParseDouble(Columns(line, 5, 9), ras) || (sign != "+" && sign != "-") ||
            !ParseInt(Columns(line, 12, 13), decd) || !ParseInt(Columns(line, 14, 15), decm) ||
            !ParseDouble(Columns(line, 16, 19), decs) || !ParseDouble(Columns(line, 46, 51), mag)) {
            diag.Malformed(fileName, lineNo, "unreadable place or magnitude");
            continue;
        }
        Entry e{};
        e.ra = (rah + ram / 60.0 + ras / 3600.0) * 15.0;
        e.dec = (decd + decm / 60.0 + decs / 3600.0) * (sign == "-" ? -1 : 1);
        e.mag = mag;
        std::string_view type = Columns(line, 57, 58);
        e.type[0] = type.size() > 0 ? type[0] : ' ';
        e.type[1] = type.size() > 1 ? type[1] : ' ';
        e.type[2] = 0;
        cells_[Cell(e.dec)].push_back(entries_.size());
        entries_.push_back(e);
    }
}

std::string SpectralIndex::Find(double ra, double dec, double magnitude) const {
    const double limit = 3.0 / 3600.0;
    double best = limit * limit;
    const Entry* found = nullptr;
    double cosDec = std::cos(dec / DegreesPerRadian);
    for (long long cell = Cell(dec - limit); cell <= Cell(dec + limit); ++cell) {
        auto it = cells_.find(cell);
        if (it == cells_.end()) continue;
        for (std::size_t i : it->second) {
            const Entry& e = entries_[i];
            double dra = std::remainder(e.ra - ra, 360.0) * cosDec;
            double d2 = dra * dra + (e.dec - dec) * (e.dec - dec);
            if (d2 <= best && std::fabs(e.mag - magnitude) <= 1.0) {
                best = d2;
                found = &e;
            }
        }
    }
    if (!found) return {};
    std::string type(found->type);
    // "K?" means the class is known and the subclass is not.
    if (type.size() == 2 && (type[1] == '?' || type[1] == ' ')) type.resize(1);
    if (type.empty() || !std::isalpha(static_cast<unsigned char>(type[0]))) return {};
    return type;
}

StarRecord MakeHipparcosRecord(const HipparcosPlace& place, const HipparcosSources& sources) {
    StarRecord s;
    s.kind = 'H';
    s.hip = place.hip;
    auto hd = sources.hdByHip.find(place.hip);
    if (hd != sources.hdByHip.end()) s.hd = hd->second;
    s.magnitude = place.magnitude;
    auto pm = sources.motions.find(place.hip);
    if (pm != sources.motions.end()) {
        s.pmRa = RightAscensionMotionAsAngle(pm->second.pmRaCosDec, place.decDegrees);
        s.pmDec = pm->second.pmDec;
    }
    s.raDegrees = NormaliseDegrees(place.raDegrees - s.pmRa * YearsHipparcosToJ2000 / 3600.0);
    s.decDegrees = std::clamp(place.decDegrees - s.pmDec * YearsHipparcosToJ2000 / 3600.0, -90.0, 90.0);
    if (sources.names) {
        auto n = sources.names->byHip.find(place.hip);
        if (n != sources.names->byHip.end()) {
            const StarName& name = n->second;
            if (s.hd == 0) s.hd = name.hd;
            s.name = name.name;
            s.bayer = name.bayer;
            s.flamsteed = name.flamsteed;
            if (!s.bayer.empty() || s.flamsteed != 0) s.constellation = name.constellation;
        }
    }
    if (sources.spectra) s.spectral = sources.spectra->Find(place.raDegrees, place.decDegrees, place.magnitude);
    return s;
}

std::vector<StarRecord> BuildHipparcosCatalogue(const HipparcosSources& sources) {
    std::vector<StarRecord> stars;
    stars.reserve(sources.places.size());
    for (const HipparcosPlace& p : sources.places) stars.push_back(MakeHipparcosRecord(p, sources));
    return stars;
}

}  // namespace velkaris::tools
