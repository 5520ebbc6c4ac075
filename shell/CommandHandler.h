#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What the keyboard command language can ask of the planetarium. The main
// window forwards these to the controller and the view; tests plug in a
// recorder. Every operation redraws as the controller's own does.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    virtual float SetStarLimit(float magnitude) = 0;
    virtual float ShiftStarLimit(float delta) = 0;
    virtual float ShiftDsoLimit(float delta) = 0;
    virtual void ChangeProjection(int projection) = 0;
    virtual void SetDirectionDegrees(int degrees, bool redraw) = 0;
    virtual void SetElevation(float radians, bool redraw) = 0;
    virtual void Scroll(int code) = 0;
    virtual void Zoom(float factor) = 0;
    virtual void ToggleLock() = 0;
    virtual void LookAtSelected() = 0;
    // Flips one display option, redraws, and returns the new value.
    virtual bool ToggleOption(std::size_t index) = 0;
    // Copies the last frame to the window again.
    virtual void Paint() = 0;
    virtual bool ToggleReadSlewFile() = 0;
    virtual bool ToggleWriteSlewFile() = 0;
    virtual void Brighten() = 0;
    virtual void Dim() = 0;
    virtual void ToggleRed() = 0;
    virtual void Help() = 0;
    virtual void ToggleToolbar() = 0;
};

// Key codes as the command tables know them: the virtual-key codes of a US
// keyboard. Digits are those of the main keyboard; letters are 65..90.
namespace Vk {
constexpr uint16_t Tab = 9;
constexpr uint16_t Shift = 16;
constexpr uint16_t End = 35;
constexpr uint16_t Home = 36;
constexpr uint16_t Left = 37;
constexpr uint16_t Up = 38;
constexpr uint16_t Right = 39;
constexpr uint16_t Down = 40;
constexpr uint16_t Digit0 = 48;
constexpr uint16_t F1 = 112;
constexpr uint16_t F2 = 113;
constexpr uint16_t F3 = 114;
constexpr uint16_t Comma = 188;
constexpr uint16_t Period = 190;
constexpr uint16_t BracketLeft = 219;
constexpr uint16_t Backslash = 220;
constexpr uint16_t BracketRight = 221;
constexpr uint16_t Letter(char c) { return static_cast<uint16_t>(c); }
}  // namespace Vk

struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The keyboard command language: single keys and two-key sequences (a group
// key, then a command key), each confirmed by a short message.
class CommandHandler {
public:
    enum State : uint16_t {
        Idle = 0,
        Planets = 1,
        Stars = 2,
        Deepsky = 3,
        Lines = 4,
        Grids = 5,
        Projection = 6,
        Sun = 7,
        Moon = 8,
        View = 9,
        Color = 10,
        Asteroids = 11,
        Misc = 12,
    };

    explicit CommandHandler(CommandTarget& target) : target_(target) {}

    // Handles one key and returns the message to show afterwards. Only Shift
    // is looked at, and only when no sequence is open.
    const std::string& HandleKey(uint16_t key, KeyModifiers modifiers);

    uint16_t state() const { return state_; }
    const std::string& message() const { return message_; }

    static const char* GroupPrefix(uint16_t state);
    static const char* ProjectionName(int projection);

private:
    void HandleIdle(uint16_t key, bool shift);
    void HandleGroup(uint16_t group, uint16_t key);
    void Toggle(std::size_t option, const char* word);
    void SetMagnitudeMessage(const char* format, float value);

    CommandTarget& target_;
    uint16_t state_ = Idle;
    std::string message_;
};
