#pragma once

#include <string>

// Bayer letters are stored as the Latin characters of the classic Greek
// symbol font ('a' alpha, 'q' theta, 'j' phi, 'y' psi, 'w' omega, ...).
// Returns the Greek letter as UTF-8; characters without a Greek counterpart
// are returned as they are.
std::string BayerGreek(char c);
// The same for each character of a text.
std::string BayerGreek(const std::string& text);
// The Greek letter's name as designations abbreviate it ("alp", "mu", "ome"),
// or an empty text for a character that stands for no Greek letter.
const char* BayerAbbreviation(char c);

class SkyObject;
// The object's display name as a person reads it: a star named by its Bayer
// designation shows the Greek letter and a superscript index ("α² Cen"),
// where GetName gives the stored characters ("a2 Cen").
std::string ShownName(const SkyObject& object);
