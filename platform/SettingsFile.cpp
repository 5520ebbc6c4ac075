#include "platform/SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

#include "platform/AtomicFile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A carriage return at either end of a name or value goes with the blanks:
// a value kept with one at its end would be written back as a line end that
// the next reading drops, so the file would not read as it was saved.
bool IsTrimmed(char c) { return IsBlank(c) || c == '\r'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsTrimmed(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsTrimmed(s.back())) s.remove_suffix(1);
    return s;
}

bool IsTypeWord(std::string_view word) {
    if (word.empty() || word.size() > 32) return false;
    for (const char c : word) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!ok) return false;
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One line of the file, or nothing when it is a comment, blank or junk.
std::optional<SettingsFile::Entry> ParseLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos) return std::nullopt;
    line = Trim(line);
    if (line.empty() || line.front() == '#' || line.front() == ';') return std::nullopt;

    std::size_t typeEnd = 0;
    while (typeEnd < line.size() && !IsBlank(line[typeEnd])) ++typeEnd;
    const std::string_view type = line.substr(0, typeEnd);
    if (!IsTypeWord(type)) return std::nullopt;

    const std::string_view rest = line.substr(typeEnd);
    const std::size_t eq = rest.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    auto name = SettingsFile::Unescape(Trim(rest.substr(0, eq)));
    if (!name || name->size() > SettingsFile::MaxNameBytes) return std::nullopt;
    const std::string_view value = Trim(rest.substr(eq + 1));

    SettingsFile::Entry entry;
    entry.name = std::move(*name);
    entry.type = std::string(type);
    if (type == "text") {
        auto text = SettingsFile::Unescape(value);
        if (!text) return std::nullopt;
        entry.value = std::move(*text);
    } else {
        entry.value = std::string(value);
    }
    return entry;
}

// Holds an advisory lock on the folder of a file for the lifetime of the
// object. Best effort: a folder that cannot be locked within a second (a copy
// of the program hung while saving, a file system without locks) does not
// stop the caller.
class FolderLock {
public:
    explicit FolderLock(const std::string& filePath) {
        const auto slash = filePath.find_last_of('/');
        const std::string folder =
            slash == std::string::npos ? "." : filePath.substr(0, std::max<std::size_t>(slash, 1));
        fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) return;
        for (int attempt = 0; attempt < 100; ++attempt) {
            if (flock(fd_, LOCK_EX | LOCK_NB) == 0) return;
            if (errno != EWOULDBLOCK && errno != EINTR) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    ~FolderLock() {
        if (fd_ >= 0) close(fd_);  // closing releases the lock
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

}  // namespace

SettingsFile::SettingsFile(std::string path) : path_(std::move(path)) {}

SettingsFile::~SettingsFile() { flush(); }

void SettingsFile::flush() {
    if (unsyncedRename_ && SyncFolderOf(path_)) unsyncedRename_ = false;
}

bool SettingsFile::load() {
    entries_.clear();
    index_.clear();
    bool whole = true;
    usable_ = ReadEntries(path_, entries_, whole);
    problem_ = whole ? std::string()
                     : "The settings file " + path_ + " is larger than " + std::to_string(MaxFileBytes >> 20) +
                           " MiB: it was read only in part, and so is not saved over.";
    if (!usable_)
        entries_.clear();
    else
        RemoveStaleTemporaries(path_);
    for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].name, i);
    return usable_;
}

bool SettingsFile::ReadEntries(const std::string& path, std::vector<Entry>& entries, bool& whole) {
    entries.clear();
    whole = true;
    if (path.empty()) return false;
    std::string contents;
    bool missing = false;
    bool truncated = false;
    if (!ReadFileBounded(path, MaxFileBytes, contents, missing, truncated)) return missing;
    whole = !truncated;
    if (truncated) {
        // The last line of a cut file is incomplete.
        const auto lastNewline = contents.find_last_of('\n');
        contents.resize(lastNewline == std::string::npos ? 0 : lastNewline + 1);
    }
    entries = Parse(contents);
    return true;
}

std::vector<SettingsFile::Entry> SettingsFile::Parse(std::string_view text) {
    std::vector<Entry> entries;
    std::map<std::string, std::size_t, std::less<>> positions;
    // Editors on some systems start a UTF-8 file with a byte-order mark.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
        if (line.size() > MaxLineBytes) continue;
        auto entry = ParseLine(line);
        if (!entry) continue;
        // A name given twice (an edit by hand): the later line wins, the
        // value keeps the place of the first.
        if (auto it = positions.find(entry->name); it != positions.end()) {
            entries[it->second] = std::move(*entry);
        } else {
            positions.emplace(entry->name, entries.size());
            entries.push_back(std::move(*entry));
        }
    }
    return entries;
}

std::string SettingsFile::Serialise(const std::vector<Entry>& entries) {
    std::string out =
        "# Velkaris settings, one value per line: type name = value\n"
        "# Types: int (switches are 1 or 0), float, text. A backslash, '=' and\n"
        "# control characters in names are written as \\\\ or \\xHH.\n";
    for (const Entry& e : entries) {
        out += e.type;
        out += ' ';
        out += Escape(e.name, true);
        out += " = ";
        out += e.type == "text" ? Escape(e.value, false) : e.value;
        out += '\n';
    }
    return out;
}

std::string SettingsFile::Escape(std::string_view raw, bool isName) {
    static const char* digits = "0123456789ABCDEF";
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto c = static_cast<unsigned char>(raw[i]);
        // Spaces at either end would be lost to the trimming around '='.
        const bool edgeBlank = (c == ' ' || c == '\t') && (i == 0 || i + 1 == raw.size());
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c == 0x7f || edgeBlank || (isName && c == '=')) {
            out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 0xf];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::optional<std::string> SettingsFile::Unescape(std::string_view escaped) {
    std::string out;
    out.reserve(escaped.size());
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 1 < escaped.size() && escaped[i + 1] == '\\') {
            out += '\\';
            ++i;
        } else if (i + 3 < escaped.size() && escaped[i + 1] == 'x' && HexDigit(escaped[i + 2]) >= 0 &&
                   HexDigit(escaped[i + 3]) >= 0) {
            out += static_cast<char>(HexDigit(escaped[i + 2]) * 16 + HexDigit(escaped[i + 3]));
            i += 3;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

// Number conversions are locale-independent: the window toolkit switches the
// process to the user's locale, where a decimal comma would otherwise creep in.
std::optional<int32_t> SettingsFile::ParseInt(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+' || text.front() == ' ') return std::nullopt;
    int32_t v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return v;
}

std::optional<double> SettingsFile::ParseFloat(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return std::nullopt;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string SettingsFile::FormatFloat(double v) {
    // Shortest text that reads back as the same double.
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    if (ec != std::errc()) return "0";
    return std::string(buffer, end);
}

const SettingsFile::Entry* SettingsFile::find(std::string_view name) const {
    const auto it = index_.find(name);
    return it == index_.end() ? nullptr : &entries_[it->second];
}

std::optional<int32_t> SettingsFile::intValue(std::string_view name) const {
    const Entry* e = find(name);
    if (!e || e->type != "int") return std::nullopt;
    return ParseInt(e->value);
}

std::optional<double> SettingsFile::floatValue(std::string_view name) const {
    const Entry* e = find(name);
    if (!e || e->type != "float") return std::nullopt;
    return ParseFloat(e->value);
}

std::optional<std::string> SettingsFile::textValue(std::string_view name) const {
    const Entry* e = find(name);
    if (!e || e->type != "text") return std::nullopt;
    return e->value;
}

bool SettingsFile::setInt(std::string_view name, int32_t v) { return set(name, "int", std::to_string(v)); }

bool SettingsFile::setFloat(std::string_view name, double v) {
    if (!std::isfinite(v)) return false;
    return set(name, "float", FormatFloat(v));
}

bool SettingsFile::setText(std::string_view name, std::string_view v) {
    if (v.size() > MaxTextBytes) return false;
    return set(name, "text", std::string(v));
}

bool SettingsFile::set(std::string_view name, const char* type, std::string value) {
    if (!usable_ || !problem_.empty() || name.size() > MaxNameBytes) return false;
    Entry change{std::string(name), type, std::move(value)};
    if (batching_) {
        pending_.push_back(std::move(change));
        return true;
    }
    std::vector<Entry> changes;
    changes.push_back(std::move(change));
    return save(std::move(changes));
}

void SettingsFile::beginBatch() {
    batching_ = true;
    pending_.clear();
}

bool SettingsFile::commitBatch() {
    batching_ = false;
    std::vector<Entry> changes = std::move(pending_);
    pending_.clear();
    if (changes.empty()) return true;
    return save(std::move(changes));
}

bool SettingsFile::save(std::vector<Entry> changes) {
    // Start from what is on disk now, not from what was read at opening, so
    // that a second running copy of the program saving at the same time does
    // not have its values overwritten with stale ones. The folder lock makes
    // the read and the replacement one step for every copy.
    const FolderLock lock(path_);
    std::vector<Entry> next;
    bool whole = true;
    if (!ReadEntries(path_, next, whole) || !whole) return false;  // never replace what cannot be read whole

    for (Entry& change : changes) {
        auto it = std::find_if(next.begin(), next.end(), [&](const Entry& e) { return e.name == change.name; });
        if (it != next.end()) {
            it->type = std::move(change.type);
            it->value = std::move(change.value);
        } else {
            next.push_back(std::move(change));
        }
    }
    // Memory changes only once the disk has the new contents.
    if (!WriteFileAtomically(path_, Serialise(next), RenameDurability::Later)) return false;
    unsyncedRename_ = true;

    entries_ = std::move(next);
    index_.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) index_.emplace(entries_[i].name, i);
    return true;
}
