#pragma once

#include <string>
#include <string_view>

// Expands the abbreviation code of the deep-sky catalogues' descriptions
// ("pB, pL, vlE, gbM") word by word ("pretty bright, pretty large, very long
// extended, gradually brighter (in the) middle, "). The notes are cut into
// tokens at ',', ' ' and ';'; each token is looked up whole, then letter by
// letter as prefixes, and a token the tables do not explain is copied as it
// is. The result ends with a line end.
std::string TranslateNotes(std::string_view notes);
