#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class LoadProgress;
class Star;
class TextCursor;

// A constellation stick figure: the HD numbers of its stars and polylines of
// 1-based indices into that list. The numbers are bound to the stars of the
// foundation catalogue by Resolve; only a figure whose every slot holds a
// star is drawn.
class ConstellationFigure {
public:
    using Line = std::vector<uint16_t>;

    ConstellationFigure() = default;

    // Reads one figure: a name line, the star count N and line count M, N HD
    // numbers, then M polylines, each its length k and k indices. False, with
    // the figure left empty and never complete, when the numbers run out
    // before the counts are met or an index lies outside 1..N; the text then
    // stands where the figure's numbers ran out or ended.
    bool Read(TextCursor& text);

    // Puts the star into the first empty slot that asks for its HD number.
    void Resolve(Star& star);
    // Empties every slot.
    void Reset();

    const std::string& name() const { return name_; }
    uint16_t starCount() const { return static_cast<uint16_t>(hdNumbers_.size()); }
    uint16_t unresolved() const { return unresolved_; }
    bool complete() const { return complete_; }
    // False when the figure's record was rejected.
    bool usable() const { return usable_; }
    std::span<const uint32_t> hdNumbers() const { return hdNumbers_; }
    // The star of each slot, null while empty; the stars belong to their
    // catalogue.
    std::span<Star* const> stars() const { return stars_; }
    std::span<const Line> lines() const { return lines_; }

private:
    std::string name_;
    uint16_t unresolved_ = 0;
    bool complete_ = false;
    bool usable_ = false;
    std::vector<uint32_t> hdNumbers_;
    std::vector<Star*> stars_;
    std::vector<Line> lines_;
};

// Every figure of the constellation file, in file order.
class ConstellationFigures {
public:
    // Reads the file. False when it cannot be read; there are no figures
    // then. A figure whose record is rejected stays in the list, empty, and
    // the progress is told which.
    bool Load(const std::string& path, LoadProgress* progress);
    // The same from a text already in memory; path names the file in what is
    // reported.
    void LoadText(std::string_view text, const std::string& path, LoadProgress* progress);

    // Binds the figures that are not yet complete to the stars of a
    // catalogue, star by star in catalogue order.
    void ResolveAgainst(std::span<Star> stars);
    void ResetAll();

    std::span<ConstellationFigure> figures() { return figures_; }
    std::span<const ConstellationFigure> figures() const { return figures_; }
    std::size_t size() const { return figures_.size(); }

private:
    std::vector<ConstellationFigure> figures_;
};

inline constexpr const char* ConstellationJobText = "Loading Constellation Definitions";
