// Reports of real objects: a bright star with its notes from the data
// folder, and NGC objects with Dreyer's descriptions from the NGC 2000.0
// reference copy beside the repository. Each is skipped where its files are
// absent.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "catalogues/DeepSkyObject.h"
#include "catalogues/StarCatalogue.h"
#include "reports/ObjectReports.h"
#include "tests/reports/ReportTestSupport.h"

namespace {

using namespace report_tests;

TEST(RealStarReport, VegaWithItsNotes) {
    const std::string catalogue = DataFile("stfound.dat"), notes = DataFile("bnotes.dat");
    if (catalogue.empty() || notes.empty()) GTEST_SKIP() << "no data/ (scripts/data.sh builds it)";
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    const auto header = StarCatalogue::ReadHeaderOf(catalogue);
    ASSERT_TRUE(header);
    StarCatalogue stars(catalogue, *header, true);
    ASSERT_TRUE(stars.Load(nullptr));
    Star* vega = nullptr;
    for (Star& s : stars.stars())
        if (s.hd == 172167) vega = &s;
    ASSERT_NE(vega, nullptr);

    const ReportText runs = RenderStar(*vega, notes);
    ASSERT_GE(runs.size(), 4u);
    EXPECT_EQ(runs[0], Title("Star: Vega \t"));
    EXPECT_EQ(runs[1], Title("HD: 172167 HIP: 91262 ", false));
    EXPECT_EQ(runs[2], Source("\n(source: bright star catalogue)\n"));
    EXPECT_EQ(runs[3].text.rfind("\nRA\t\t: 18h36'56\"\tAltitude", 0), 0u) << runs[3].text;
    EXPECT_NE(runs[3].text.find("Dec\t\t: +38°47'01\""), std::string::npos) << runs[3].text;
    EXPECT_NE(runs[3].text.find("Magnitude\t:  0.03\nSpectrum\t: A0Va"), std::string::npos) << runs[3].text;

    // The Bright Star Catalogue's remarks on Vega, in its order, each under
    // the heading of its category.
    std::vector<std::string> headings;
    std::string names;
    for (std::size_t i = 4; i < runs.size(); ++i) {
        if (runs[i].italic) headings.push_back(runs[i].text);
        if (i > 0 && runs[i - 1].text == "\nStar names:\n") names = runs[i].text;
    }
    EXPECT_EQ(runs[4], Body("\nNotes from Bright Star Catalogue:\n", true));
    EXPECT_EQ(headings,
              (std::vector<std::string>{"\nColors:\n", "\nDouble and multiple stars:\n", "\nStar names:\n",
                                        "\nStellar radii or diameters:\n", "\nRadial and/or rotational velocities:\n",
                                        "\nSpectra:\n", "\nVariability:\n"}));
    EXPECT_EQ(names, "VEGA; Wega; Fidis; Harp Star.\n");
}

// Dreyer's description of an NGC object in the NGC 2000.0 copy, or nothing.
std::optional<std::string> NgcDescription(int number) {
    std::ifstream file(std::string(VELKARIS_SOURCE_DIR) + "/../shared/catalogues/ngc2000/ngc2000.dat");
    char name[9];
    std::snprintf(name, sizeof name, "NGC %4d", number);
    for (std::string line; std::getline(file, line);) {
        if (line.compare(0, 8, name) != 0 || line.size() < 50) continue;
        std::string text = line.substr(49, 50);
        text.erase(text.find_last_not_of(' ') + 1);
        return text;
    }
    return std::nullopt;
}

TEST(RealDeepSkyReport, NgcObjectsWithTheirDescriptionsTranslated) {
    StoppedObserver observer(6.883, 52.35, 1, false, 2026, 1, 15, 22, 0, 0);
    struct Case {
        const char* record;  // as the deep-sky file holds it, without the notes line
        int ngc;
        const char* title;
        const char* translation;
    };
    const Case cases[] = {
        {"224 1 31 0 42 44.3 +41 16 4.36 177.83 Andromeda Galaxy", 224, "Galaxy: Andromeda Galaxy\nM31 224",
         "magnificent, extremely extremely bright, extremely large, very much extended, (Andromeda), = M31, \n"},
        // A rest that no table explains brings the whole token back.
        {"6543 5 0 17 58 33.4 +66 37 8.10 0.33 Cat's Eye Nebula", 6543, "Planetary Nebula:Cat's Eye Nebula\n6543",
         "planetary nebula, very bright, pretty small, sbMvSN, \n"},
    };
    for (const Case& c : cases) {
        const auto description = NgcDescription(c.ngc);
        if (!description) GTEST_SKIP() << "no ../shared/catalogues/ngc2000/ngc2000.dat beside the repository";
        DeepSkyCatalogue catalogue;
        catalogue.LoadText("1\n" + std::string(c.record) + "\n" + *description + "\n", nullptr);
        ASSERT_EQ(catalogue.size(), 1u);
        const ReportText runs = RenderDeepSky(catalogue.objects()[0]);
        ASSERT_EQ(runs.size(), 7u) << c.ngc;
        EXPECT_EQ(runs[0], Title(c.title));
        EXPECT_EQ(runs[4], Body(*description)) << c.ngc;
        EXPECT_EQ(runs[5], Body("\n\nNotes Translation attempt:\n", true));
        EXPECT_EQ(runs[6], Body(c.translation)) << *description;
    }
}

}  // namespace
