#include "tools/DeepSky.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <regex>
#include <sqlite3.h>

namespace velkaris::tools {

int DeepSkyTypeFromKStars(int t) {
    switch (t) {
        case 8: return 1;    // galaxy
        case 3: return 2;    // open cluster
        case 4: return 3;    // globular cluster
        case 5: return 4;    // gaseous (emission or reflection) nebula
        case 6: return 5;    // planetary nebula
        case 7: return 6;    // supernova remnant
        case 13: return 7;   // asterism
        case 14: return 8;   // galaxy cluster
        case 15: return 9;   // dark nebula
        case 17: return 10;  // double or multiple star
        case 0:
        case 1:
            return 11;  // star
        // Entries the source marks as duplicates or nonexistent are kept, for
        // their identifiers, but never drawn.
        default: return 0;
    }
}

std::string CommonNameFrom(const std::string& longName) {
    static const std::regex identifier(
        R"(^(PGC|UGC|UGCA|UGC A|NGC|IC|MCG|ESO|CGCG|Mrk|Arp|Sh2|LBN|LDN|Ced|vdB|Cr|Mel|Tr|Hickson|HCG|PK|PN|Abell|Ab|B|Barnard|DWB|RCW|Gum|C|M)\s*[-+]?\d)",
        std::regex::icase);
    std::string name;
    std::size_t start = 0;
    while (start <= longName.size()) {
        std::size_t comma = longName.find(',', start);
        std::string item(Trim(
            std::string_view(longName).substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        start = comma == std::string::npos ? longName.size() + 1 : comma + 1;
        if (item.empty() || std::regex_search(item, identifier)) continue;
        std::string candidate = name.empty() ? item : name + ", " + item;
        if (candidate.size() > 62) break;  // whole names only
        name = candidate;
    }
    return name;
}

namespace {

// "NGC0224" -> NGC 224; "IC4715" -> IC 4715; "NGC1234 NED01" -> 1234-1;
// "M 40" -> M40. Returns false for identifiers of no known form.
bool SplitIdentifier(const std::string& id, DeepSkyRecord& r) {
    static const std::regex form(R"(^(NGC|IC|M)\s*0*(\d+)\s*(NED\s*0*(\d+)|[A-Z]{0,2})$)");
    std::smatch m;
    if (!std::regex_match(id, m, form)) return false;
    std::string prefix = m[1];
    r.catalogue = prefix == "NGC" ? 0 : prefix == "IC" ? 1 : 2;
    r.number = static_cast<unsigned>(std::stoul(m[2]));
    r.suffix = m[4].matched ? "-" + std::to_string(std::stoul(m[4])) : std::string(m[3]);
    std::string number = std::to_string(r.number);
    if (r.catalogue == 0)
        r.designation = number + r.suffix;
    else if (r.catalogue == 1)
        r.designation = (number.size() + r.suffix.size() <= 5 ? "IC" : "I") + number + r.suffix;
    else
        r.designation = "M" + number + r.suffix;
    return r.designation.size() <= 7;
}

// Messier objects are listed under their Messier name ("M 31"); the one
// whose identification is disputed (M 102, NGC 5866) carries it only among
// its cross identifications.
uint16_t MessierNumber(const std::string& name, const std::string& longName) {
    auto number = [](std::string_view item) -> uint16_t {
        long long m = 0;
        if (item.size() > 2 && item.substr(0, 2) == "M " && ParseInt(item.substr(2), m) && m > 0 && m <= 110)
            return static_cast<uint16_t>(m);
        return 0;
    };
    if (uint16_t m = number(Trim(name))) return m;
    std::string_view rest(longName);
    while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        if (uint16_t m = number(Trim(rest.substr(0, comma)))) return m;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return 0;
}

std::string Text(sqlite3_stmt* st, int col) {
    const unsigned char* t = sqlite3_column_text(st, col);
    return t ? std::string(reinterpret_cast<const char*>(t)) : std::string();
}

bool Real(sqlite3_stmt* st, int col, double& out) {
    if (sqlite3_column_type(st, col) == SQLITE_NULL) return false;
    out = sqlite3_column_double(st, col);
    return std::isfinite(out);
}

}  // namespace

bool ReadOpenNgcDatabase(const std::string& path, std::vector<DeepSkyRecord>& records, Diagnostics& diag) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        diag.Note(path + ": cannot be opened: " + (db ? sqlite3_errmsg(db) : "out of memory"));
        sqlite3_close(db);
        return false;
    }
    sqlite3_stmt* st = nullptr;
    const char* sql =
        "SELECT type, ra, dec, magnitude, name, long_name, catalog_identifier, major_axis FROM cat ORDER BY rowid";
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) {
        diag.Malformed(path, 0, std::string("no readable table cat: ") + sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    std::size_t row = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++row;
        DeepSkyRecord r;
        double ra = 0, dec = 0;
        std::string name = Text(st, 4);
        std::string id = Text(st, 6);
        if (!Real(st, 1, ra) || !Real(st, 2, dec) || ra < 0 || ra >= 360 || std::fabs(dec) > 90) {
            diag.Malformed(path, row, "object " + name + " has no valid place");
            continue;
        }
        if (!SplitIdentifier(id, r) && !SplitIdentifier(name, r)) {
            diag.Malformed(path, row, "unknown identifier \"" + id + "\"");
            continue;
        }
        r.type = DeepSkyTypeFromKStars(sqlite3_column_int(st, 0));
        r.raDegrees = ra;
        r.decDegrees = dec;
        double mag = 0, size = 0;
        if (Real(st, 3, mag)) r.magnitude = mag;
        if (Real(st, 7, size) && size > 0) r.size = size;
        std::string longName = Text(st, 5);
        r.messier = MessierNumber(name, longName);
        r.name = CommonNameFrom(longName);
        records.push_back(std::move(r));
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return true;
}

std::map<std::string, NgcDescription> ParseNgc2000(const std::string& text, const std::string& fileName,
                                                   Diagnostics& diag) {
    std::map<std::string, NgcDescription> out;
    std::size_t lineNo = 0;
    for (std::string_view line : SplitLines(text)) {
        ++lineNo;
        if (Trim(line).empty()) continue;
        std::string_view catalogue = Trim(Columns(line, 1, 3));
        long long number = 0;
        if ((catalogue != "NGC" && catalogue != "IC") || !ParseInt(Columns(line, 4, 8), number) || number <= 0) {
            diag.Malformed(fileName, lineNo, "no NGC or IC number");
            continue;
        }
        NgcDescription d;
        d.notes = std::string(Trim(Columns(line, 50, 99)));
        if (d.notes.size() > 50) d.notes.resize(50);
        double mag = 0;
        if (ParseDouble(Columns(line, 44, 47), mag)) d.magnitude = mag;
        out[std::string(catalogue) + " " + std::to_string(number)] = std::move(d);
    }
    return out;
}

std::size_t MergeNgcDescriptions(std::vector<DeepSkyRecord>& records,
                                 const std::map<std::string, NgcDescription>& descriptions) {
    std::size_t matched = 0;
    for (DeepSkyRecord& r : records) {
        // Components ("A", "-1") are parts of an object; the description is the whole's.
        if (r.catalogue > 1 || !r.suffix.empty()) continue;
        auto it = descriptions.find((r.catalogue == 0 ? "NGC " : "IC ") + std::to_string(r.number));
        if (it == descriptions.end()) continue;
        r.notes = it->second.notes;
        if (r.magnitude == DeepSkyRecord::UnknownMagnitude) r.magnitude = it->second.magnitude;
        ++matched;
    }
    return matched;
}

void SortDeepSky(std::vector<DeepSkyRecord>& records) {
    std::stable_sort(records.begin(), records.end(), [](const DeepSkyRecord& a, const DeepSkyRecord& b) {
        if (a.catalogue != b.catalogue) return a.catalogue < b.catalogue;
        if (a.number != b.number) return a.number < b.number;
        return a.suffix < b.suffix;
    });
}

std::string FormatDeepSky(const std::vector<DeepSkyRecord>& records) {
    std::string out = Format("%zu\n", records.size());
    for (const DeepSkyRecord& r : records) {
        double hours = r.raDegrees / 15.0;
        Sexagesimal ra = ToSexagesimal(hours, 1);
        if (ra.whole >= 24) ra.whole -= 24;
        // Declinations are given to the arcminute.
        long long minutes = std::llround(std::fabs(r.decDegrees) * 60.0);
        out += Format("%s %d %u %u %u %.1f %c%lld %lld %.2f %.2f", r.designation.c_str(), r.type, unsigned{r.messier},
                      ra.whole, ra.minutes, ra.seconds, r.decDegrees < 0 ? '-' : '+', minutes / 60, minutes % 60,
                      r.magnitude, r.size);
        // Both texts are read by line: no line end may hide inside them.
        auto oneLine = [](std::string text, std::size_t maxBytes) {
            for (char& c : text)
                if (c == '\n' || c == '\r' || c == '\t') c = ' ';
            return CutUtf8(Trim(text), maxBytes);
        };
        std::string name = oneLine(r.name, 62);
        out += name.empty() ? "\n" : " " + name + "\n";
        out += oneLine(r.notes, 50) + "\n";
    }
    return out;
}

}  // namespace velkaris::tools
