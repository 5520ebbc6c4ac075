#include <gtest/gtest.h>

#include <string>

#include "reports/NotesTranslation.h"

namespace {

struct Case {
    const char* notes;
    const char* expected;
};

TEST(NotesTranslation, ExpandsTokenByToken) {
    const Case cases[] = {
        // Prefixes gather until a single character ends the token.
        {"pB, pL, vlE, gbM", "pretty bright, pretty large, very long extended, gradually brighter (in the) middle, \n"},
        {"vF", "very faint, \n"},
        // eeF is no key: each e is a prefix; ee alone is a key.
        {"eeF", "extremely extremely faint, \n"},
        {"ee", "most extremly \n"},
        // The word table comes before the prefix table at every step.
        {"iF", "irregular figure, \n"},
        {"viF", "very irregular figure, \n"},
        {"cl.", "cluster, \n"},
        {"Cl", "cluster, \n"},
        // An unknown rest brings back the whole token; an unknown final
        // character comes alone and drops the prefix words.
        {"stars", "stars, \n"},
        {"vX", "X, \n"},
        {"14", "14, \n"},
        {"X", "X, \n"},
        // Keys of the punctuation kind.
        {"!!!", "magnificent, \n"},
        {"!!", "wonderful, \n"},
        {"!", "remarkable, \n"},
        {"=", "= \n"},
        {"***", "triple star \n"},
        {"S*", "small star \n"},
        // Runs of separators cut like one; none at the ends makes no token.
        {" ,;vF;;  , pB ,", "very faint, pretty bright, \n"},
        {"", "\n"},
        {" ,; ", "\n"},
        // Matching is case-sensitive: RR is a key, rR is not.
        {"RR", "exactly round \n"},
        {"rR", "resolvable round, \n"},
        // The spellings the program has always shown.
        {"bn", "brigthest to n side\n \n"},
        // A real description.
        {"!!! eeB, eL, vmE (Andromeda); = M31",
         "magnificent, extremely extremely bright, extremely large, very much extended, (Andromeda), = M31, \n"},
    };
    for (const Case& c : cases) EXPECT_EQ(TranslateNotes(c.notes), c.expected) << "notes: \"" << c.notes << '"';
}
}  // namespace
