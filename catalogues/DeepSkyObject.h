#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "catalogues/SkyObject.h"

class LoadProgress;
class TextCursor;

// Deep-sky type codes; other values have no type of their own (above 5 they
// count as "other" objects, 0 and below are never drawn).
enum DeepSkyType : int32_t {
    DeepSkyGalaxy = 1,
    DeepSkyOpenCluster = 2,
    DeepSkyGlobularCluster = 3,
    DeepSkyBrightNebula = 4,
    DeepSkyPlanetaryNebula = 5,
};

// A galaxy, star cluster or nebula. ra and dec are J2000.0 catalogue places
// and are never corrected to the date.
class DeepSkyObject : public SkyObject {
public:
    static constexpr std::size_t DesignationLength = 7;
    static constexpr std::size_t NotesLength = 50;

    // The common name; else "M" and the Messier number; else the designation.
    std::string GetName() const override;

    // Sets the size in arcminutes and the angular radius that follows from
    // it; an unknown size (0) gives a radius of one degree.
    void SetSize(float arcminutes);

    int32_t type = 0;
    char designation[DesignationLength + 1] = {};  // "224", "IC434"
    char notes[NotesLength + 2] = {};              // abbreviated description
    uint16_t messier = 0;                          // 0 when none
    float size = 0.0f;                             // arcminutes, 0 when unknown
    double radius = 0.0;                           // radians
};

// One object as it stands in the deep-sky file, before conversion. The text
// fields point into the file's text.
struct DeepSkyRecord {
    std::string_view designation;  // one word, possibly longer than it may be
    int32_t type = 0;
    uint16_t messier = 0;
    uint16_t raHours = 0;
    uint16_t raMinutes = 0;
    float raSeconds = 0.0f;
    char decSign = 0;
    uint16_t decDegrees = 0;
    uint16_t decMinutes = 0;
    float magnitude = 0.0f;
    float size = 0.0f;
    std::string_view name;   // empty when none
    std::string_view notes;  // empty when none
};

// Reads the next record: a data line (designation, type, Messier number, RA
// h m s, Dec sign d m, magnitude, size, then the common name as the rest of
// the line) and a notes line. A number that does not convert leaves it and
// the ones after it at zero; a line of any length costs only its own record.
void ReadDeepSkyRecord(TextCursor& text, DeepSkyRecord& record);

// Fills an object from its record: place, type, identifiers, size and radius,
// common name (at most 62 characters) and notes (at most 50).
void SetDeepSkyFromRecord(DeepSkyObject& object, const DeepSkyRecord& record);

// The deep-sky catalogue: every object of the file, in file order.
class DeepSkyCatalogue {
public:
    // Reads the file, reporting progress when given. False when the file
    // cannot be read; the catalogue is then empty.
    bool Load(const std::string& path, LoadProgress* progress);
    // The same from a text already in memory.
    void LoadText(std::string_view text, LoadProgress* progress);

    std::span<DeepSkyObject> objects() { return {objects_.get(), count_}; }
    std::span<const DeepSkyObject> objects() const { return {objects_.get(), count_}; }
    std::size_t size() const { return count_; }

private:
    std::unique_ptr<DeepSkyObject[]> objects_;
    std::size_t count_ = 0;
};

// The job text of the deep-sky load.
inline constexpr const char* DeepSkyJobText = "Loading Deepsky Objects";
