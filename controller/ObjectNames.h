#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogues/SkyObject.h"

class Planetarium;

// An object as the controller designates it (see Planetarium::ObjectOf).
struct ObjectRef {
    uint16_t kind = KindNone;
    uint16_t catalogue = 0;  // the star catalogue's slot; 0 for other kinds
    uint32_t index = 0;

    bool operator==(const ObjectRef&) const = default;
};

struct NamedObject {
    std::string name;
    ObjectRef object;
};

// The names the planetarium's objects go by, as a person types them:
// - the Sun, the Moon and the planets by name ("Mars");
// - a star by its proper name ("Sirius"), Bayer designation with the Greek
//   letter abbreviated ("alp CMa"; "alp1 Cen", and "alp Cen" for both of its
//   components), Flamsteed designation ("58 Ori"), HD and HIP number
//   ("HD 48915", "HIP 32349"), in every catalogue loaded;
// - a deep-sky object by each of its common names ("Orion Nebula" of "Great
//   Orion Nebula, Orion Nebula"), Messier number ("M 31"), NGC number
//   ("NGC 224") and designation as the catalogue writes it ("224", "IC434");
// - a minor planet by number and name ("1 Ceres") and by name ("Ceres").
// Case and blanks do not matter: "m31", "M 31" and "HD48915" are found too.
class ObjectNames {
public:
    explicit ObjectNames(const Planetarium& sky) : sky_(sky) {}

    // Every name of every object, in the order Sun, Moon, planets, stars by
    // catalogue, deep-sky objects, minor planets.
    std::vector<NamedObject> All() const;
    // Which kinds of object to look among: a bit (1 << kind) for each.
    static constexpr uint32_t AnyKind = ~0u;
    static constexpr uint32_t KindBit(uint16_t kind) { return 1u << kind; }

    // The objects a typed name stands for, each once, in that order.
    std::vector<ObjectRef> Resolve(std::string_view typed, uint32_t kinds = AnyKind) const;
    // Of several objects a name stands for, the one whose first name it is
    // ("Pluto": the planet, not the minor planet 134340 Pluto, whose first
    // name is "134340 Pluto"); none unless exactly one of them is so named.
    std::optional<ObjectRef> Preferred(const std::vector<ObjectRef>& candidates, std::string_view typed) const;
    // The first name an object goes by, the one that tells it best from
    // others ("alp1 Cen" before "alp Cen"); empty when it has none.
    std::string NameOf(const ObjectRef& object) const;
    // Its first name with what tells it from others of that name: the star
    // catalogue and HD number of a star, the designation of a deep-sky
    // object, "minor planet".
    std::string Describe(const ObjectRef& object) const;

    // What a name that finds nothing may have meant, best first, each object
    // once under its closest name: names that begin with it ("Betel" for
    // "Betelgeuse"), then names a slip or two of the keyboard away from it
    // (a letter wrong, missing, extra or two letters swapped; one slip for a
    // name of up to four letters, two up to eight, three beyond).
    std::vector<NamedObject> Suggestions(std::string_view typed, std::size_t most = 10, uint32_t kinds = AnyKind) const;

    // A name and the blanks and case that do not matter taken out of it.
    static std::string Key(std::string_view name);

private:
    using Visit = std::function<void(std::string_view name, const ObjectRef& object)>;
    void ForEachName(const Visit& visit, uint32_t kinds = AnyKind) const;

    const Planetarium& sky_;
};
