#include "controller/ObjectNames.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

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
    ForEachName([&](std::string_view name, const ObjectRef& object) {
        if (!HasKey(name, key)) return;
        for (const ObjectRef& f : found)
            if (f == object) return;
        found.push_back(object);
    }, kinds);
    return found;
}

std::optional<ObjectRef> ObjectNames::Preferred(const std::vector<ObjectRef>& candidates, std::string_view typed) const {
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
