#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A small typed value file, one value per line:
//
//     int ShowStars = 1
//     float StarMagnitude = 4.5
//     text Comment = anything
//
// On/off switches are stored as the integers 0 and 1. Every value remembers
// its type, so a value of one type never reads as another: asking for the
// integer "ShowStars" when the file holds text gives nothing, and the caller
// falls back to its default.
//
// Names and text values are arbitrary bytes. A backslash, '=', control bytes
// and spaces at either end of a name are written as "\\" or "\xHH"; anything
// else (including '#', inner spaces and UTF-8) is written as it is, so the
// file stays readable and editable by hand.
//
// Reading is forgiving and bounded: lines that parse are kept, everything
// else (comments, junk, binary, over-long lines, a UTF-8 byte-order mark) is
// skipped, and no more than MaxFileBytes are ever read. A file larger than
// that is read only in part and therefore never written back: every change
// is refused and problem() says why. Entries of a type this program does not
// know are kept and written back untouched.
//
// Every change is saved at once, on its own (or with the others of its batch,
// see beginBatch), through an atomic replacement of the whole file (see
// AtomicFile.h): when a change cannot be saved, neither the file nor the
// values held in memory change. A change is applied to the
// file as it is on disk at that moment, so two copies of the program saving
// different values do not undo each other's. The contents of every change
// reach the disk before it replaces the file; the replacements themselves are
// made to survive a power cut once, by flush() or at the latest when the
// object goes, so that saving many values does not wait for the disk after
// each one.
class SettingsFile {
public:
    static constexpr std::size_t MaxFileBytes = 16u << 20;
    static constexpr std::size_t MaxLineBytes = 32768;
    static constexpr std::size_t MaxTextBytes = 4096;
    static constexpr std::size_t MaxNameBytes = 1024;

    struct Entry {
        std::string name;
        std::string type;   // "int", "float", "text" or a word kept as found
        std::string value;  // as written in the file (text values unescaped)
    };

    explicit SettingsFile(std::string path);
    ~SettingsFile();
    SettingsFile(const SettingsFile&) = delete;
    SettingsFile& operator=(const SettingsFile&) = delete;

    // Reads the file. A missing file is an empty, usable store. A file that
    // exists but cannot be read (permissions, not a regular file) leaves the
    // store empty and unusable, so that no later write can replace what could
    // not be read. Returns usable().
    bool load();
    bool usable() const { return usable_; }
    // Why changes cannot be saved although the values could be read (a file
    // too large to read whole); empty otherwise.
    const std::string& problem() const { return problem_; }
    const std::string& path() const { return path_; }

    std::optional<int32_t> intValue(std::string_view name) const;
    std::optional<double> floatValue(std::string_view name) const;
    std::optional<std::string> textValue(std::string_view name) const;

    // Each saves the whole file before returning; false when the store is
    // unusable, the name is too long, a float is not finite, or the file could
    // not be replaced.
    bool setInt(std::string_view name, int32_t v);
    bool setFloat(std::string_view name, double v);
    bool setText(std::string_view name, std::string_view v);

    // Makes the changes saved so far survive a power cut.
    void flush();

    // Holds the changes that follow in memory until commitBatch(), which
    // saves them all in one replacement of the file: a crash or a full disk
    // leaves either every one of them or none. While a batch is open a change
    // is only checked (usable store, name length, finite float) and reads
    // still give the values saved before it. commitBatch() returns false when
    // the file could not be replaced; the changes are then dropped. A batch
    // that is never committed is dropped as well.
    void beginBatch();
    bool commitBatch();

    const std::vector<Entry>& entries() const { return entries_; }

    // The text form, exposed for the tests of the format itself.
    static std::vector<Entry> Parse(std::string_view text);
    static std::string Serialise(const std::vector<Entry>& entries);
    static std::string Escape(std::string_view raw, bool isName);
    static std::optional<std::string> Unescape(std::string_view escaped);
    static std::optional<int32_t> ParseInt(std::string_view text);
    static std::optional<double> ParseFloat(std::string_view text);
    static std::string FormatFloat(double v);

private:
    // False when the file exists but cannot be read; a missing file is empty.
    // whole tells whether all of it was read.
    static bool ReadEntries(const std::string& path, std::vector<Entry>& entries, bool& whole);
    const Entry* find(std::string_view name) const;
    bool set(std::string_view name, const char* type, std::string value);
    // Replaces the file with what is on disk now plus the changes.
    bool save(std::vector<Entry> changes);

    std::string path_;
    bool usable_ = false;
    std::string problem_;
    bool unsyncedRename_ = false;
    bool batching_ = false;
    std::vector<Entry> pending_;                             // the open batch, in the order given
    std::vector<Entry> entries_;                             // in file order
    std::map<std::string, std::size_t, std::less<>> index_;  // name -> position
};
