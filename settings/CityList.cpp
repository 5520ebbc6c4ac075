#include "settings/CityList.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <numeric>
#include <sqlite3.h>

#include "astro/Observer.h"
#include "catalogues/TextCursor.h"
#include "platform/LargeMemory.h"

namespace {

constexpr std::size_t MaxFieldBytes = 200;
constexpr std::size_t MaxRulesBytes = 1u << 20;
// The database's own work is bounded too: a "city" that is a view over an
// endless query is given up after this many of SQLite's steps (the 3,428
// cities of the package take about 35,000).
constexpr int ProgressStep = 1000;
constexpr int MaxProgressCalls = 20000;

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// Days since 1970-01-01 of a Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// 0 Sunday ... 6 Saturday; 1970-01-01 was a Thursday.
int Weekday(int year, int month, int day) {
    const int64_t w = (DaysFromCivil(year, month, day) + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

int DayOfMonth(const DaylightRule::Day& day, int year) {
    const int length = Observer::daysInMonth(day.month, year);
    if (day.date > 0) return std::min(day.date, length);
    const int first = 1 + (day.weekday - Weekday(year, day.month, 1) + 7) % 7;
    if (day.nth > 0) {
        const int d = first + 7 * (day.nth - 1);
        return d <= length ? d : d - 7;
    }
    int d = first;
    while (d + 7 <= length) d += 7;
    return d;
}

int64_t MinutesOf(int year, int month, int day, int minutes) {
    return DaysFromCivil(year, month, day) * 1440 + minutes;
}

constexpr const char* MonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* WeekdayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

bool ParseMonth(std::string_view word, int& month) {
    for (int i = 0; i < 12; ++i) {
        if (SameLetters(word, MonthNames[i])) {
            month = i + 1;
            return true;
        }
    }
    return false;
}

bool ParseDay(std::string_view word, DaylightRule::Day& day) {
    if (!word.empty() && std::all_of(word.begin(), word.end(), IsDigit)) {
        if (word.size() > 2) return false;
        day.date = std::atoi(std::string(word).c_str());
        return day.date >= 1 && day.date <= 31;
    }
    day.nth = 0;
    if (!word.empty() && IsDigit(word.front())) {
        day.nth = word.front() - '0';
        word.remove_prefix(1);
        if (day.nth < 1 || day.nth > 5) return false;
    }
    for (int i = 0; i < 7; ++i) {
        if (SameLetters(word, WeekdayNames[i])) {
            day.weekday = i;
            return true;
        }
    }
    return false;
}

bool ParseTime(std::string_view word, int& minutes) {
    if (word.size() != 5 || word[2] != ':' || !IsDigit(word[0]) || !IsDigit(word[1]) || !IsDigit(word[3]) ||
        !IsDigit(word[4]))
        return false;
    const int h = (word[0] - '0') * 10 + (word[1] - '0');
    const int m = (word[3] - '0') * 10 + (word[4] - '0');
    if (h > 23 || m > 59) return false;
    minutes = h * 60 + m;
    return true;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    while (true) {
        while (!line.empty() && IsSpace(line.front())) line.remove_prefix(1);
        if (line.empty() || words.size() > 8) break;
        std::size_t n = 0;
        while (n < line.size() && !IsSpace(line[n])) ++n;
        words.push_back(line.substr(0, n));
        line.remove_prefix(n);
    }
    return words;
}

// Whole degrees, minutes and seconds of a magnitude in degrees, the seconds
// to a hundredth.
void SetFromDegrees(Angle& angle, double magnitude, bool negative) {
    double deg = std::floor(magnitude);
    double rest = (magnitude - deg) * 60.0;
    double min = std::floor(rest);
    double sec = std::round((rest - min) * 6000.0) / 100.0;
    if (sec >= 60.0) {
        sec -= 60.0;
        min += 1.0;
    }
    if (min >= 60.0) {
        min -= 60.0;
        deg += 1.0;
    }
    angle.SetSexagesimal(static_cast<uint16_t>(deg), static_cast<uint16_t>(min), static_cast<float>(sec), negative);
    angle.ApplySexagesimal();
}

// " 50° 46' 00\"", "-0° 10' 01\"" or decimal degrees "47.8339".
bool ParseCoordinate(std::string_view text, double maxDegrees, Angle& angle) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    auto number = [&text](bool fraction, double& value) {
        std::size_t n = 0;
        while (n < text.size() && IsDigit(text[n])) ++n;
        if (n == 0 || n > 3) return false;
        std::size_t end = n;
        if (fraction && end < text.size() && text[end] == '.') {
            ++end;
            while (end < text.size() && IsDigit(text[end]) && end < 16) ++end;
        }
        value = std::strtod(std::string(text.substr(0, end)).c_str(), nullptr);
        text.remove_prefix(end);
        return true;
    };
    double degrees = 0.0;
    if (!number(true, degrees)) return false;
    if (text.empty()) {
        if (degrees > maxDegrees) return false;
        SetFromDegrees(angle, degrees, negative);
        return true;
    }
    if (text.substr(0, 2) != "\xc2\xb0" || degrees != std::floor(degrees)) return false;
    text.remove_prefix(2);
    double minutes = 0.0, seconds = 0.0;
    text = Trim(text);
    if (!number(false, minutes) || text.empty() || text.front() != '\'') return false;
    text.remove_prefix(1);
    text = Trim(text);
    if (!text.empty()) {
        if (!number(true, seconds)) return false;
        if (!text.empty() && text.front() == '"') text.remove_prefix(1);
        if (!Trim(text).empty()) return false;
    }
    if (minutes >= 60.0 || seconds >= 60.0 || degrees + minutes / 60.0 + seconds / 3600.0 > maxDegrees) return false;
    angle.SetSexagesimal(static_cast<uint16_t>(degrees), static_cast<uint16_t>(minutes), static_cast<float>(seconds),
                         negative);
    angle.ApplySexagesimal();
    return true;
}

std::string Column(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    if (!text) return {};
    const int bytes = sqlite3_column_bytes(statement, column);
    std::string value(reinterpret_cast<const char*>(text), std::min<std::size_t>(bytes, MaxFieldBytes));
    return std::string(Trim(value));
}

struct DatabaseCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};
struct StatementFinaliser {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};

}  // namespace

// --- daylight rules ---------------------------------------------------------------

bool DaylightRule::InEffect(int year, int month, int day, int hour, int minute) const {
    if (start.month < 1 || start.month > 12 || end.month < 1 || end.month > 12) return false;
    const int64_t t = MinutesOf(year, month, day, hour * 60 + minute);
    const int64_t begins = MinutesOf(year, start.month, DayOfMonth(start, year), start.minutes);
    // The end is given in daylight time, an hour ahead of standard time.
    const int64_t ends = MinutesOf(year, end.month, DayOfMonth(end, year), end.minutes) - 60;
    if (start.month < end.month) return t >= begins && t < ends;
    return t >= begins || t < ends;
}

std::map<std::string, DaylightRule> ParseDaylightRules(std::string_view text) {
    std::map<std::string, DaylightRule> rules;
    TextCursor cursor(text);
    while (!cursor.AtEnd()) {
        std::string_view line = cursor.ReadLine(4096);
        // The rest of an over-long line is no rule either.
        if (!line.empty() && line.back() != '\n' && !cursor.AtEnd()) cursor.SkipLine();
        line = Trim(line);
        if (line.empty() || line.front() == '#') continue;
        const std::vector<std::string_view> w = Words(line);
        if (w.size() != 7) continue;
        DaylightRule rule;
        if (!ParseMonth(w[1], rule.start.month) || !ParseDay(w[2], rule.start) ||
            !ParseTime(w[3], rule.start.minutes) || !ParseMonth(w[4], rule.end.month) || !ParseDay(w[5], rule.end) ||
            !ParseTime(w[6], rule.end.minutes))
            continue;
        rules[std::string(w[0])] = rule;
    }
    return rules;
}

// --- cities -----------------------------------------------------------------------

std::string City::Label() const {
    std::string label = name;
    for (const std::string* part : {&province, &country}) {
        if (!part->empty()) label += ", " + *part;
    }
    return label;
}

std::string City::PlaceText() const {
    auto format = [](const Angle& a, char positive, char negative) {
        const DisplayedSexagesimal d = CarryForDisplay(a.deg, a.arcmin, a.arcsec, 0);
        char text[48];
        std::snprintf(text, sizeof text, "%u\xc2\xb0%02u'%02.0f\"%c", d.units, d.minutes, d.seconds,
                      a.negative ? negative : positive);
        return std::string(text);
    };
    return format(latitude, 'N', 'S') + " " + format(longitude, 'E', 'W');
}

std::string FoldForMatching(std::string_view text) {
    const QString decomposed =
        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (const QChar c : decomposed) {
        if (c.category() != QChar::Mark_NonSpacing) folded += c;
    }
    return folded.toCaseFolded().toStdString();
}

bool CityList::Load(const std::string& databasePath, const std::string& rulesPath) {
    cities_.clear();
    folded_.clear();
    rules_.clear();
    problem_.clear();

    FileText file;
    if (!file.ReadBytes(databasePath, MaxFileBytes)) {
        problem_ = "The city list " + databasePath + " " + FileProblemText(file.problem()) + ".";
        return false;
    }
    sqlite3* raw = nullptr;
    if (sqlite3_open_v2(":memory:", &raw, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        sqlite3_close(raw);
        problem_ = "The city list " + databasePath + " cannot be read (no memory for it).";
        return false;
    }
    std::unique_ptr<sqlite3, DatabaseCloser> db(raw);
    const std::string_view bytes = file.view();
    auto* copy = static_cast<unsigned char*>(sqlite3_malloc64(bytes.size() ? bytes.size() : 1));
    if (copy) std::memcpy(copy, bytes.data(), bytes.size());
    const int deserialised = copy
                                 ? sqlite3_deserialize(db.get(), "main", copy, static_cast<sqlite3_int64>(bytes.size()),
                                                       static_cast<sqlite3_int64>(bytes.size()),
                                                       SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY)
                                 : SQLITE_NOMEM;
    int calls = 0;
    sqlite3_progress_handler(
        db.get(), ProgressStep, [](void* count) { return ++*static_cast<int*>(count) > MaxProgressCalls ? 1 : 0; },
        &calls);

    sqlite3_stmt* rawStatement = nullptr;
    if (deserialised != SQLITE_OK ||
        sqlite3_prepare_v2(db.get(), "SELECT Name, Province, Country, Latitude, Longitude, TZ, TZRule FROM city", -1,
                           &rawStatement, nullptr) != SQLITE_OK) {
        problem_ = "The city list " + databasePath + " is not a city database (" + sqlite3_errmsg(db.get()) + ").";
        return false;
    }
    std::unique_ptr<sqlite3_stmt, StatementFinaliser> statement(rawStatement);
    std::size_t skipped = 0;
    int step = SQLITE_ROW;
    while (cities_.size() + skipped < MaxCities && (step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        City city;
        city.name = Column(statement.get(), 0);
        city.province = Column(statement.get(), 1);
        city.country = Column(statement.get(), 2);
        city.rule = Column(statement.get(), 6);
        const double zone = sqlite3_column_double(statement.get(), 5);
        const bool zoneValid =
            sqlite3_column_type(statement.get(), 5) != SQLITE_NULL && std::isfinite(zone) && std::fabs(zone) <= 14.0;
        if (city.name.empty() || !zoneValid || !ParseCoordinate(Column(statement.get(), 3), 90.0, city.latitude) ||
            !ParseCoordinate(Column(statement.get(), 4), 180.0, city.longitude)) {
            ++skipped;
            continue;
        }
        city.zoneMinutes = static_cast<int32_t>(std::lround(zone * 60.0));
        cities_.push_back(std::move(city));
    }
    if (step != SQLITE_ROW && step != SQLITE_DONE) {
        problem_ = "The city list " + databasePath + " is damaged (" + sqlite3_errmsg(db.get()) + ")";
        problem_ += cities_.empty() ? "." : "; the cities before the damage are listed.";
    } else if (skipped > 0) {
        problem_ = std::to_string(skipped) + " entries of the city list " + databasePath +
                   " give no usable place and are left out.";
    }
    if (cities_.empty() && problem_.empty()) problem_ = "The city list " + databasePath + " holds no cities.";

    // In the order of their labels as people read them: accents and case
    // do not move a city away from its neighbours.
    std::vector<std::string> folded(cities_.size());
    std::vector<std::string> labels(cities_.size());
    for (std::size_t i = 0; i < cities_.size(); ++i) {
        labels[i] = cities_[i].Label();
        folded[i] = FoldForMatching(labels[i]);
    }
    std::vector<std::size_t> order(cities_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return folded[a] != folded[b] ? folded[a] < folded[b] : labels[a] < labels[b];
    });
    std::vector<City> sorted;
    sorted.reserve(cities_.size());
    folded_.reserve(cities_.size());
    for (std::size_t i : order) {
        sorted.push_back(std::move(cities_[i]));
        folded_.push_back(std::move(folded[i]));
    }
    cities_ = std::move(sorted);

    FileText rules;
    if (rules.Read(rulesPath, MaxRulesBytes)) {
        rules_ = ParseDaylightRules(rules.view());
    } else if (!cities_.empty() && problem_.empty()) {
        problem_ = "The daylight-saving rules " + rulesPath + " " + FileProblemText(rules.problem()) +
                   "; every city keeps standard time.";
    }
    return !cities_.empty();
}

std::vector<std::size_t> CityList::Matching(std::string_view text) const {
    const std::string query = FoldForMatching(Trim(text));
    std::vector<std::size_t> groups[3];
    for (std::size_t i = 0; i < folded_.size(); ++i) {
        const std::string& label = folded_[i];
        const std::size_t at = label.find(query);
        if (at == std::string::npos) continue;
        int group = 2;
        if (at == 0) {
            group = 0;
        } else {
            // A word starts after anything that is not a letter or digit
            // (a space, a comma, a hyphen, a quote).
            const unsigned char before = static_cast<unsigned char>(label[at - 1]);
            if (before < 0x80 && !std::isalnum(before)) group = 1;
        }
        groups[group].push_back(i);
    }
    std::vector<std::size_t> result = std::move(groups[0]);
    result.insert(result.end(), groups[1].begin(), groups[1].end());
    result.insert(result.end(), groups[2].begin(), groups[2].end());
    return result;
}

std::vector<std::size_t> CityList::Named(std::string_view name) const {
    std::vector<std::string> parts;
    while (true) {
        const std::size_t comma = name.find(',');
        parts.push_back(FoldForMatching(Trim(name.substr(0, comma))));
        if (comma == std::string_view::npos) break;
        name.remove_prefix(comma + 1);
    }
    std::vector<std::size_t> found;
    if (parts.front().empty()) return found;
    for (std::size_t i = 0; i < cities_.size(); ++i) {
        const City& c = cities_[i];
        // The folded label starts with the folded name: a cheap first test.
        if (folded_[i].compare(0, parts.front().size(), parts.front()) != 0) continue;
        if (FoldForMatching(c.name) != parts.front()) continue;
        const std::string province = FoldForMatching(c.province), country = FoldForMatching(c.country);
        bool all = true;
        for (std::size_t p = 1; p < parts.size() && all; ++p)
            all = !parts[p].empty() && (parts[p] == province || parts[p] == country);
        if (all) found.push_back(i);
    }
    return found;
}

const DaylightRule* CityList::RuleOf(const City& city) const {
    const auto rule = rules_.find(city.rule);
    return rule == rules_.end() ? nullptr : &rule->second;
}

bool CityList::DaylightAt(const City& city, const DateTime& t) const {
    const DaylightRule* rule = RuleOf(city);
    return rule && rule->InEffect(t.year, t.month, t.day, t.hour, t.minute);
}

std::string CityDatabasePath() {
    const char* env = std::getenv("XDG_DATA_DIRS");
    std::string dirs = env && *env ? env : "/usr/local/share:/usr/share";
    std::string_view rest = dirs;
    std::string last = "/usr/share/kstars/citydb.sqlite";
    while (!rest.empty()) {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        if (!dir.empty()) {
            last = std::string(dir) + "/kstars/citydb.sqlite";
            std::error_code ec;
            if (std::filesystem::exists(last, ec)) return last;
        }
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    // Named as the last place looked at, the one the package installs to.
    return last;
}

std::string CityRulesPath(const std::string& databasePath) {
    return (std::filesystem::path(databasePath).parent_path() / "TZrules.dat").string();
}
