#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "reports/ReportText.h"

class DeepSkyObject;
class MinorPlanet;
class Moon;
class Planet;
class SkyObject;
class Star;
class Sun;

// The reports of the report window, one per kind of object, as runs of
// attributed text: a title of 16 points, the catalogue a star, deep-sky
// object or minor planet comes from in 12-point italics, and a body of 14
// points with the position (catalogue right ascension and declination,
// altitude and azimuth of the last update, rise, transit and set of the
// observer's civil date) and the kind's own values.
//
// Each takes the object as it stands: its altitude and azimuth are those of
// the last update, and the rise, transit and set search may move the Sun, the
// Moon and the planets to other moments before putting them back.

// The Bright Star Catalogue notes beside the catalogues.
inline constexpr const char* StarNotesPath = "data/bnotes.dat";

ReportText RenderStar(Star& star, const std::string& notesPath = StarNotesPath);
ReportText RenderDeepSky(DeepSkyObject& object);
ReportText RenderPlanet(Planet& planet);
ReportText RenderSun(Sun& sun);
ReportText RenderMoon(Moon& moon);
ReportText RenderMinorPlanet(MinorPlanet& planet);

// The position lines every report shares.
void AppendPosition(ReportWriter& out, SkyObject& object);

// The notes of the star with this HD number from the text of a notes file:
// every block whose first line starts with the number, each remark under
// the heading of its category.
void AppendStarNotes(ReportWriter& out, std::string_view notesText, uint32_t hd);
