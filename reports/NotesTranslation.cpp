#include "reports/NotesTranslation.h"

#include <iterator>

namespace {

struct Entry {
    std::string_view key;
    const char* word;
};

// Whole tokens, tried in this order; the first exact match wins. The
// spellings are the ones the program has always shown.
constexpr Entry WordTable[] = {
    {"ab", "about "},
    {"alm", "almost "},
    {"am", "among "},
    {"att", "attached "},
    {"bet", "between "},
    {"biN", "binuclear\n "},
    {"bn", "brigthest to n side\n "},
    {"bs", "brigthest to s side\n "},
    {"bp", "brigthest to p side\n "},
    {"bf", "brigthest to f side\n "},
    {"chev", "chevelure\n "},
    {"co", "coarse "},
    {"com", "cometic "},
    {"comp", "companion "},
    {"conn", "connected "},
    {"cont", "in contact "},
    {"Cl", "cluster, "},
    {"cl.", "cluster, "},
    {"def", "defined "},
    {"dif", "diffused "},
    {"diffic", "difficult "},
    {"dist", "distance "},
    {"ee", "most extremly "},
    {"er", "easy resolvable "},
    {"exc", "excentric "},
    {"glob.", "globular "},
    {"gr", "group "},
    {"iF", "irregular figure, "},
    {"inv", "involving "},
    {"neb", "nebula "},
    {"nebs", "nebulous "},
    {"neby", "nebulosity "},
    {"nf", "north following "},
    {"np", "north preceding "},
    {"nr", "near "},
    {"in", "in "},
    {"of", "of "},
    {"ns", "north-south "},
    {"pf", "preceding-following "},
    {"plan", "planetary nebula, "},
    {"prob", "probably "},
    {"PN", "planetary nebula, "},
    {"rr", "partially resolved, "},
    {"rrr", "well resolved "},
    {"RR", "exactly round "},
    {"Ri", "rich in stars, "},
    {"sf", "south following "},
    {"sp", "south preceding "},
    {"spir", "spiral "},
    {"sc", "scattered "},
    {"sev", "several "},
    {"st", "stars "},
    {"stell", "stellar "},
    {"susp", "suspected "},
    {"trap", "trapezium "},
    {"triangle", "triangle (with) "},
    {"triN", "trinuclear "},
    {"vv", "_very_ "},
    {"var", "variable "},
    {"S*", "small star "},
    {"**", "double star "},
    {"***", "triple star "},
    {"!!", "wonderful, "},
    {"!!!", "magnificent, "},
};
static_assert(std::size(WordTable) == 64);

// A token of exactly one character.
constexpr Entry SingleTable[] = {
    {"!", "remarkable, "},      {"*", "star, "},         {"=", "= "},
    {"B", "bright, "},          {"C", "compressed, "},   {"D", "double, "},
    {"E", "extended, "},        {"F", "faint, "},        {"L", "large, "},
    {"M", "(in the) middle, "}, {"N", "(to) nucleus, "}, {"P", "poor in stars, "},
    {"R", "round, "},           {"S", "small, "},        {"b", "brighter, "},
    {"d", "diameter, "},        {"f", "following, "},    {"l", "little, "},
    {"m", "magnitude, "},       {"n", "north, "},        {"p", "preceding, "},
    {"r", "resolvable, "},      {"s", "south, "},
};

// The first character of a longer token.
constexpr Entry PrefixTable[] = {
    {"B", "bright "},          {"C", "compressed "}, {"D", "double "},       {"F", "faint "},
    {"M", "(in the) middle "}, {"b", "brighter "},   {"c", "considerably "}, {"e", "extremely "},
    {"g", "gradually "},       {"i", "irregular "},  {"l", "long "},         {"m", "much "},
    {"p", "pretty "},          {"r", "resolvable "}, {"s", "suddenly "},     {"v", "very "},
};

template <std::size_t N>
const char* Lookup(const Entry (&table)[N], std::string_view key) {
    for (const Entry& e : table) {
        if (e.key == key) return e.word;
    }
    return nullptr;
}

bool IsSeparator(char c) { return c == ',' || c == ' ' || c == ';'; }

// One token: the words of its prefixes gather until the rest is a whole
// word or a single character the tables know. A rest they do not know
// drops the gathered words: a final unknown character is copied alone, an
// unknown longer rest brings back the whole token.
void TranslateToken(std::string_view whole, std::string& output) {
    std::string gathered;
    std::string_view rest = whole;
    while (true) {
        if (rest.size() == 1) {
            if (const char* word = Lookup(SingleTable, rest)) {
                output += gathered;
                output += word;
            } else {
                output += rest;
                output += ", ";
            }
            return;
        }
        if (const char* word = Lookup(WordTable, rest)) {
            output += gathered;
            output += word;
            return;
        }
        if (const char* word = Lookup(PrefixTable, rest.substr(0, 1))) {
            gathered += word;
            rest.remove_prefix(1);
            continue;
        }
        output += whole;
        output += ", ";
        return;
    }
}

}  // namespace

std::string TranslateNotes(std::string_view notes) {
    std::string output;
    std::size_t i = 0;
    while (i < notes.size()) {
        while (i < notes.size() && IsSeparator(notes[i])) ++i;
        const std::size_t start = i;
        while (i < notes.size() && !IsSeparator(notes[i])) ++i;
        if (i > start) TranslateToken(notes.substr(start, i - start), output);
    }
    output += '\n';
    return output;
}
