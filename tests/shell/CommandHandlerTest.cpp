#include <gtest/gtest.h>

#include <QKeyEvent>
#include <string>
#include <vector>

#include "astro/Constants.h"
#include "settings/DisplayOptions.h"
#include "shell/CommandHandler.h"
#include "shell/KeyCodes.h"

namespace {

// Stands in for the planetarium: keeps the values the commands change and a
// log of the calls, so a test sees both the effect and the message.
class RecordingTarget : public CommandTarget {
public:
    float starLimit = 4.5f;
    float dsoLimit = 9.0f;
    DisplayOptions options;
    bool readSlew = false, writeSlew = false;
    std::vector<std::string> calls;

    float SetStarLimit(float m) override {
        calls.push_back("SetStarLimit");
        return starLimit = m;
    }
    float ShiftStarLimit(float d) override {
        calls.push_back("ShiftStarLimit");
        return starLimit += d;
    }
    float ShiftDsoLimit(float d) override {
        calls.push_back("ShiftDsoLimit");
        return dsoLimit += d;
    }
    void ChangeProjection(int p) override { calls.push_back("ChangeProjection " + std::to_string(p)); }
    void SetDirectionDegrees(int d, bool redraw) override {
        calls.push_back("SetDirectionDegrees " + std::to_string(d) + (redraw ? " redraw" : ""));
    }
    void SetElevation(float r, bool redraw) override {
        calls.push_back("SetElevation " + std::to_string(static_cast<int>(r * 1000)) + (redraw ? " redraw" : ""));
    }
    void Scroll(int code) override { calls.push_back("Scroll " + std::to_string(code)); }
    void Zoom(float f) override { calls.push_back("Zoom " + std::to_string(static_cast<int>(f * 10))); }
    void ToggleLock() override { calls.push_back("ToggleLock"); }
    void LookAtSelected() override { calls.push_back("LookAtSelected"); }
    bool ToggleOption(std::size_t i) override {
        calls.push_back("ToggleOption " + std::to_string(i));
        return options[i] = !options[i];
    }
    void Paint() override { calls.push_back("Paint"); }
    bool ToggleReadSlewFile() override { return readSlew = !readSlew; }
    bool ToggleWriteSlewFile() override { return writeSlew = !writeSlew; }
    void Brighten() override { calls.push_back("Brighten"); }
    void Dim() override { calls.push_back("Dim"); }
    void ToggleRed() override { calls.push_back("ToggleRed"); }
    void Help() override { calls.push_back("Help"); }
    void ToggleToolbar() override { calls.push_back("ToggleToolbar"); }
};

constexpr KeyModifiers None{};
constexpr KeyModifiers WithShift{true, false, false};
constexpr KeyModifiers WithCtrl{false, true, false};

class CommandHandlerTest : public ::testing::Test {
protected:
    void SetUp() override { InitialiseConstants(); }
    std::string Key(char c, KeyModifiers m = None) { return handler.HandleKey(Vk::Letter(c), m); }
    std::string Code(uint16_t code, KeyModifiers m = None) { return handler.HandleKey(code, m); }

    RecordingTarget target;
    CommandHandler handler{target};
};

TEST_F(CommandHandlerTest, DigitsSetTheStarLimitWithPaddedMessage) {
    const float plain[9] = {1, 2, 3, 4, 4.5f, 5, 5.5f, 6, 7};
    const float shifted[9] = {8, 9, 10, 11, 11.5f, 12, 12.5f, 13, 25};
    for (int d = 1; d <= 9; ++d) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "Limiting Magnitude set to: %5.2f", plain[d - 1]);
        EXPECT_EQ(Code(Vk::Digit0 + d), expected) << d;
        EXPECT_FLOAT_EQ(target.starLimit, plain[d - 1]);
        std::snprintf(expected, sizeof expected, "Limiting Magnitude set to: %5.2f", shifted[d - 1]);
        EXPECT_EQ(Code(Vk::Digit0 + d, WithShift), expected) << "shift " << d;
        EXPECT_FLOAT_EQ(target.starLimit, shifted[d - 1]);
    }
    EXPECT_EQ(Code(Vk::Digit0 + 4), "Limiting Magnitude set to:  4.00");
    EXPECT_EQ(Code(Vk::BracketRight, WithShift), "Limiting Magnitude set to:  4.25");
    EXPECT_EQ(Code(Vk::BracketLeft, WithShift), "Limiting Magnitude set to:  4.00");
    EXPECT_EQ(Code(Vk::Digit0 + 9, WithShift), "Limiting Magnitude set to: 25.00");
    // 0 is no command, neither plain nor shifted.
    EXPECT_EQ(Code(Vk::Digit0), "Unknown command sequence");
    EXPECT_EQ(Code(Vk::Digit0, WithShift), "Unknown command sequence");
}

TEST_F(CommandHandlerTest, DeepSkyLimitStepsWholeMagnitudesWithoutClamping) {
    EXPECT_EQ(Code(Vk::Comma, WithShift), "DSO Magnitude set to:  8.00");
    Code(Vk::Comma, WithShift);
    EXPECT_EQ(Code(Vk::Comma, WithShift), "DSO Magnitude set to:  6.00");
    EXPECT_EQ(Code(Vk::Period, WithShift), "DSO Magnitude set to:  7.00");
    for (int i = 0; i < 10; ++i) Code(Vk::Comma, WithShift);
    EXPECT_EQ(handler.message(), "DSO Magnitude set to: -3.00");
}

TEST_F(CommandHandlerTest, SingleKeysAndTheirMessages) {
    struct Row {
        uint16_t code;
        const char* message;
        const char* call;
    };
    const Row rows[] = {
        {Vk::End, "Looking at selected", "LookAtSelected"},
        {Vk::Home, "Reset Scroll", "Scroll 0"},
        {Vk::Left, "Scroll Left", "Scroll 4"},
        {Vk::Up, "Scroll Up", "Scroll 1"},
        {Vk::Right, "Scroll Right", "Scroll 2"},
        {Vk::Down, "Scroll Down", "Scroll 3"},
        {Vk::Backslash, "Updated Lock", "ToggleLock"},
        {Vk::F1, "Help called", "Help"},
        {Vk::F2, "Toolbar toggled", "ToggleToolbar"},
    };
    for (const Row& row : rows) {
        target.calls.clear();
        EXPECT_EQ(Code(row.code), row.message);
        ASSERT_EQ(target.calls.size(), 1u) << row.message;
        EXPECT_EQ(target.calls[0], row.call);
        EXPECT_EQ(handler.state(), CommandHandler::Idle);
    }
    EXPECT_EQ(Code(Vk::Tab), "Unknown command sequence");
    EXPECT_EQ(Code(Vk::F3), "Unknown command sequence");
    EXPECT_EQ(Key('X'), "Unknown command sequence");
    EXPECT_EQ(Code(Vk::Home, WithShift), "Unknown command sequence");
}

TEST_F(CommandHandlerTest, ZoomKeysLeaveTheMessageUnchanged) {
    Code(Vk::Up);
    target.calls.clear();
    EXPECT_EQ(Code(Vk::BracketRight), "Scroll Up");
    EXPECT_EQ(Code(Vk::BracketLeft), "Scroll Up");
    EXPECT_EQ(target.calls, (std::vector<std::string>{"Zoom 15", "Zoom -15"}));
    Key('X');
    EXPECT_EQ(Code(Vk::BracketLeft), "Unknown command sequence");
}

TEST_F(CommandHandlerTest, CtrlAndAltAreIgnored) {
    EXPECT_EQ(Code(Vk::Digit0 + 1, WithCtrl), "Limiting Magnitude set to:  1.00");
    EXPECT_EQ(Code(Vk::F1, KeyModifiers{false, true, false}), "Help called");
    EXPECT_EQ(Code(Vk::F2, KeyModifiers{false, false, true}), "Toolbar toggled");
    EXPECT_EQ(Key('S', WithCtrl), "Stars: ");
    EXPECT_EQ(Key('N', WithCtrl), "Stars: names OFF");
}

TEST_F(CommandHandlerTest, EveryToggleOfEveryGroup) {
    struct Row {
        char group;
        char key;
        std::size_t option;
        const char* onText;
    };
    using O = DisplayOptions;
    const Row rows[] = {
        {'P', 'N', O::ShowPlanetNames, "Planets: names "},
        {'P', 'O', O::ShowPlanets, "Planets: "},
        {'S', 'B', O::ShowBayerId, "Stars: bayer id "},
        {'S', 'F', O::ShowFlamsteedId, "Stars: flamsteed id "},
        {'S', 'H', O::ShowHD, "Stars: hd id "},
        {'S', 'N', O::ShowStarNames, "Stars: names "},
        {'S', 'O', O::ShowStars, "Stars: "},
        {'D', 'C', O::ShowClusters, "Deepsky: clusters "},
        {'D', 'G', O::ShowGalaxies, "Deepsky: galaxies "},
        {'D', 'M', O::ShowMessierOnly, "Deepsky: messier only "},
        {'D', 'N', O::ShowDSONames, "Deepsky: names "},
        {'D', 'O', O::ShowDSOs, "Deepsky: "},
        {'D', 'R', O::ShowOtherDSOs, "Deepsky: other dsos "},
        {'L', 'C', O::ShowConLines, "Lines: constellations "},
        {'L', 'E', O::ShowEquator, "Lines: equator "},
        {'L', 'H', O::ShowHorizon, "Lines: horizon "},
        {'G', 'E', O::ShowEquatorialGrid, "Grids: equatorial "},
        {'G', 'H', O::ShowHorizontalGrid, "Grids: horizontal "},
        {'M', 'N', O::ShowMoonName, "Moon: name "},
        {'M', 'O', O::ShowMoon, "Moon: "},
        {'M', 'U', O::ShowUmbra, "Moon: umbra "},
        {'A', 'I', O::ShowMPNumbers, "Asteroids: "},
        {'A', 'N', O::ShowMPNames, "Asteroids: "},
        {'A', 'O', O::ShowMinorPlanets, "Asteroids: "},
    };
    for (const Row& row : rows) {
        const bool before = target.options[row.option];
        const std::string prefix = row.onText;
        const std::string groupPrefix = prefix.substr(0, prefix.find(": ") + 2);
        EXPECT_EQ(Key(row.group), groupPrefix);
        EXPECT_NE(handler.state(), CommandHandler::Idle);
        EXPECT_EQ(Key(row.key), prefix + (before ? "OFF" : "ON")) << row.group << row.key;
        EXPECT_EQ(target.options[row.option], !before);
        EXPECT_EQ(handler.state(), CommandHandler::Idle);
        // Shift makes no difference inside a group.
        Key(row.group);
        EXPECT_EQ(Key(row.key, WithShift), prefix + (before ? "ON" : "OFF"));
        EXPECT_EQ(target.options[row.option], before);
    }
}

TEST_F(CommandHandlerTest, SunTogglesRepaintAfterwards) {
    EXPECT_EQ(Key('S', WithShift), "Sun: ");
    EXPECT_EQ(Key('N'), "Sun: name OFF");
    EXPECT_EQ(target.calls, (std::vector<std::string>{"ToggleOption 19", "Paint"}));
    Key('S', WithShift);
    EXPECT_EQ(Key('O'), "Sun: OFF");
    Key('S', WithShift);
    EXPECT_EQ(Key('X'), "Unknown command sequence");
}

TEST_F(CommandHandlerTest, ProjectionsByDigitAndLetter) {
    const char* names[9] = {"orthographic",
                            "stereographic",
                            "equal area",
                            "lambert cylindrical equal area",
                            "behrman cylindrical equal area",
                            "tristan edwards",
                            "peters",
                            "gall orthographic",
                            "balthasart orthographic"};
    const char letters[] = "OSELBTPGA";
    for (int p = 0; p < 9; ++p) {
        EXPECT_EQ(Key('P', WithShift), "Projection: ");
        target.calls.clear();
        EXPECT_EQ(Code(Vk::Digit0 + p), std::string("Projection: ") + names[p]);
        EXPECT_EQ(target.calls, std::vector<std::string>{"ChangeProjection " + std::to_string(p)});
        Key('P', WithShift);
        target.calls.clear();
        EXPECT_EQ(Key(letters[p]), std::string("Projection: ") + names[p]);
        EXPECT_EQ(target.calls, std::vector<std::string>{"ChangeProjection " + std::to_string(p)});
    }
    Key('P', WithShift);
    target.calls.clear();
    EXPECT_EQ(Code(Vk::Digit0 + 9), "Unknown command sequence");
    EXPECT_TRUE(target.calls.empty());
}

TEST_F(CommandHandlerTest, ViewAndColourGroups) {
    struct Row {
        char group;
        char key;
        const char* message;
        const char* call;
    };
    const Row rows[] = {
        {'V', 'N', "View: North", "SetDirectionDegrees 0 redraw"},
        {'V', 'E', "View: East", "SetDirectionDegrees 90 redraw"},
        {'V', 'S', "View: South", "SetDirectionDegrees 180 redraw"},
        {'V', 'W', "View: West", "SetDirectionDegrees 270 redraw"},
        {'V', 'H', "View: elevation horizontal", "SetElevation 0 redraw"},
        {'V', 'I', "View: elevation intermediate", "SetElevation 785 redraw"},
        {'V', 'Z', "View: elevation zenith", "SetElevation 1570 redraw"},
        {'C', 'B', "Color: Brighter", "Brighten"},
        {'C', 'D', "Color: Dimmer", "Dim"},
        {'C', 'R', "Color: Red Mode", "ToggleRed"},
    };
    for (const Row& row : rows) {
        Key(row.group);
        target.calls.clear();
        EXPECT_EQ(Key(row.key), row.message);
        EXPECT_EQ(target.calls, std::vector<std::string>{row.call});
    }
}

TEST_F(CommandHandlerTest, SlewTogglesOnlyFlipFlags) {
    EXPECT_EQ(Key('Q'), "Misc: ");
    EXPECT_EQ(Key('R'), "Misc: Read slew file ON");
    Key('Q');
    EXPECT_EQ(Key('W'), "Misc: Write slew file ON");
    Key('Q');
    EXPECT_EQ(Key('R'), "Misc: Read slew file OFF");
    EXPECT_FALSE(target.readSlew);
    EXPECT_TRUE(target.writeSlew);
}

TEST_F(CommandHandlerTest, UnknownKeysCloseTheSequence) {
    EXPECT_EQ(Key('P'), "Planets: ");
    EXPECT_EQ(Key('X'), "Unknown command sequence");
    EXPECT_EQ(handler.state(), CommandHandler::Idle);
    EXPECT_EQ(Key('N'), "Unknown command sequence");
    // An arrow inside an open group closes it and does not scroll.
    Key('P');
    target.calls.clear();
    EXPECT_EQ(Code(Vk::Left), "Unknown command sequence");
    EXPECT_TRUE(target.calls.empty());
    EXPECT_EQ(handler.state(), CommandHandler::Idle);
    Key('L');
    EXPECT_EQ(Code(Vk::Tab), "Unknown command sequence");
    EXPECT_EQ(handler.state(), CommandHandler::Idle);
}

TEST_F(CommandHandlerTest, ShiftAloneKeepsTheSequenceAndTheMessage) {
    EXPECT_EQ(Key('P'), "Planets: ");
    EXPECT_EQ(Code(Vk::Shift, WithShift), "Planets: ");
    EXPECT_EQ(handler.state(), CommandHandler::Planets);
    EXPECT_EQ(Key('N', WithShift), "Planets: names OFF");
    EXPECT_EQ(Code(Vk::Shift, WithShift), "Planets: names OFF");
    EXPECT_EQ(Key('N'), "Unknown command sequence");
}

TEST(KeyCodes, ShiftedSymbolsMapBackToTheirKeys) {
    struct Row {
        int qtKey;
        uint16_t code;
    };
    const Row rows[] = {
        {Qt::Key_1, 49},           {Qt::Key_Exclam, 49},        {Qt::Key_At, 50},
        {Qt::Key_NumberSign, 51},  {Qt::Key_Dollar, 52},        {Qt::Key_Percent, 53},
        {Qt::Key_AsciiCircum, 54}, {Qt::Key_Ampersand, 55},     {Qt::Key_Asterisk, 56},
        {Qt::Key_ParenLeft, 57},   {Qt::Key_ParenRight, 48},    {Qt::Key_BracketLeft, 219},
        {Qt::Key_BraceLeft, 219},  {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221},
        {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},          {Qt::Key_Comma, 188},
        {Qt::Key_Less, 188},       {Qt::Key_Period, 190},       {Qt::Key_Greater, 190},
        {Qt::Key_P, 'P'},          {Qt::Key_Left, 37},          {Qt::Key_Tab, 9},
        {Qt::Key_Backtab, 9},      {Qt::Key_F1, 112},           {Qt::Key_Shift, 16},
    };
    for (const Row& row : rows) EXPECT_EQ(VirtualKeyOf(row.qtKey, false, 0), row.code) << row.qtKey;
    // Keypad digits are not the main-keyboard digits of the tables.
    EXPECT_EQ(VirtualKeyOf(Qt::Key_4, true, 0), 100);
    // Under X11 the key decides, whatever the layout made of it.
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Eacute, false, 10), 49);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Dead_Circumflex, false, 34), 219);
    EXPECT_EQ(VirtualKeyOf(Qt::Key_Semicolon, false, 59), 188);
}

}  // namespace
