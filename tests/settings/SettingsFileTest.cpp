#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "SettingsTestSupport.h"
#include "platform/SettingsFile.h"

namespace {

using namespace std::literals;
using SettingsFileOnDisk = SettingsTest;

TEST(SettingsFileText, EveryByteOfANameSurvivesEscaping) {
    std::string all;
    for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
    const std::string escaped = SettingsFile::Escape(all, true);
    EXPECT_EQ(escaped.find('\n'), std::string::npos);
    EXPECT_EQ(escaped.find('='), std::string::npos);
    EXPECT_EQ(SettingsFile::Unescape(escaped), all);

    // Parsing a whole line brings the same name back.
    const auto entries = SettingsFile::Parse("int " + escaped + " = 1\n");
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, all);
}

TEST(SettingsFileText, MalformedEscapesAreRejected) {
    for (const char* bad : {"\\", "a\\q", "\\x4", "\\xZ1", "end\\x"})
        EXPECT_FALSE(SettingsFile::Unescape(bad).has_value()) << bad;
    EXPECT_EQ(SettingsFile::Unescape("\\x41\\\\x41"), "A\\x41");
}

TEST(SettingsFileText, NumbersAreStrict) {
    EXPECT_EQ(SettingsFile::ParseInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(SettingsFile::ParseInt("+17"), 17);
    for (const char* bad : {"", "2147483648", "12abc", "1.5", "0x10", "++1", "- 1", " 1"})
        EXPECT_FALSE(SettingsFile::ParseInt(bad).has_value()) << bad;

    EXPECT_EQ(SettingsFile::ParseFloat("-2.5e-3"), -2.5e-3);
    EXPECT_EQ(SettingsFile::ParseFloat("7"), 7.0);
    for (const char* bad : {"", "nan", "inf", "-inf", "1e400", "4,5", "4.5.1", "++4"})
        EXPECT_FALSE(SettingsFile::ParseFloat(bad).has_value()) << bad;
}

TEST(SettingsFileText, FloatsIgnoreTheUsersLocale) {
    // The window toolkit adopts the user's locale; a decimal comma must not
    // reach the file nor break reading it back.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const bool switched = std::setlocale(LC_ALL, "de_DE.UTF-8") || std::setlocale(LC_ALL, "fr_FR.UTF-8");
    const std::string text = SettingsFile::FormatFloat(4.5);
    const auto back = SettingsFile::ParseFloat("0.125");
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(text, "4.5");
    EXPECT_EQ(back, 0.125);
    if (!switched) GTEST_SKIP() << "no locale with a decimal comma installed";
}

TEST(SettingsFileText, CommentsBlanksDuplicatesAndLineEndings) {
    const auto entries = SettingsFile::Parse(
        "# comment = 1\n"
        "\n"
        "   ; int Old = 2\n"
        "int A = 1\r\n"
        "float B=2.5\n"
        "\tint   C   =   3   \n"
        "int A = 4\n"
        "text D = line\\x0Atwo\n"
        "int\0E = 5\n"
        "colour F\r = red\r \r\n"sv);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[0].name, "A");
    EXPECT_EQ(entries[0].value, "4");  // the later line wins, in the first one's place
    EXPECT_EQ(entries[1].name, "B");
    EXPECT_EQ(entries[1].value, "2.5");
    EXPECT_EQ(entries[2].name, "C");
    EXPECT_EQ(entries[2].value, "3");
    EXPECT_EQ(entries[3].name, "D");
    EXPECT_EQ(entries[3].value, "line\ntwo");
    // Carriage returns around a name or value go with the blanks, so that
    // the value is written back as it reads.
    EXPECT_EQ(entries[4].name, "F");
    EXPECT_EQ(entries[4].value, "red");
    const auto again = SettingsFile::Parse(SettingsFile::Serialise(entries));
    ASSERT_EQ(again.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(again[i].name, entries[i].name);
        EXPECT_EQ(again[i].type, entries[i].type);
        EXPECT_EQ(again[i].value, entries[i].value);
    }
}

TEST_F(SettingsFileOnDisk, TypesAreKeptApartAndUnknownTypesArePreserved) {
    writeRaw(
        "colour Sky = deep blue\n"
        "text Name = Vega\n"
        "int Count = 3\n");
    SettingsFile file(settingsFile().string());
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.textValue("Name"), "Vega");
    EXPECT_FALSE(file.intValue("Name").has_value());
    EXPECT_FALSE(file.floatValue("Count").has_value());
    EXPECT_FALSE(file.textValue("Sky").has_value());

    ASSERT_TRUE(file.setText("Name", "  Deneb = α Cyg \\ "));
    ASSERT_TRUE(file.setFloat("Count", 1.5));

    SettingsFile again(settingsFile().string());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.textValue("Name"), "  Deneb = α Cyg \\ ");
    EXPECT_EQ(again.floatValue("Count"), 1.5);
    EXPECT_FALSE(again.intValue("Count").has_value());
    // A value of a type this program does not know is written back untouched.
    EXPECT_NE(readRaw().find("colour Sky = deep blue\n"), std::string::npos);
}

TEST_F(SettingsFileOnDisk, OverlongNamesAndTextsAreRefusedNotTruncated) {
    fs::create_directories(productFolder());
    SettingsFile file(settingsFile().string());
    ASSERT_TRUE(file.load());
    EXPECT_FALSE(file.setInt(std::string(SettingsFile::MaxNameBytes + 1, 'n'), 1));
    EXPECT_FALSE(file.setText("t", std::string(SettingsFile::MaxTextBytes + 1, 't')));

    // The longest accepted name and text, escaped at their widest, still make
    // a line the reader accepts.
    const std::string name(SettingsFile::MaxNameBytes, '\x01');
    const std::string text(SettingsFile::MaxTextBytes, '\x02');
    ASSERT_TRUE(file.setText(name, text));
    SettingsFile again(settingsFile().string());
    ASSERT_TRUE(again.load());
    EXPECT_EQ(again.textValue(name), text);
}

TEST_F(SettingsFileOnDisk, AMissingFolderMakesWritesFailQuietly) {
    SettingsFile file((home_ / "no" / "such" / "folder" / "x.conf").string());
    EXPECT_TRUE(file.load());  // missing: empty but usable
    EXPECT_FALSE(file.setInt("a", 1));
    EXPECT_FALSE(file.intValue("a").has_value());
    EXPECT_FALSE(fs::exists(home_ / "no"));
}

}  // namespace
