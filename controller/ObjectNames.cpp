#include "controller/ObjectNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>

#include "catalogues/BayerLetters.h"
#include "catalogues/DeepSkyObject.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/Star.h"
#include "catalogues/StarCatalogue.h"
#include "controller/Planetarium.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char Folded(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Whether a name has this key, without building the name's key.
bool HasKey(std::string_view name, std::string_view key) {
    std::size_t k = 0;
    for (char c : name) {
        if (IsBlank(c)) continue;
        if (k == key.size() || Folded(c) != key[k]) return false;
        ++k;
    }
    return k == key.size();
}

std::string_view Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

template <class... Values>
std::string_view Printed(char (&buffer)[96], const char* format, Values... values) {
    const int n = std::snprintf(buffer, sizeof buffer, format, values...);
    return {buffer, n < 0 ? 0 : std::min(static_cast<std::size_t>(n), sizeof buffer - 1)};
}

}  // namespace

std::string ObjectNames::Key(std::string_view name) {
    std::string key;
    for (char c : name)
        if (!IsBlank(c)) key += Folded(c);
    return key;
}

void ObjectNames::ForEachName(const Visit& visit, uint32_t kinds) const {
    char buffer[96];
    const auto wanted = [kinds](uint16_t kind) { return (kinds & KindBit(kind)) != 0; };
    const auto named = [&](uint16_t kind, uint32_t index) {
        if (!wanted(kind)) return;
        if (SkyObject* body = sky_.ObjectOf(kind, 0, index)) visit(body->GetName(), {kind, 0, index});
    };
    named(KindSun, 1);
    named(KindMoon, 1);
    for (uint32_t i = 0; i < Planetarium::PlanetCount; ++i) named(KindPlanet, i);

    for (int c = 0; c < sky_.StarCatalogueCount() && wanted(KindStar); ++c) {
        const StarCatalogue* catalogue = sky_.Catalogue(c);
        if (!catalogue || !catalogue->loaded()) continue;
        const auto stars = catalogue->stars();
        for (std::size_t i = 0; i < stars.size(); ++i) {
            const Star& s = stars[i];
            const ObjectRef ref{KindStar, static_cast<uint16_t>(c), static_cast<uint32_t>(i)};
            const char* constellation = s.constellation;
            if (const std::string* name = s.Name()) visit(*name, ref);
            if (const char* letter = BayerAbbreviation(s.bayer[0]); *letter) {
                const char index = s.bayer[1];
                if (index != '\0') visit(Printed(buffer, "%s%c %.3s", letter, index, constellation), ref);
                visit(Printed(buffer, "%s %.3s", letter, constellation), ref);
            }
            if (s.flamsteed != 0) visit(Printed(buffer, "%u %.3s", unsigned{s.flamsteed}, constellation), ref);
            if (s.hd != 0) visit(Printed(buffer, "HD %u", s.hd), ref);
            if (s.hip != 0) visit(Printed(buffer, "HIP %u", s.hip), ref);
        }
    }

    const auto objects = sky_.DeepSky().objects();
    for (std::size_t i = 0; i < objects.size() && wanted(KindDeepSky); ++i) {
        const DeepSkyObject& o = objects[i];
        const ObjectRef ref{KindDeepSky, 0, static_cast<uint32_t>(i)};
        if (const std::string* names = o.Name()) {
            // "Great Orion Nebula, Orion Nebula": each name, and the list.
            std::string_view rest = *names;
            while (!rest.empty()) {
                const std::size_t comma = rest.find(',');
                if (const std::string_view one = Trimmed(rest.substr(0, comma)); !one.empty()) visit(one, ref);
                rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
            }
            if (names->find(',') != std::string::npos) visit(*names, ref);
        }
        if (o.messier != 0) visit(Printed(buffer, "M %u", unsigned{o.messier}), ref);
        const std::string_view designation(o.designation, strnlen(o.designation, sizeof o.designation));
        if (!designation.empty() && designation[0] >= '0' && designation[0] <= '9')
            visit(Printed(buffer, "NGC %.*s", static_cast<int>(designation.size()), designation.data()), ref);
        if (!designation.empty()) visit(designation, ref);
    }

    const auto planets = sky_.MinorPlanets().planets();
    for (std::size_t i = 0; i < planets.size() && wanted(KindMinorPlanet); ++i) {
        const MinorPlanet& p = planets[i];
        const ObjectRef ref{KindMinorPlanet, 0, static_cast<uint32_t>(i)};
        if (p.number != 0) visit(p.GetName(), ref);
        if (const std::string* name = p.Name()) visit(*name, ref);
    }
}

std::vector<NamedObject> ObjectNames::All() const {
    std::vector<NamedObject> names;
    ForEachName([&](std::string_view name, const ObjectRef& object) { names.push_back({std::string(name), object}); });
    return names;
}

std::vector<ObjectRef> ObjectNames::Resolve(std::string_view typed, uint32_t kinds) const {
    const std::string key = Key(typed);
    std::vector<ObjectRef> found;
    if (key.empty()) return found;
    ForEachName(
        [&](std::string_view name, const ObjectRef& object) {
            if (!HasKey(name, key)) return;
            for (const ObjectRef& f : found)
                if (f == object) return;
            found.push_back(object);
        },
        kinds);
    return found;
}

std::optional<ObjectRef> ObjectNames::Preferred(const std::vector<ObjectRef>& candidates,
                                                std::string_view typed) const {
    const std::string key = Key(typed);
    std::optional<ObjectRef> previous, chosen;
    int firstNamed = 0;
    // The names of one object come one after the other, its first name first.
    ForEachName([&](std::string_view name, const ObjectRef& object) {
        const bool first = !previous || !(*previous == object);
        previous = object;
        if (!first || !HasKey(name, key)) return;
        if (std::find(candidates.begin(), candidates.end(), object) == candidates.end()) return;
        chosen = object;
        ++firstNamed;
    });
    return firstNamed == 1 ? chosen : std::nullopt;
}

std::string ObjectNames::NameOf(const ObjectRef& object) const {
    std::string first;
    ForEachName([&](std::string_view name, const ObjectRef& named) {
        if (first.empty() && named == object) first = name;
    });
    return first;
}

std::string ObjectNames::Describe(const ObjectRef& ref) const {
    std::string text = NameOf(ref);
    const SkyObject* object = sky_.ObjectOf(ref.kind, ref.catalogue, ref.index);
    if (!object) return text;
    switch (ref.kind) {
        case KindStar: {
            const auto* star = static_cast<const Star*>(object);
            text += " (star of the catalogue " + sky_.Catalogue(ref.catalogue)->name;
            if (star->hd != 0) text += ", HD " + std::to_string(star->hd);
            return text + ")";
        }
        case KindDeepSky: {
            const auto* o = static_cast<const DeepSkyObject*>(object);
            return text + " (deep-sky object " +
                   std::string(o->designation, strnlen(o->designation, sizeof o->designation)) + ")";
        }
        case KindMinorPlanet: return text + " (minor planet)";
        default: return text;
    }
}

namespace {

// The optimal string alignment distance of two keys (letters changed,
// dropped, added, or two neighbours swapped), or limit + 1 as soon as it
// must exceed limit.
std::size_t SlipsBetween(std::string_view a, std::string_view b, std::size_t limit) {
    const std::size_t n = a.size(), m = b.size();
    if ((n > m ? n - m : m - n) > limit) return limit + 1;
    std::vector<std::size_t> before(m + 1), previous(m + 1), current(m + 1);
    for (std::size_t j = 0; j <= m; ++j) previous[j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        current[0] = i;
        std::size_t best = current[0];
        for (std::size_t j = 1; j <= m; ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            std::size_t d = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) d = std::min(d, before[j - 2] + 1);
            current[j] = d;
            best = std::min(best, d);
        }
        if (best > limit) return limit + 1;
        std::swap(before, previous);
        std::swap(previous, current);
    }
    return previous[m];
}

}  // namespace

std::vector<NamedObject> ObjectNames::Suggestions(std::string_view typed, std::size_t most, uint32_t kinds) const {
    const std::string key = Key(typed);
    if (key.empty()) return {};
    const std::size_t limit = key.size() <= 4 ? 1 : key.size() <= 8 ? 2 : 3;
    struct Candidate {
        std::size_t rank;  // 0 begins with the key, 1 + slips otherwise
        std::size_t order;
        NamedObject named;
    };
    std::vector<Candidate> candidates;
    std::map<uint64_t, std::size_t> byObject;  // where each object's candidate is
    std::size_t order = 0;
    ForEachName(
        [&](std::string_view name, const ObjectRef& object) {
            ++order;
            const std::string nameKey = Key(name);
            std::size_t rank;
            if (nameKey.compare(0, key.size(), key) == 0) {
                rank = 0;
            } else {
                const std::size_t slips = SlipsBetween(key, nameKey, limit);
                if (slips > limit) return;
                rank = 1 + slips;
            }
            const uint64_t id = uint64_t{object.kind} << 48 | uint64_t{object.catalogue} << 32 | object.index;
            const auto [at, added] = byObject.try_emplace(id, candidates.size());
            if (added) {
                candidates.push_back({rank, order, {std::string(name), object}});
            } else if (rank < candidates[at->second].rank) {
                candidates[at->second] = {rank, order, {std::string(name), object}};
            }
        },
        kinds);
    std::stable_sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.rank != b.rank ? a.rank < b.rank : a.order < b.order;
    });
    std::vector<NamedObject> best;
    for (std::size_t i = 0; i < candidates.size() && best.size() < most; ++i) best.push_back(candidates[i].named);
    return best;
}
