#include <cmath>

#include "LiteralReaders.h"
#include "TestSupport.h"
#include "tools/BrightStarCatalogue.h"
#include "tools/Hipparcos.h"
#include "tools/StarRecords.h"

using namespace velkaris::tools;

namespace {

literal::StarFile WriteAndRead(const std::vector<StarRecord>& stars, const std::string& catalogueName = "test") {
    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/st.dat";
    Diagnostics diag;
    EXPECT_TRUE(WriteFileAtomically(path, FormatStarCatalogue(catalogueName, stars), diag));
    literal::StarFile file;
    EXPECT_TRUE(literal::ReadStarFile(path, file));
    return file;
}

}  // namespace

TEST(StarRecordFormat, EveryFieldSurvivesTheReaderIncludingAbsentOnes) {
    StarRecord full;
    full.kind = 'B';
    full.hd = 48915;
    full.hip = 32349;
    full.raDegrees = 101.2871;
    full.decDegrees = -16.7161;
    full.pmRa = -0.5774;
    full.pmDec = -1.205;
    full.magnitude = -1.46;
    full.flamsteed = 9;
    full.constellation = "CMa";
    full.bayer = "Alp";
    full.spectral = "A1Vm";
    full.name = "Sirius";

    StarRecord bare;  // nothing but a place: every text field absent
    bare.kind = 'T';
    bare.raDegrees = 0.0;
    bare.decDegrees = -0.0001;

    StarRecord twoLetter = full;
    twoLetter.hd = 1;
    twoLetter.bayer = "Mu 2";
    twoLetter.spectral = std::string(25, 'K');  // longer than the field keeps
    twoLetter.name = std::string(70, 'n');      // longer than the name read takes

    StarRecord theta = full;
    theta.hd = 2;
    theta.bayer = "The";
    theta.spectral = "K0III";
    theta.name.clear();

    literal::StarFile f = WriteAndRead({full, bare, twoLetter, theta}, "foundation");
    ASSERT_EQ(f.count, 4u);
    ASSERT_EQ(f.stars.size(), 4u);
    EXPECT_EQ(f.name, "foundation");

    const literal::Star& s = f.stars[0];
    EXPECT_EQ(s.kind, 'B');
    EXPECT_EQ(s.hd, 48915u);
    EXPECT_EQ(s.hip, 32349u);
    EXPECT_NEAR(s.RaDegrees(), 101.2871, 1e-5);
    EXPECT_NEAR(s.DecDegrees(), -16.7161, 1e-5);
    EXPECT_NEAR(s.pmRa, -0.5774, 1e-6);
    EXPECT_NEAR(s.mag, -1.46, 1e-6);
    EXPECT_EQ(s.flamsteed, 9);
    EXPECT_EQ(s.constellation, "CMa");
    EXPECT_EQ(s.bayer, "a");
    EXPECT_EQ(s.spectral, "A1Vm");
    EXPECT_EQ(s.name, "Sirius");

    const literal::Star& b = f.stars[1];
    EXPECT_EQ(b.kind, 'T');
    EXPECT_EQ(b.decSign, '-');  // a place just south of the equator keeps its sign
    EXPECT_TRUE(b.constellation.empty());
    EXPECT_TRUE(b.bayer.empty());
    EXPECT_FALSE(b.hasSpectral);
    EXPECT_TRUE(b.name.empty());

    const literal::Star& m = f.stars[2];
    EXPECT_EQ(m.bayer, "m2");
    EXPECT_EQ(m.spectral, std::string(MaxSpectralLength, 'K'));
    EXPECT_EQ(m.name, std::string(MaxStarNameLength, 'n'));

    const literal::Star& t = f.stars[3];
    EXPECT_EQ(t.bayer, "q");
    EXPECT_EQ(t.spectral, "K0III");
    EXPECT_TRUE(t.name.empty());
}

TEST(StarRecordFormat, RoundedSecondsCarryIntoMinutesAndHours) {
    StarRecord s;
    s.raDegrees = 359.999999999;  // 23h59m59.99999s rounds to 24h, i.e. 0h
    s.decDegrees = 29.9999999;
    literal::StarFile f = WriteAndRead({s});
    ASSERT_EQ(f.stars.size(), 1u);
    EXPECT_EQ(f.stars[0].raH, 0);
    EXPECT_EQ(f.stars[0].raM, 0);
    EXPECT_EQ(f.stars[0].decD, 30);
    EXPECT_EQ(f.stars[0].decM, 0);
    EXPECT_FLOAT_EQ(f.stars[0].decS, 0.0f);
}

TEST(StarRecordFormat, GreekDesignationsBecomeAbbreviations) {
    EXPECT_EQ(BayerFromGreek("α"), "Alp");
    EXPECT_EQ(BayerFromGreek("α1"), "Alp1");
    EXPECT_EQ(BayerFromGreek("μ2"), "Mu 2");
    EXPECT_EQ(BayerFromGreek("ο"), "Omi");
    EXPECT_EQ(BayerFromGreek("ω"), "Ome");
    EXPECT_EQ(BayerFromGreek(""), "");
    EXPECT_EQ(BayerFromGreek("αb"), "");
    EXPECT_EQ(BayerFromGreek("A"), "");
    // Every abbreviation must turn back into its own symbol-font letter.
    const char* greek[] = {"α", "β", "γ", "δ", "ε", "ζ", "η", "θ", "ι", "κ", "λ", "μ",
                           "ν", "ξ", "ο", "π", "ρ", "σ", "τ", "υ", "φ", "χ", "ψ", "ω"};
    const char symbol[] = "abgdezhqiklmnxoprstujcyw";
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(literal::BayerLetter(BayerFromGreek(greek[i]).c_str()), symbol[i]) << greek[i];
}

TEST(BrightStarCatalogue, ReadsRecordsSkipsRemovedAndReportsMalformed) {
    Diagnostics diag;
    BrightStarCatalogue cat = ParseBrightStarCatalogue(ReadText(Fixtures() + "/yale/catalog.dat"), "catalog.dat", diag);
    ASSERT_EQ(cat.stars.size(), 4u);
    EXPECT_EQ(cat.withoutPosition, 1u);
    EXPECT_EQ(diag.MalformedCount(), 1u);
    ASSERT_FALSE(diag.Messages().empty());
    EXPECT_NE(diag.Messages()[0].find("catalog.dat:5:"), std::string::npos) << diag.Messages()[0];
    EXPECT_EQ(cat.hdByHr.at(104), 100004u);  // removed entries still carry their notes' HD

    const StarRecord& a = cat.stars[0].star;
    EXPECT_EQ(a.hd, 100001u);
    EXPECT_EQ(a.bayer, "Alp1");
    EXPECT_EQ(a.constellation, "Cen");
    EXPECT_EQ(a.flamsteed, 3);
    // Motion along the sky divided by cos(dec): the reader adds it to the RA.
    EXPECT_NEAR(a.pmRa, -3.0 / std::cos((60 + 30 / 60.0 + 15 / 3600.0) / DegreesPerRadian), 1e-9);
    EXPECT_DOUBLE_EQ(a.pmDec, 0.5);

    EXPECT_EQ(cat.stars[1].star.bayer, "Mu 2");
    const StarRecord& noName = cat.stars[2].star;
    EXPECT_TRUE(noName.constellation.empty());
    EXPECT_TRUE(noName.bayer.empty());
    EXPECT_EQ(noName.flamsteed, 0);
    const StarRecord& flamsteedOnly = cat.stars[3].star;
    EXPECT_EQ(flamsteedOnly.flamsteed, 9);
    EXPECT_EQ(flamsteedOnly.constellation, "CMa");
    EXPECT_TRUE(flamsteedOnly.bayer.empty());
}

TEST(Foundation, FixtureBuildResolvesEveryFigureStarAndNamesStars) {
    QTemporaryDir dir;
    std::string out = dir.path().toStdString();
    Diagnostics diag;
    BuildResult result;
    EXPECT_TRUE(BuildGroup("foundation", FixtureSources(), out, result, diag));

    literal::StarFile f;
    ASSERT_TRUE(literal::ReadStarFile(out + "/stfound.dat", f));
    EXPECT_EQ(f.name, "foundation");
    // Four Bright Star records plus the figure star that no bright star stands in for.
    ASSERT_EQ(f.stars.size(), 5u);
    EXPECT_EQ(result.records.at("stfound.dat"), 5u);

    const literal::Star* named = literal::FindHd(f, 100001);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(named->name, "Testar");
    EXPECT_EQ(named->hip, 10u);  // its HD number covers HIP 10 and 11: the lower is taken
    EXPECT_EQ(named->bayer, "a1");
    EXPECT_EQ(named->raH, 1);
    EXPECT_EQ(named->raM, 2);
    EXPECT_FLOAT_EQ(named->raS, 3.4f);

    // HD 666666 is in no bright star record: it comes from Hipparcos, with
    // its place carried back to the Hipparcos epoch.
    const literal::Star* added = literal::FindHd(f, 666666);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->kind, 'H');
    EXPECT_EQ(added->hip, 40u);
    EXPECT_EQ(added->name, "Addita");
    EXPECT_NEAR(added->RaDegrees() + added->pmRa / 3600.0 * YearsHipparcosToJ2000, 200.0, 2e-6);

    std::vector<literal::Figure> figures;
    ASSERT_TRUE(literal::ReadFigureFile(out + "/constellations.dat", figures));
    ASSERT_EQ(figures.size(), 3u);  // Alpha, Serpens (both halves), Broken
    EXPECT_EQ(figures[0].nameLine, "Alpha\n");
    EXPECT_EQ(figures[1].nameLine, "Serpens\n");
    std::set<unsigned> catalogue;
    for (const auto& s : f.stars) catalogue.insert(s.hd);
    for (const auto& fig : figures) {
        ASSERT_EQ(fig.hd.size(), fig.n);
        for (unsigned hd : fig.hd) EXPECT_TRUE(catalogue.count(hd)) << fig.nameLine << " HD " << hd;
        for (const auto& line : fig.lines)
            for (unsigned short index : line) EXPECT_TRUE(index >= 1 && index <= fig.n);
    }
    // HD 555555 stands 1.3" from HD 100001: the figure now names that star,
    // and once only.
    EXPECT_EQ(figures[0].hd, (std::vector<unsigned>{100001, 100002, 100006, 666666}));
    EXPECT_EQ(figures[0].lines, (std::vector<std::vector<unsigned short>>{{1, 2, 3, 1}, {3, 4}}));
    EXPECT_EQ(figures[1].lines, (std::vector<std::vector<unsigned short>>{{1, 2}, {3, 4}}));
    // The unknown "X 12" line is reported, the rest of the figure kept.
    EXPECT_EQ(figures[2].hd, (std::vector<unsigned>{100003, 100002}));
    EXPECT_GE(diag.MalformedCount(), 2u);  // "X 12" and the stroke starting with a draw
}

TEST(Hipparcos, PlacesGoBackToTheHipparcosEpochAlongTheReadersLine) {
    QTemporaryDir dir;
    std::string out = dir.path().toStdString();
    Diagnostics diag;
    BuildResult result;
    ASSERT_TRUE(BuildGroup("hipparcos", FixtureSources(), out, result, diag));
    literal::StarFile f;
    ASSERT_TRUE(literal::ReadStarFile(out + "/sthip.dat", f));
    EXPECT_EQ(f.name, "hipparcos");
    // Numbers beyond the Hipparcos catalogue and the feature without a number are left out.
    ASSERT_EQ(f.stars.size(), 4u);
    EXPECT_EQ(diag.MalformedCount(), 2u);  // that feature and the bad proper-motion line
    EXPECT_EQ(f.stars[0].hip, 10u);        // sorted by number
    EXPECT_EQ(f.stars[3].hip, 40u);

    const literal::Star& s = f.stars[0];
    EXPECT_EQ(s.kind, 'H');
    EXPECT_EQ(s.hd, 100001u);
    EXPECT_EQ(s.spectral, "G2");
    EXPECT_EQ(s.name, "Testar");
    double cosDec = std::cos(-60.5042 / DegreesPerRadian);
    EXPECT_NEAR(s.pmRa, -3.0 / cosDec, 1e-4);
    EXPECT_NEAR(s.pmDec, 0.5, 1e-6);
    // The reader at J2000 adds t * pm to the place: that must give the J2000 place back.
    EXPECT_NEAR(s.RaDegrees() + s.pmRa * YearsHipparcosToJ2000 / 3600.0, 15.5142, 2e-6);
    EXPECT_NEAR(s.DecDegrees() + s.pmDec * YearsHipparcosToJ2000 / 3600.0, -60.5042, 2e-6);

    const literal::Star& still = f.stars[1];  // HIP 20: no motion, no HD, "K?" type
    EXPECT_EQ(still.hd, 0u);
    EXPECT_FLOAT_EQ(still.pmRa, 0.0f);
    EXPECT_NEAR(still.RaDegrees(), 300.0, 2e-6);
    EXPECT_EQ(still.spectral, "K");
}
