#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "astro/Horizontal.h"
#include "catalogues/Star.h"
#include "platform/LargeMemory.h"

class LoadProgress;
class TextCursor;

// One star catalogue file: its header (count and name), whether the user
// wants it, the pending load and unload requests, and its stars while loaded.
class StarCatalogue {
public:
    // What the first two lines of a catalogue file say.
    struct Header {
        uint32_t count = 0;  // the count line's promise, not a fact
        std::string name;    // at most 62 characters
    };

    // Reads the count line and the name line. False when there is no name
    // line at all.
    static bool ReadHeader(TextCursor& text, Header& header);
    // The header of a file, or nothing when it cannot be read or has no name
    // line; problem, when given, then says why as the end of a sentence about
    // the file ("is not a regular file", "has no name line").
    static std::optional<Header> ReadHeaderOf(const std::string& path, std::string* problem = nullptr);

    StarCatalogue(std::string path, Header header, bool enabled);
    ~StarCatalogue();
    StarCatalogue(const StarCatalogue&) = delete;
    StarCatalogue& operator=(const StarCatalogue&) = delete;

    // Reads every star of the file, reporting progress when given. Nothing
    // happens when already loaded. A file that cannot be read leaves the
    // catalogue unloaded, its request dropped, and a problem reported that
    // names the file; false then.
    bool Load(LoadProgress* progress);
    // The same from a text already in memory.
    bool LoadText(std::string_view text, LoadProgress* progress);
    // Destroys the stars; count keeps its value.
    void Unload();

    // The preferences' list moves.
    void Enable();   // wanted: load at the next application of requests
    void Disable();  // not wanted: unload at the next application if loaded

    // Recomputes the horizontal place of every star no fainter than limit,
    // corrected to the date when asked, exactly as each star's own
    // UpdateHorizontal would but with the work that is the same for every
    // star done once. Returns how many stars were computed.
    std::size_t UpdateHorizontal(float limit, bool correct);

    bool loaded() const { return loaded_; }
    std::span<Star> stars() { return {stars_, starCount_}; }
    std::span<const Star> stars() const { return {stars_, starCount_}; }
    const std::string& lastProblem() const { return lastProblem_; }

    // The number of stars: the header's count until loaded, then the number
    // of records the file really held.
    uint32_t count = 0;
    std::string name;
    std::string path;  // "data/" and the file name
    bool enabled = false;
    bool loadRequested = false;
    bool unloadRequested = false;

    // Sines and cosines of a star's catalogue place, worked out once at
    // loading for the update cycle.
    struct PlaceTrig {
        double sinRa, cosRa, sinDec, cosDec;
    };

    // A star the last update computed, with what a frame needs of it.
    struct ComputedStar {
        // Its horizontal place with the sines and cosines. It holds for the
        // star while the star's altitude and azimuth are still the ones it
        // names (anything else may have moved the star since).
        HorizontalPlace place;
        uint32_t index = 0;  // into stars()
        // The star's own, as of the update.
        float magnitude = 0.0f;
        int16_t colourClass = 0;
        bool belowHorizon = false;
    };
    // The stars the last update computed, in star order: a frame walks these
    // and not the whole catalogue. Empty until the first update.
    std::span<const ComputedStar> computedStars() const { return {computed_, computedCount_}; }
    // Whether an update has run since loading, so that computedStars is
    // the whole truth of which stars are computed.
    bool updated() const { return updated_; }

private:
    void DestroyStars();

    // The stars lie side by side in one large block, so that the update
    // cycle walks through memory in order.
    LargeBlock storage_;
    Star* stars_ = nullptr;
    std::size_t starCount_ = 0;
    LargeBlock trigStorage_;
    PlaceTrig* trig_ = nullptr;
    LargeBlock computedStorage_;
    ComputedStar* computed_ = nullptr;
    std::size_t computedCount_ = 0;
    bool updated_ = false;
    bool loaded_ = false;
    std::string lastProblem_;
};

// The job text of a catalogue load.
std::string LoadJobText(const std::string& path);
