#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "catalogues/TextCursor.h"
#include "platform/AtomicFile.h"
#include "platform/LargeMemory.h"
#include "tests/support/Watchdog.h"

namespace {

TEST(BoundedLineRead, StopsAfterTheLineEndOrAtItsMaximumAndTheNextReadContinues) {
    TextCursor text("CMa\nAlp1\nK0III \n");
    EXPECT_EQ(text.ReadLine(4), "CMa\n");
    EXPECT_EQ(text.ReadLine(3), "Alp");  // the maximum comes first
    EXPECT_EQ(text.ReadLine(5), "1\n");  // and the rest is the next read's
    EXPECT_EQ(text.ReadLine(21), "K0III \n");
    EXPECT_EQ(text.ReadLine(63), "");  // nothing left: an empty read, never a stale one
    EXPECT_TRUE(text.AtEnd());
}

TEST(BoundedLineRead, SkippingALineLandsAfterItsEndOrAtTheEndOfTheText) {
    TextCursor text("rest of a long line\nnext");
    text.SkipLine();
    EXPECT_EQ(text.ReadLine(10), "next");
    text.SkipLine();
    EXPECT_TRUE(text.AtEnd());
}

TEST(FormattedRead, IntegersSkipBlanksTakeASignAndStopAtTheFirstNonDigit) {
    TextCursor text("  \n 42x -7 +9");
    uint32_t u = 0;
    EXPECT_TRUE(text.ReadUnsigned(u));
    EXPECT_EQ(u, 42u);
    char c = 0;
    EXPECT_TRUE(text.ReadChar(c));
    EXPECT_EQ(c, 'x');
    // A minus sign wraps round, as the C library's unsigned conversion does.
    EXPECT_TRUE(text.ReadUnsigned(u));
    EXPECT_EQ(u, 4294967289u);
    uint16_t h = 0;
    EXPECT_TRUE(text.ReadUnsignedShort(h));
    EXPECT_EQ(h, 9u);
    EXPECT_FALSE(text.ReadUnsigned(u));  // at the end: nothing converted, nothing stored
    EXPECT_EQ(u, 4294967289u);
}

TEST(FormattedRead, AHugeCountSaturatesInsteadOfWrappingToASmallNumber) {
    uint32_t count = 0;
    TextCursor huge("99999999999999999999999\n");
    EXPECT_TRUE(huge.ReadCount(count));
    EXPECT_EQ(count, 4294967295u);
    TextCursor negative("-99999999999999999999999\n");
    EXPECT_TRUE(negative.ReadCount(count));
    EXPECT_EQ(count, 4294967295u);
    TextCursor all("4294967295\n");
    EXPECT_TRUE(all.ReadCount(count));
    EXPECT_EQ(count, 4294967295u);
}

TEST(FormattedRead, AFieldThatIsNotANumberFailsAndLeavesTheTextWhereItStands) {
    TextCursor text("  Ori 5");
    uint32_t u = 7;
    float f = 7.0f;
    EXPECT_FALSE(text.ReadUnsigned(u));
    EXPECT_FALSE(text.ReadFloat(f));
    EXPECT_EQ(u, 7u);
    EXPECT_EQ(f, 7.0f);
    EXPECT_EQ(text.ReadLine(3), "Ori");
}

TEST(FormattedRead, FloatsAreTheCorrectlyRoundedValueOfTheDecimal) {
    // The reader takes a shortcut for short decimals; it must give exactly
    // what the C library gives, digit count and sign notwithstanding.
    std::mt19937_64 random(7);
    char buffer[64];
    for (int i = 0; i < 200000; ++i) {
        const int decimals = static_cast<int>(random() % 10);
        const double magnitude =
            std::ldexp(static_cast<double>(random() % 1000000007), -static_cast<int>(random() % 30));
        const double v = (random() % 2 ? -1.0 : 1.0) * magnitude;
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
        TextCursor text(buffer);
        float got = 0.0f;
        ASSERT_TRUE(text.ReadFloat(got)) << buffer;
        ASSERT_EQ(got, std::strtof(buffer, nullptr)) << buffer;
        ASSERT_TRUE(text.AtEnd()) << buffer;
    }
}

TEST(FormattedRead, FloatsWithExponentsLeadingPointsOrOverflowAsTheCLibraryReadsThem) {
    for (const char* s : {"1.5e3", "-2.5E-2", ".5", "5.", "-0.0", "1e40", "1e-50", "0.000000000123456789",
                          "123456789012345678", "16777217", "0.1000000000000000055511151231257827"}) {
        TextCursor text(s);
        float got = 0.0f;
        ASSERT_TRUE(text.ReadFloat(got)) << s;
        EXPECT_EQ(got, std::strtof(s, nullptr)) << s;
        EXPECT_EQ(std::signbit(got), std::signbit(std::strtof(s, nullptr))) << s;
    }
}

class FileReading : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::path(testing::TempDir()) /
               ("velkaris-file-reading-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) +
                "-" + std::to_string(getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ / "folder");
        std::ofstream(dir_ / "text", std::ios::binary) << "2\r\nname\r\nlast\rline";
        std::ofstream(dir_ / "empty", std::ios::binary);
        ASSERT_EQ(mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string At(const char* name) const { return (dir_ / name).string(); }

    std::filesystem::path dir_;
};

// Every way the program reads a file is the same routine underneath: only
// regular files, nothing that could wait, carriage returns before line ends
// dropped, and a reason when nothing could be read.
TEST_F(FileReading, EveryReaderReadsOnlyRegularFilesAndNeverWaits) {
    // The older interfaces do not tell why.
    struct Reader {
        const char* name;
        bool tellsWhy;
        std::function<bool(const std::string&, std::string&, FileProblem&)> read;
    };
    const Reader readers[] = {
        {"whole file", true,
         [](const std::string& path, std::string& text, FileProblem& problem) {
             FileText file;
             const bool ok = file.Read(path);
             text.assign(file.view());
             problem = file.problem();
             return ok;
         }},
        {"start of a file", true,
         [](const std::string& path, std::string& text, FileProblem& problem) {
             FileText file;
             const bool ok = file.ReadStart(path, 4096);
             text.assign(file.view());
             problem = file.problem();
             return ok;
         }},
        {"catalogue header", false,
         [](const std::string& path, std::string& text, FileProblem&) {
             bool complete = false;
             return ReadFileStart(path, 4096, text, complete);
         }},
        {"settings", false,
         [](const std::string& path, std::string& text, FileProblem&) {
             bool missing = false, truncated = false;
             return ReadFileBounded(path, 4096, text, missing, truncated);
         }},
    };
    struct Case {
        std::string path;
        FileProblem problem;
        const char* text;
    };
    const Case cases[] = {
        {At("text"), FileProblem::None, "2\nname\nlast\rline"},
        {At("empty"), FileProblem::None, ""},
        {At("missing"), FileProblem::Missing, ""},
        {At("folder"), FileProblem::NotRegularFile, ""},
        {At("pipe"), FileProblem::NotRegularFile, ""},
        {"/dev/zero", FileProblem::NotRegularFile, ""},
        {"/dev/tty", FileProblem::NotRegularFile, ""},
    };
    const Watchdog watchdog(20);
    for (const Reader& reader : readers) {
        for (const Case& c : cases) {
            std::string text = "stale";
            FileProblem problem = FileProblem::TooLarge;
            const bool ok = reader.read(c.path, text, problem);
            EXPECT_EQ(ok, c.problem == FileProblem::None) << reader.name << ": " << c.path;
            if (reader.tellsWhy) {
                EXPECT_EQ(problem, c.problem) << reader.name << ": " << c.path;
            }
            EXPECT_EQ(text, c.text) << reader.name << ": " << c.path;
        }
    }
}

// A limit counts the bytes of the file as they are on the disk.
TEST_F(FileReading, ALimitCutsTheStartOfAFileOrRefusesTheWhole) {
    struct Row {
        std::size_t limit;
        const char* start;
        bool complete;
    } rows[] = {
        {100, "2\nname\nlast\rline", true},
        {18, "2\nname\nlast\rline", true},
        {17, "2\nname\nlast\rlin", false},
        {3, "2\n", false},
        {0, "", false},
    };
    for (const Row& r : rows) {
        FileText start;
        ASSERT_TRUE(start.ReadStart(At("text"), r.limit)) << r.limit;
        EXPECT_EQ(start.view(), r.start) << r.limit;
        EXPECT_EQ(start.complete(), r.complete) << r.limit;
        FileText whole;
        EXPECT_EQ(whole.Read(At("text"), r.limit), r.complete) << r.limit;
        EXPECT_EQ(whole.problem(), r.complete ? FileProblem::None : FileProblem::TooLarge) << r.limit;
        EXPECT_EQ(whole.view(), r.complete ? r.start : "") << r.limit;
    }
}

}  // namespace
