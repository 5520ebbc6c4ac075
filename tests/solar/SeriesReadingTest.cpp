#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "solar/PlanetSeries.h"

namespace {

// A series file with the given term counts for the 18 series; term k of
// series s is "A B C" with A = s + 1, B = 0.1 k, C = 10 s.
std::string SeriesText(const std::vector<int>& counts, const char* lineEnd = "\n") {
    std::string text;
    for (std::size_t s = 0; s < PlanetSeries::Count; ++s) {
        const int n = s < counts.size() ? counts[s] : 0;
        text += std::to_string(s) + lineEnd + std::to_string(n) + lineEnd;
        for (int k = 0; k < n; ++k) {
            char line[96];
            std::snprintf(line, sizeof line, "%zu %.1f %zu%s", s + 1, 0.1 * k, 10 * s, lineEnd);
            text += line;
        }
    }
    return text;
}

struct ReadCase {
    const char* what;
    std::string text;
    SeriesFileStatus status;
    std::vector<std::size_t> counts;  // terms kept per series; missing entries are 0
};

TEST(SeriesFile, WholeDamagedAndHostileFilesKeepOnlyWholeSeries) {
    const std::string whole = SeriesText({3, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 4});
    const std::string firstTwo = SeriesText({3, 2});
    const std::vector<ReadCase> cases = {
        {"every series read", whole, SeriesFileStatus::Read, {3, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 4}},
        {"Windows line ends", SeriesText({3, 2, 0, 0, 0, 0, 1}, "\r\n"), SeriesFileStatus::Read, {3, 2, 0, 0, 0, 0, 1}},
        {"numbers need no line structure", "0 2 1 0 0 2 0 0\n" + SeriesText({}).substr(4), SeriesFileStatus::Read, {2}},
        {"breaks off inside the third series",
         whole.substr(0, whole.find("13 0.0 120")),
         SeriesFileStatus::Damaged,
         {3, 2, 0, 0, 0, 0, 1}},
        {"breaks off after two series", firstTwo.substr(0, firstTwo.find("2\n0\n")), SeriesFileStatus::Damaged, {3, 2}},
        {"a count the file does not hold",
         "0\n3\n1 0 0\n1\n4294967295\n1 2 3\n1 2 3\n1 2 3\n",
         SeriesFileStatus::Damaged,
         {3}},
        {"a negative count", "0\n-1\n1 2 3\n", SeriesFileStatus::Damaged, {}},
        {"a count above any real series", "0\n70000\n1 2 3\n", SeriesFileStatus::Damaged, {}},
        {"a word among the numbers", "0\n2\n1 0 0\n1 zero 0\n", SeriesFileStatus::Damaged, {}},
        {"a term that is no number", "0\n1\nnan 0 0\n", SeriesFileStatus::Damaged, {}},
        {"empty file", "", SeriesFileStatus::Damaged, {}},
        {"every series without terms", SeriesText({}), SeriesFileStatus::Damaged, {}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        PlanetSeries series;
        EXPECT_EQ(series.LoadText(c.text), c.status);
        std::size_t total = 0;
        for (int s = 0; s < PlanetSeries::Count; ++s) {
            const std::size_t expected = static_cast<std::size_t>(s) < c.counts.size() ? c.counts[s] : 0;
            EXPECT_EQ(series.TermCount(s), expected) << "series " << s;
            total += expected;
        }
        EXPECT_EQ(series.TermCount(), total);
    }
}

TEST(SeriesFile, SumsAreTermByTermAndEachCoordinateIsAPolynomialInTime) {
    PlanetSeries series;
    ASSERT_EQ(series.LoadText(SeriesText({3, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 4})), SeriesFileStatus::Read);
    // At tau = 0 a series is the sum of A cos B.
    EXPECT_NEAR(static_cast<double>(series.Sum(0, 0.0)), 1 * (std::cos(0.0) + std::cos(0.1) + std::cos(0.2)), 1e-15);
    EXPECT_EQ(series.Sum(2, 0.3), 0.0L);  // an empty series adds nothing
    const double tau = 0.0123;
    const double l0 = std::cos(0.0) + std::cos(0.1) + std::cos(0.2);
    const double l1 = 2 * (std::cos(0.0 + 10 * tau) + std::cos(0.1 + 10 * tau));
    const double b0 = 7 * std::cos(60 * tau);
    double r0 = 0;
    for (int k = 0; k < 4; ++k) r0 += 13 * std::cos(0.1 * k + 120 * tau);
    const PlanetSeries::Place p = series.Evaluate({1.0L, tau, tau * tau, 0, 0, 0});
    EXPECT_NEAR(static_cast<double>(p.L), l0 + l1 * tau, 1e-14);
    EXPECT_NEAR(static_cast<double>(p.B), b0, 1e-14);
    EXPECT_NEAR(static_cast<double>(p.R), r0, 1e-14);
    const auto powers = PlanetSeries::PowersAt(2451545.0 + 365250.0 * tau);
    EXPECT_NEAR(static_cast<double>(powers[1]), tau, 1e-15);
    EXPECT_NEAR(static_cast<double>(powers[5]), std::pow(tau, 5), 1e-18);
}

TEST(SeriesFile, AFileThatCannotBeReadLeavesTheSeriesAndAPipeIsNeverWaitedFor) {
    const std::string dir = testing::TempDir() + "series-" + std::to_string(getpid());
    ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    const std::string path = dir + "/la_Test.dat";
    std::FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_TRUE(f);
    const std::string text = SeriesText({2, 1});
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);

    PlanetSeries series;
    EXPECT_EQ(series.Load(path), SeriesFileStatus::Read);
    EXPECT_EQ(series.Load(path), SeriesFileStatus::Read);  // read again: one copy, not two
    EXPECT_EQ(series.TermCount(), 3u);
    EXPECT_EQ(series.Load(dir + "/la_Nothing.dat"), SeriesFileStatus::Missing);
    EXPECT_EQ(series.TermCount(), 3u);
    const std::string fifo = dir + "/la_Pipe.dat";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(series.Load(fifo), SeriesFileStatus::Missing);
    EXPECT_EQ(series.TermCount(), 3u);
    std::remove(fifo.c_str());
    std::remove(path.c_str());
    rmdir(dir.c_str());

    EXPECT_EQ(SeriesFileName("earth", false), "data/la_earth.dat");
    EXPECT_EQ(SeriesFileName("Mercury", true), "data/ha_Mercury.dat");
}

}  // namespace
