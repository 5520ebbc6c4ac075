// The option reader every velkaris-cli command uses.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/cli/CommandOptions.h"

namespace {

struct Read {
    std::string limit;
    std::string name;
    bool on = false;
    std::vector<std::string> words;
};

struct Case {
    std::vector<std::string> args;
    bool words;         // the command takes plain words
    std::string error;  // empty: read
    std::string limit, name;
    bool on;
    std::vector<std::string> readWords;
};

const Case kCases[] = {
    {{}, false, "", "", "", false, {}},
    {{"--limit", "9.5", "--on"}, false, "", "9.5", "", true, {}},
    {{"--limit=-2", "--name=M 31"}, false, "", "-2", "M 31", false, {}},
    // A value may look like an option; an empty one is the option's to judge.
    {{"--name", "--on", "--limit="}, false, "", "", "--on", false, {}},
    {{"M", "--on", "31"}, true, "", "", "", true, {"M", "31"}},
    {{"M"}, false, "unknown option 'M' (see velkaris-cli test --help)", "", "", false, {}},
    {{"--limits", "1"}, false, "unknown option '--limits' (see velkaris-cli test --help)", "", "", false, {}},
    {{"--on=1"}, false, "unknown option '--on=1' (see velkaris-cli test --help)", "", "", false, {}},
    {{"--on", "--limit"}, false, "option --limit needs a magnitude", "", "", true, {}},
    {{"--name"}, true, "option --name needs a value", "", "", false, {}},
    {{"--limit", "bright", "--on"}, false, "malformed --limit 'bright'", "", "", false, {}},
};

TEST(CommandOptions, ReadsValuesSwitchesAndWordsAndSaysWhatIsWrong) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        Read read;
        CommandOptions options("test");
        options.Value(
            "--limit",
            [&](const std::string& v) -> std::string {
                if (v == "bright") return "malformed --limit '" + v + "'";
                read.limit = v;
                return {};
            },
            "a magnitude");
        options.Value("--name", [&](const std::string& v) -> std::string {
            read.name = v;
            return {};
        });
        options.Switch("--on", [&] { read.on = true; });
        if (c.words) options.Words([&](const std::string& w) { read.words.push_back(w); });
        std::string error;
        EXPECT_EQ(options.Parse(c.args, error), c.error.empty());
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(read.limit, c.limit);
        EXPECT_EQ(read.name, c.name);
        EXPECT_EQ(read.on, c.on);
        EXPECT_EQ(read.words, c.readWords);
    }
}

TEST(CommandOptions, LeavesWhatIsNotItsOwnToTheNextReader) {
    std::string at;
    std::vector<std::string> others;
    CommandOptions options("test");
    options.Value("--at", [&](const std::string& v) -> std::string {
        at = v;
        return {};
    });
    options.Others([&](const std::string& a) { others.push_back(a); });
    std::string error;
    ASSERT_TRUE(options.Parse({"--out", "x.png", "--at=2026-12-08T21:00:00", "--red", "--att", "M 31"}, error));
    EXPECT_EQ(at, "2026-12-08T21:00:00");
    EXPECT_EQ(others, (std::vector<std::string>{"--out", "x.png", "--red", "--att", "M 31"}));
    // Its own options still need their values.
    EXPECT_FALSE(options.Parse({"--red", "--at"}, error));
    EXPECT_EQ(error, "option --at needs a value");
}

}  // namespace
