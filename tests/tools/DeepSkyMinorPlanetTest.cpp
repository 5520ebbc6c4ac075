#include <cmath>
#include <sqlite3.h>

#include "LiteralReaders.h"
#include "TestSupport.h"
#include "TwoBody.h"
#include "tools/DeepSky.h"
#include "tools/MinorPlanets.h"

using namespace velkaris::tools;

namespace {

// A small catalogue database with the table layout of the KStars package.
std::string MakeDatabase(const std::string& dir) {
    std::string path = dir + "/test.kscat";
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const char* sql =
        "CREATE TABLE cat(hash, oid, type INT, ra REAL, dec REAL, magnitude REAL, name TEXT, long_name TEXT,"
        " catalog_identifier TEXT, major_axis REAL, minor_axis REAL, position_angle REAL, flux REAL, trixel INT,"
        " res_1, res_2, res_3, res_4, catalog INT);"
        "INSERT INTO cat(type, ra, dec, magnitude, name, long_name, catalog_identifier, major_axis) VALUES"
        " (8, 10.684708, 41.26875, 4.36, 'M 31', 'Andromeda Galaxy, PGC 2557, UGC 454, NGC 224', 'NGC0224', 177.83),"
        " (5, 85.25, -2.4, NULL, 'IC 434', 'Horsehead Nebula, Barnard 33', 'IC0434', 60.0),"
        " (8, 1.0, -0.01, 15.0, 'NGC 1', 'PGC 564, M 102', 'NGC0001', NULL),"
        " (255, 2.0, 1.0, NULL, 'IC 11', '', 'IC0011', NULL),"
        " (8, 3.0, 2.0, 14.0, 'IC 4554 NED01', '', 'IC4554 NED01', 1.0),"
        " (3, 56.75, 24.1167, 1.6, 'M 45', 'Pleiades', 'M 45', 110.0),"
        " (8, 4.0, 3.0, 14.0, 'XYZ 1', '', 'XYZ 1', 1.0),"
        " (8, NULL, 3.0, 14.0, 'NGC 2', '', 'NGC0002', 1.0);";
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    return path;
}

}  // namespace

TEST(DeepSky, DatabaseRowsBecomeReadableRecords) {
    QTemporaryDir dir;
    std::string out = dir.path().toStdString();
    Diagnostics diag;
    std::vector<DeepSkyRecord> records;
    ASSERT_TRUE(ReadOpenNgcDatabase(MakeDatabase(out), records, diag));
    EXPECT_EQ(diag.MalformedCount(), 2u);  // the unknown identifier and the row without a place
    ASSERT_EQ(records.size(), 6u);
    std::size_t merged =
        MergeNgcDescriptions(records, ParseNgc2000(ReadText(Fixtures() + "/ngc2000/ngc2000.dat"), "ngc2000.dat", diag));
    EXPECT_EQ(merged, 2u);
    SortDeepSky(records);
    ASSERT_TRUE(WriteFileAtomically(out + "/dsocat.dat", FormatDeepSky(records), diag));

    std::vector<literal::DeepSky> read;
    unsigned long count = 0;
    ASSERT_TRUE(literal::ReadDeepSkyFile(out + "/dsocat.dat", read, count));
    ASSERT_EQ(count, 6u);
    ASSERT_EQ(read.size(), 6u);
    // NGC by number, then IC, then the rest.
    EXPECT_EQ(read[0].designation, "1");
    EXPECT_EQ(read[0].decSign, '-');  // -0.6': the sign survives a zero degree field
    EXPECT_EQ(read[0].decD, 0);
    EXPECT_EQ(read[0].decM, 1);
    EXPECT_TRUE(read[0].name.empty());  // only cross identifications
    EXPECT_EQ(read[0].messier, 102);    // a Messier number found among them
    EXPECT_EQ(read[0].size, 0.0f);

    const literal::DeepSky& m31 = read[1];
    EXPECT_EQ(m31.designation, "224");
    EXPECT_EQ(m31.type, 1);
    EXPECT_EQ(m31.messier, 31);
    EXPECT_EQ(m31.name, "Andromeda Galaxy");
    EXPECT_EQ(m31.notes, "test words for the galaxy");
    EXPECT_EQ(m31.raH, 0);
    EXPECT_EQ(m31.raM, 42);
    EXPECT_NEAR(m31.raS, 44.3, 0.05);
    EXPECT_EQ(m31.decD, 41);
    EXPECT_EQ(m31.decM, 16);
    EXPECT_FLOAT_EQ(m31.size, 177.83f);

    EXPECT_EQ(read[2].designation, "IC11");
    EXPECT_EQ(read[2].type, 0);  // nonexistent or duplicate: never drawn
    const literal::DeepSky& ic434 = read[3];
    EXPECT_EQ(ic434.designation, "IC434");
    EXPECT_EQ(ic434.type, 4);
    EXPECT_EQ(ic434.name, "Horsehead Nebula");
    EXPECT_EQ(ic434.notes, "test words for a nebula that is long enough to be");
    EXPECT_EQ(read[4].designation, "I4554-1");
    EXPECT_TRUE(read[4].notes.empty());
    EXPECT_EQ(read[5].designation, "M45");
    EXPECT_EQ(read[5].messier, 45);
    EXPECT_EQ(read[5].type, 2);
}

TEST(DeepSky, CommonNamesKeepNamesAndDropIdentifiers) {
    EXPECT_EQ(CommonNameFrom("Andromeda Galaxy, PGC 2557, UGC 454, NGC 224"), "Andromeda Galaxy");
    EXPECT_EQ(CommonNameFrom("Sombrero Galaxy, PGC 42407, UGC A 293, NGC 4594"), "Sombrero Galaxy");
    EXPECT_EQ(CommonNameFrom("Beehive, Praesepe Cluster, NGC 2632"), "Beehive, Praesepe Cluster");
    EXPECT_EQ(CommonNameFrom("PGC 778"), "");
    EXPECT_EQ(CommonNameFrom(""), "");
    // Whole names only, never more than 62 characters.
    std::string longList = std::string(40, 'a') + ", " + std::string(30, 'b');
    EXPECT_EQ(CommonNameFrom(longList), std::string(40, 'a'));
    EXPECT_EQ(DeepSkyTypeFromKStars(8), 1);
    EXPECT_EQ(DeepSkyTypeFromKStars(6), 5);
    EXPECT_GT(DeepSkyTypeFromKStars(7), 5);
    EXPECT_GT(DeepSkyTypeFromKStars(17), 5);
}

TEST(MinorPlanets, ElementsAtTheCommonEpochReproduceTheSourcePlace) {
    Diagnostics diag;
    std::vector<MinorPlanetElements> planets =
        ParseMinorPlanets(ReadText(Fixtures() + "/kstars/asteroids.dat"), "asteroids.dat", diag);
    // The open orbit and the row without an eccentricity are reported and left out.
    EXPECT_EQ(diag.MalformedCount(), 2u);
    ASSERT_EQ(planets.size(), 4u);
    EXPECT_EQ(planets[0].number, 1);
    EXPECT_EQ(planets[1].number, 433);
    EXPECT_EQ(planets[2].number, 1000);
    EXPECT_EQ(planets[3].number, 0);
    EXPECT_EQ(planets[3].name, "2022 AB1");
    EXPECT_DOUBLE_EQ(planets[3].slope, 0.15);  // no slope given

    QTemporaryDir dir;
    std::string path = dir.path().toStdString() + "/asteroids.dat";
    ASSERT_TRUE(WriteFileAtomically(path, FormatMinorPlanets(planets), diag));
    std::vector<literal::MinorPlanet> read;
    ASSERT_TRUE(literal::ReadMinorPlanetFile(path, read));
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0].name, "Ceres");
    EXPECT_EQ(read[1].name, "Eros");
    EXPECT_EQ(read[2].name, "Averyveryveryveryl");  // cut to the 18-character field
    EXPECT_FLOAT_EQ(read[0].g, 0.12f);

    // Each object, run forward from the common epoch by the reader's own
    // steps, lands where its source elements put it at the source epoch.
    for (std::size_t i = 0; i < planets.size(); ++i) {
        const MinorPlanetElements& p = planets[i];
        twobody::Elements source{p.node,         p.perihelion,    p.inclination,
                                 p.eccentricity, p.semiMajorAxis, p.sourceMeanAnomaly};
        twobody::Vector expected = twobody::Heliocentric(source);
        twobody::Vector got = twobody::ReaderPlace(read[i], p.sourceEpochJD - TerrestrialMinusUniversalDays);
        EXPECT_LT(twobody::AngleBetween(expected, got), 0.5) << p.name;  // arcseconds
        EXPECT_NEAR(got.Length(), expected.Length(), 1e-5) << p.name;
    }
}

TEST(MinorPlanets, EpochsAreWholeCalendarDatesOfTheTwoCenturies) {
    const std::pair<const char*, double> valid[] = {
        {"2026-12-08", 2461382.5}, {"2000-01-01", 2451544.5}, {"2024-02-29", 2460369.5},
        {"1900-01-01", 2415020.5}, {"2100-12-31", 2488433.5},
    };
    for (const auto& [text, jd] : valid) {
        double got = 0;
        EXPECT_TRUE(ParseMinorEpoch(text, got)) << text;
        EXPECT_EQ(got, jd) << text;
        EXPECT_EQ(IsoDate(got), text);
    }
    for (const char* text : {"2026-02-29", "2026-13-01", "2026-2-8", "2026-12-08T00:00", "1899-12-31", "2101-01-01",
                             "+026-12-08", "", "today"}) {
        double got = 7;
        EXPECT_FALSE(ParseMinorEpoch(text, got)) << text;
        EXPECT_EQ(got, 7) << text;
    }
}
