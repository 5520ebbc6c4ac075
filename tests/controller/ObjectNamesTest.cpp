#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "NamedSky.h"
#include "controller/ObjectNames.h"

void PrintTo(const ObjectRef& r, std::ostream* os) {
    *os << '{' << r.kind << ',' << r.catalogue << ',' << r.index << '}';
}

namespace {

using named_sky::NamedSkyTest;

class ObjectNamesTest : public NamedSkyTest {};

TEST_F(ObjectNamesTest, EveryFormOfNameFindsItsObject) {
    auto p = Start();
    const auto f = static_cast<uint16_t>(SlotOf(*p, "foundation"));
    const ObjectRef sirius{KindStar, f, 0}, rigel{KindStar, f, 1}, betelgeuse{KindStar, f, 2};
    const ObjectRef alpha1Cen{KindStar, f, 3}, alpha2Cen{KindStar, f, 4};
    const ObjectRef andromeda{KindDeepSky, 0, 0}, orion{KindDeepSky, 0, 1}, horsehead{KindDeepSky, 0, 2};
    const ObjectRef ceres{KindMinorPlanet, 0, 0};
    const ObjectRef pluto{KindPlanet, 0, 7}, minorPluto{KindMinorPlanet, 0, 3};
    const struct {
        const char* typed;
        std::vector<ObjectRef> found;
    } rows[] = {
        {"Sirius", {sirius}},
        {"alp CMa", {sirius}},
        {"ALP  cma", {sirius}},
        {"19 Ori", {rigel}},
        {"58 Ori", {betelgeuse}},
        {"HD 48915", {sirius}},
        {"hd48915", {sirius}},
        {"HIP 24436", {rigel}},
        // The index tells the components apart; without it both are meant.
        {"alp1 Cen", {alpha1Cen}},
        {"alp2 Cen", {alpha2Cen}},
        {"alp Cen", {alpha1Cen, alpha2Cen}},
        {"NGC 224", {andromeda}},
        {"M 31", {andromeda}},
        {"m31", {andromeda}},
        {"Orion Nebula", {orion}},
        {"Great Orion Nebula", {orion}},
        {"Great Orion Nebula, Orion Nebula", {orion}},
        {"IC 434", {horsehead}},
        {"IC434", {horsehead}},
        {"Sun", {{KindSun, 0, 1}}},
        {"moon", {{KindMoon, 0, 1}}},
        {"Jupiter", {{KindPlanet, 0, 3}}},
        {"Pluto", {pluto, minorPluto}},
        {"134340 Pluto", {minorPluto}},
        {"Ceres", {ceres}},
        {"1 Ceres", {ceres}},
        // Names that are no object's.
        {"3 Vesta", {}},
        {"NGC 22", {}},
        {"HD 4891", {}},
        {"Ori", {}},
        {"", {}},
    };
    const ObjectNames names(*p);
    for (const auto& row : rows) EXPECT_EQ(names.Resolve(row.typed), row.found) << '"' << row.typed << '"';

    // Looked for among some kinds only.
    const uint32_t stars = ObjectNames::KindBit(KindStar), deepSky = ObjectNames::KindBit(KindDeepSky);
    EXPECT_EQ(names.Resolve("alp Cen", stars | deepSky), (std::vector<ObjectRef>{alpha1Cen, alpha2Cen}));
    EXPECT_EQ(names.Resolve("alp Cen", deepSky), std::vector<ObjectRef>{});
    EXPECT_EQ(names.Resolve("M 31", deepSky), std::vector<ObjectRef>{andromeda});
    EXPECT_EQ(names.Resolve("Ceres", stars | deepSky), std::vector<ObjectRef>{});

    // Of several, the one whose first name was typed.
    const struct {
        const char* typed;
        std::optional<ObjectRef> preferred;
    } preferred[] = {
        {"Pluto", pluto},          {" pluto", pluto},
        {"alp Cen", std::nullopt},                                  // neither is first named so
        {"alp1 Cen", alpha1Cen},   {"Orion Nebula", std::nullopt},  // a second name
    };
    for (const auto& row : preferred)
        EXPECT_EQ(names.Preferred(names.Resolve(row.typed), row.typed), row.preferred) << row.typed;
    EXPECT_EQ(names.Preferred({minorPluto}, "Pluto"), std::nullopt);
}

TEST_F(ObjectNamesTest, AStarInTwoLoadedCataloguesIsFoundInBoth) {
    auto p = Start();
    const auto f = static_cast<uint16_t>(SlotOf(*p, "foundation")), o = static_cast<uint16_t>(SlotOf(*p, "other"));
    const ObjectNames names(*p);
    // The other catalogue is not loaded: only the foundation's Sirius.
    EXPECT_EQ(names.Resolve("Sirius"), (std::vector<ObjectRef>{{KindStar, f, 0}}));
    p->Catalogue(o)->Enable();
    p->ApplyCatalogueRequests(nullptr);
    std::vector<ObjectRef> both = {{KindStar, f, 0}, {KindStar, o, 0}};
    if (o < f) std::swap(both[0], both[1]);
    EXPECT_EQ(names.Resolve("HIP 32349"), both);
    EXPECT_EQ(names.Resolve("Sirius"), both);
    // The other's Sirius has no Bayer letter.
    EXPECT_EQ(names.Resolve("alp CMa"), (std::vector<ObjectRef>{{KindStar, f, 0}}));
}

TEST_F(ObjectNamesTest, ListsEveryNameOfEveryObjectInOrder) {
    auto p = Start();
    const auto f = static_cast<uint16_t>(SlotOf(*p, "foundation"));
    const ObjectNames names(*p);
    const std::vector<NamedObject> all = names.All();
    std::vector<std::string> listed;
    for (const NamedObject& n : all) listed.push_back(n.name);
    // The bodies first, then each star with all its names, the deep-sky
    // objects and the minor planets.
    const std::vector<std::string> expected = {
        "Sun",
        "Moon",
        "Mercury",
        "Venus",
        "Mars",
        "Jupiter",
        "Saturn",
        "Uranus",
        "Neptune",
        "Pluto",
        "Sirius",
        "alp CMa",
        "9 CMa",
        "HD 48915",
        "HIP 32349",
        "Rigel",
        "bet Ori",
        "19 Ori",
        "HD 34085",
        "HIP 24436",
        "Betelgeuse",
        "alp Ori",
        "58 Ori",
        "HD 39801",
        "HIP 27989",
        "alp1 Cen",
        "alp Cen",
        "HD 128620",
        "HIP 71683",
        "alp2 Cen",
        "alp Cen",
        "HD 128621",
        "HIP 71681",
        "HD 12345",
        "Andromeda Galaxy",
        "M 31",
        "NGC 224",
        "224",
        "Great Orion Nebula",
        "Orion Nebula",
        "Great Orion Nebula, Orion Nebula",
        "M 42",
        "NGC 1976",
        "1976",
        "IC434",
        "1 Ceres",
        "Ceres",
        "2 Pallas",
        "Pallas",
        "4 Vesta",
        "Vesta",
        "134340 Pluto",
        "Pluto",
    };
    EXPECT_EQ(listed, expected);
    ASSERT_EQ(all.size(), expected.size());
    EXPECT_EQ(all[25].object, (ObjectRef{KindStar, f, 3}));
    EXPECT_EQ(all.back().object, (ObjectRef{KindMinorPlanet, 0, 3}));
}

// What a misspelt or unfinished name may have meant: beginnings first, then
// names one or two slips away, each object once under its closest name.
TEST_F(ObjectNamesTest, AMisspeltNameSuggestsWhatItMayHaveMeant) {
    auto p = Start();
    const ObjectNames names(*p);
    const struct {
        const char* typed;
        std::vector<std::string> meant;  // the first suggestions, in order
    } rows[] = {
        {"Betelguese", {"Betelgeuse"}},  // two letters swapped
        {"Sirus", {"Sirius"}},           // one missing
        {"Rigell", {"Rigel"}},           // one too many
        {"Cerse", {"Ceres"}},            // swapped, in a short name
        {"Andromeda Galaxi", {"Andromeda Galaxy"}},
        {"betel", {"Betelgeuse"}},  // the beginning of a name
        {"M3", {"M 31"}},
        {"Plut", {"Pluto", "Pluto"}},       // the planet, then the minor planet
        {"Orion Nebul", {"Orion Nebula"}},  // the object under its closest name
        {"alp1 Ce", {"alp1 Cen"}},
        // Too far from everything: three slips in six letters, or nothing
        // like any name.
        {"Sirxyz", {}},
        {"Xyzzy", {}},
        {"", {}},
    };
    for (const auto& row : rows) {
        std::vector<std::string> got;
        for (const NamedObject& n : names.Suggestions(row.typed)) got.push_back(n.name);
        got.resize(std::min(got.size(), row.meant.size()));
        EXPECT_EQ(got, row.meant) << '"' << row.typed << '"';
        if (row.meant.empty()) {
            EXPECT_TRUE(names.Suggestions(row.typed).empty()) << row.typed;
        }
    }
    const std::vector<NamedObject> plutos = names.Suggestions("Plut");
    ASSERT_EQ(plutos.size(), 2u);
    EXPECT_EQ(plutos[0].object, (ObjectRef{KindPlanet, 0, 7}));
    EXPECT_EQ(plutos[1].object.kind, KindMinorPlanet);
    // Each suggestion is found again by its name.
    for (const NamedObject& n : names.Suggestions("Ceres"))
        EXPECT_NE(std::find(names.Resolve(n.name).begin(), names.Resolve(n.name).end(), n.object),
                  names.Resolve(n.name).end())
            << n.name;
    EXPECT_LE(names.Suggestions("a", 3).size(), 3u);
}

// Several objects of one name are told apart.
TEST_F(ObjectNamesTest, AnAmbiguousNameListsWhatTellsItsObjectsApart) {
    auto p = Start();
    const ObjectNames names(*p);
    std::vector<std::string> described;
    for (const ObjectRef& r : names.Resolve("alp Cen")) described.push_back(names.Describe(r));
    EXPECT_EQ(described, (std::vector<std::string>{"alp1 Cen (star of the catalogue foundation, HD 128620)",
                                                   "alp2 Cen (star of the catalogue foundation, HD 128621)"}));
    described.clear();
    for (const ObjectRef& r : names.Resolve("Pluto")) described.push_back(names.Describe(r));
    EXPECT_EQ(described, (std::vector<std::string>{"Pluto", "134340 Pluto (minor planet)"}));
    EXPECT_EQ(names.Describe(names.Resolve("M 31").at(0)), "Andromeda Galaxy (deep-sky object 224)");
}

}  // namespace
