#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogues/DeepSkyObject.h"
#include "catalogues/MinorPlanet.h"
#include "catalogues/Star.h"
#include "reports/ObjectReports.h"
#include "tests/reports/ReportTestSupport.h"

namespace {

using namespace report_tests;

// An object whose rise, transit and set search answers as told.
class ScriptedObject : public SkyObject {
public:
    uint32_t RiseTransitSet(HmsAngle& rise, HmsAngle& transit, HmsAngle& set) override {
        if (status & RtsRise) rise.SetHms(5, 59, 45.0);
        if (status & RtsTransit) transit.SetHms(12, 0, 10.0);
        if (status & RtsSet) set.SetHms(18, 4, 0.0);
        return status;
    }
    uint32_t status = 0;
};

// The place lines of a star at 2h31'49" +89°15'51", standing at +52°10'03"
// in azimuth 200°.
void PlaceAsPolaris(SkyObject& o) {
    o.ra.SetHms(2, 31, 49.1);
    o.dec.SetDms(89, 15, 51.0, false);
    o.altitude.SetDms(52, 10, 3.0, false);
    o.azimuth.SetDms(160, 0, 0.0, true);
}

constexpr const char* PolarisPlace =
    "\nRA\t\t: 2h31'49\"\tAltitude\t\t: +52°10'03\"\n"
    "Dec\t\t: +89°15'51\"\tAzimuth\t: 200°00'00\"\n\n";

TEST(PositionBlock, ShowsEachStatusAsItsLines) {
    struct Case {
        uint32_t status;
        const char* times;
    };
    const Case cases[] = {
        // Hours and minutes as the search found them, seconds dropped.
        {RtsAll, "Rise\t\t: 05:59\nTransit\t\t: 12:00\nSet\t\t: 18:04\n\n"},
        {RtsRise | RtsSet, "Rise\t\t: 05:59\nTransit\t\t: - -:- -\nSet\t\t: 18:04\n\n"},
        {RtsTransit, "Rise\t\t: - -:- -\nTransit\t\t: 12:00\nSet\t\t: - -:- -\n\n"},
        {RtsRise | RtsTransit, "Rise\t\t: 05:59\nTransit\t\t: 12:00\nSet\t\t: - -:- -\n\n"},
        {0, "Rise\t\t: - -:- -\nTransit\t\t: - -:- -\nSet\t\t: - -:- -\n\n"},
        {RtsNeverRises, "Rise\t\t: Object is circumpolar,\nSet\t\t:  it remains below the horizon\n\n"},
        {RtsNeverSets, "Rise\t\t: Object is circumpolar,\nSet\t\t:  it remains above the horizon\n\n"},
        // A star that never sets still crosses the meridian; the report
        // words it as never setting all the same.
        {RtsNeverSets | RtsTransit, "Rise\t\t: Object is circumpolar,\nSet\t\t:  it remains above the horizon\n\n"},
    };
    for (const Case& c : cases) {
        ScriptedObject o;
        PlaceAsPolaris(o);
        o.status = c.status;
        ReportWriter out;
        AppendPosition(out, o);
        EXPECT_EQ(out.Runs(), ReportText{Body(std::string(PolarisPlace) + c.times)}) << "status " << c.status;
    }
}

Star& MakeStar(Star& s, const char* name, char bayer0, char bayer1, uint16_t flamsteed, uint32_t hd, uint32_t hip,
               char kind) {
    if (name) s.SetName(name);
    s.bayer[0] = bayer0;
    s.bayer[1] = bayer1;
    s.flamsteed = flamsteed;
    s.hd = hd;
    s.hip = hip;
    s.kind = kind;
    std::strcpy(s.constellation, "UMi");
    s.magnitude = 1.97f;
    PlaceAsPolaris(s);
    return s;
}

TEST(StarReport, TitleNamesTheStarByTheFirstIdentifierItHas) {
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    struct Case {
        const char* what;
        const char* name;
        char bayer0, bayer1;
        uint16_t flamsteed;
        uint32_t hd, hip;
        char kind;
        ReportText title;  // up to the body
    };
    const Case cases[] = {
        {"name, HD and HIP",
         "Polaris",
         'a',
         0,
         1,
         8890,
         11767,
         'B',
         {Title("Star: Polaris \t"), Title("HD: 8890 HIP: 11767 ", false),
          Source("\n(source: bright star catalogue)\n")}},
        {"Bayer letter with its index, in the Greek font",
         nullptr,
         'a',
         '1',
         1,
         8890,
         11767,
         'H',
         {Title("Star: "),
          {"α1", GreekFont, 16, false, false},
          Title(" UMi \t"),
          Title("HD: 8890 HIP: 11767 ", false),
          Source("\n(source: hipparcos catalogue)\n")}},
        {"Bayer letter theta",
         nullptr,
         'q',
         0,
         0,
         0,
         0,
         'T',
         {Title("Star: "),
          {"θ", GreekFont, 16, false, false},
          Title(" UMi \t"),
          Source("\n(source: tycho catalogue)\n")}},
        {"Flamsteed number and HIP",
         nullptr,
         0,
         0,
         1,
         0,
         11767,
         'T',
         {Title("Star: 1 UMi \t"), Title("HIP: 11767 ", false), Source("\n(source: tycho catalogue)\n")}},
        // Without a name the first number is still part of the bold title.
        {"HD number only",
         nullptr,
         0,
         0,
         0,
         8890,
         0,
         'X',
         {Title("Star: HD: 8890 "), Source("\n(source: unknown catalogue)\n")}},
        {"HIP number only",
         nullptr,
         0,
         0,
         0,
         0,
         11767,
         'B',
         {Title("Star: HIP: 11767 "), Source("\n(source: bright star catalogue)\n")}},
        {"nothing at all",
         nullptr,
         0,
         0,
         0,
         0,
         0,
         'T',
         {Title("Star: "), Title("no name or id given in catalogue", false), Source("\n(source: tycho catalogue)\n")}},
    };
    for (const Case& c : cases) {
        Star s;
        MakeStar(s, c.name, c.bayer0, c.bayer1, c.flamsteed, c.hd, c.hip, c.kind);
        s.SetSpectral("F7Ib-II");
        // The notes file has a block for HD 0, which no star may show.
        const ReportText runs = RenderStar(s, std::string(VELKARIS_TEST_FIXTURES) + "/reports/bnotes.dat");
        ASSERT_EQ(runs.size(), c.title.size() + 1) << c.what;
        EXPECT_EQ(ReportText(runs.begin(), runs.end() - 1), c.title) << c.what;
        // Polaris never sets seen from 52°N.
        EXPECT_EQ(runs.back(), Body(std::string(PolarisPlace) +
                                    "Rise\t\t: Object is circumpolar,\nSet\t\t:  it remains above the horizon\n\n"
                                    "Magnitude\t:  1.97\nSpectrum\t: F7Ib-II\n"))
            << c.what;
    }
}

// A notes file of blocks by HD number: 1234 has three blocks, two of them
// one after the other and the last at the very end of the file, without a
// final line end.
constexpr const char* Notes =
    "28\n"
    "SB: first star.\n"
    "1234\n"
    "C:  Colour remark.\n"
    "    carried on.\n"
    "XYZ:unknown code.\n"
    "DYN:0.05\".\n"
    "P:\n"
    "1235\n"
    "N:  Another star.\n"
    "12345\n"
    "N:  A number that starts like 1234.\n"
    "1234\n"
    "R:  Second block.\n"
    "1234 with words after the number\n"
    "VAR:Third block.";

TEST(StarNotes, EveryBlockOfTheStarIsShownUnderItsHeadings) {
    const TextRun header = Body("\nNotes from Bright Star Catalogue:\n", true);
    auto heading = [](const char* text) { return TextRun{text, ReportFont, 14, false, true}; };
    struct Case {
        uint32_t hd;
        ReportText runs;
    };
    const Case cases[] = {
        {1234,
         {header, heading("\nColors:\n"), Body("Colour remark.\ncarried on.\nunknown code.\n"),
          heading("\nDynamical parallaxes:\n"), Body("0.05\".\n\n"), header, heading("\nStellar radii or diameters:\n"),
          Body("Second block.\n"), header, heading("\nVariability:\n"), Body("Third block.")}},
        {28, {header, heading("\nSpectroscopic binaries:\n"), Body("first star.\n")}},
        {12345, {header, heading("\nStar names:\n"), Body("A number that starts like 1234.\n")}},
        {123, {}},
        {9, {}},
    };
    for (const Case& c : cases) {
        ReportWriter out;
        out.Size(14);
        AppendStarNotes(out, Notes, c.hd);
        EXPECT_EQ(out.Runs(), c.runs) << "HD " << c.hd;
    }

    // A remark of any length is one line: what follows its 1023rd character
    // neither loses four characters nor, starting with a digit, starts a block.
    const std::string remark = std::string(1019, 'x') + "7 " + std::string(2000, 'y') + "\n";
    ReportWriter out;
    out.Size(14);
    AppendStarNotes(out, "7\nS:  " + remark + "S:  End.\n", 7);
    EXPECT_EQ(out.Runs(),
              (ReportText{header, heading("\nSpectra:\n"), Body(remark), heading("\nSpectra:\n"), Body("End.\n")}));
}

TEST(DeepSkyReport, HeadingIdentifiersNotesAndTheirTranslation) {
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    struct Case {
        int32_t type;
        const char* name;
        uint16_t messier;
        const char* designation;
        const char* notes;
        ReportText runs;  // all but the body
    };
    const std::string neverRises = "Rise\t\t: Object is circumpolar,\nSet\t\t:  it remains below the horizon\n\n";
    const TextRun source = Source("\n(source: ngc 2000 catalogue)\n");
    const Case cases[] = {
        {DeepSkyGalaxy,
         "Andromeda Galaxy",
         31,
         "224",
         "!!! eeB, eL, vmE (Andromeda); = M31",
         {Title("Galaxy: Andromeda Galaxy\nM31 224"), source, Body("Notes\t\t: ", true),
          Body("!!! eeB, eL, vmE (Andromeda); = M31"), Body("\n\nNotes Translation attempt:\n", true),
          Body(
              "magnificent, extremely extremely bright, extremely large, very much extended, (Andromeda), = M31, \n")}},
        // Its heading on a line of its own.
        {DeepSkyBrightNebula,
         nullptr,
         0,
         "IC434",
         "F, vL, dif",
         {Title("Bright Emission/Reflection Nebula\nIC434"), source, Body("Notes\t\t: ", true), Body("F, vL, dif"),
          Body("\n\nNotes Translation attempt:\n", true), Body("faint, very large, diffused \n")}},
        {DeepSkyPlanetaryNebula,
         "Cat's Eye Nebula",
         0,
         "6543",
         "",
         {Title("Planetary Nebula:Cat's Eye Nebula\n6543"), source,
          Body("Notes\t\t: \n\nNotes Translation attempt:\n", true), Body("\n")}},
        // No type of its own: no heading.
        {0,
         nullptr,
         0,
         "5",
         "vF",
         {Title("5"), source, Body("Notes\t\t: ", true), Body("vF"), Body("\n\nNotes Translation attempt:\n", true),
          Body("very faint, \n")}},
    };
    for (const Case& c : cases) {
        DeepSkyObject o;
        o.type = c.type;
        if (c.name) o.SetName(c.name);
        o.messier = c.messier;
        std::strcpy(o.designation, c.designation);
        std::strcpy(o.notes, c.notes);
        o.magnitude = 3.44f;
        // Far south: never up at 52°N.
        o.ra.SetHms(0, 42, 44.3);
        o.dec.SetDms(89, 0, 0.0, true);
        o.altitude.SetDms(40, 0, 0.0, true);
        o.azimuth.SetDms(0, 0, 0.0, false);
        const ReportText runs = RenderDeepSky(o);
        ASSERT_EQ(runs.size(), c.runs.size() + 1) << o.designation;
        ReportText withoutBody(runs.begin(), runs.begin() + 2);
        withoutBody.insert(withoutBody.end(), runs.begin() + 3, runs.end());
        EXPECT_EQ(withoutBody, c.runs) << o.designation;
        EXPECT_EQ(runs[2], Body("\nRA\t\t: 0h42'44\"\tAltitude\t\t: -40°00'00\"\n"
                                "Dec\t\t: -89°00'00\"\tAzimuth\t: +0°00'00\"\n\n" +
                                neverRises + "Magnitude\t:  3.44\n\n"))
            << o.designation;
    }
}

TEST(MinorPlanetReport, TitleSourceAndMagnitude) {
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    MinorPlanet ceres;
    ceres.number = 1;
    ceres.SetName("Ceres");
    ceres.magnitude = 7.12f;
    PlaceAsPolaris(ceres);
    EXPECT_EQ(RenderMinorPlanet(ceres),
              (ReportText{Title("Asteroid: 1 Ceres"), Source("\n(source: orbital elements of minor planets 1998)\n"),
                          Body(std::string(PolarisPlace) +
                               "Rise\t\t: Object is circumpolar,\nSet\t\t:  it remains above the horizon\n\n"
                               "Magnitude\t:  7.12\n")}));
}

}  // namespace
