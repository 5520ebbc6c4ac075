#include "shell/CommandHandler.h"

#include <cstdio>

#include "astro/Constants.h"
#include "astro/Projection.h"
#include "controller/Planetarium.h"
#include "settings/DisplayOptions.h"

namespace {

constexpr const char* Unknown = "Unknown command sequence";
// The status panel's buffer holds 127 characters and its terminator.
constexpr std::size_t MessageCapacity = 127;

constexpr float StarLimits[9] = {1.0f, 2.0f, 3.0f, 4.0f, 4.5f, 5.0f, 5.5f, 6.0f, 7.0f};
constexpr float ShiftedStarLimits[9] = {8.0f, 9.0f, 10.0f, 11.0f, 11.5f, 12.0f, 12.5f, 13.0f, 25.0f};

int DigitOf(uint16_t key) { return key >= Vk::Digit0 && key <= Vk::Digit0 + 9 ? key - Vk::Digit0 : -1; }

}  // namespace

const char* CommandHandler::GroupPrefix(uint16_t state) {
    switch (state) {
        case Planets: return "Planets: ";
        case Stars: return "Stars: ";
        case Deepsky: return "Deepsky: ";
        case Lines: return "Lines: ";
        case Grids: return "Grids: ";
        case Projection: return "Projection: ";
        case Sun: return "Sun: ";
        case Moon: return "Moon: ";
        case View: return "View: ";
        case Color: return "Color: ";
        case Asteroids: return "Asteroids: ";
        case Misc: return "Misc: ";
        default: return "";
    }
}

const char* CommandHandler::ProjectionName(int projection) { return ProjectionCommandName(projection); }

const std::string& CommandHandler::HandleKey(uint16_t key, KeyModifiers modifiers) {
    // Shift on its own arrives as a key of its own between the two keys of a
    // shifted sequence; it must neither close the group nor touch the message.
    if (key == Vk::Shift) return message_;

    if (state_ == Idle) {
        HandleIdle(key, modifiers.shift);
    } else {
        const uint16_t group = state_;
        state_ = Idle;
        HandleGroup(group, key);
    }
    if (message_.size() > MessageCapacity) message_.resize(MessageCapacity);
    return message_;
}

void CommandHandler::SetMagnitudeMessage(const char* format, float value) {
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<double>(value));
    message_ = text;
}

void CommandHandler::HandleIdle(uint16_t key, bool shift) {
    const int digit = DigitOf(key);
    if (shift) {
        if (digit >= 1) {
            SetMagnitudeMessage("Limiting Magnitude set to: %5.2f", target_.SetStarLimit(ShiftedStarLimits[digit - 1]));
        } else if (key == Vk::BracketLeft) {
            SetMagnitudeMessage("Limiting Magnitude set to: %5.2f", target_.ShiftStarLimit(-0.25f));
        } else if (key == Vk::BracketRight) {
            SetMagnitudeMessage("Limiting Magnitude set to: %5.2f", target_.ShiftStarLimit(0.25f));
        } else if (key == Vk::Comma) {
            SetMagnitudeMessage("DSO Magnitude set to: %5.2f", target_.ShiftDsoLimit(-1.0f));
        } else if (key == Vk::Period) {
            SetMagnitudeMessage("DSO Magnitude set to: %5.2f", target_.ShiftDsoLimit(1.0f));
        } else if (key == Vk::Letter('P')) {
            state_ = Projection;
            message_ = GroupPrefix(state_);
        } else if (key == Vk::Letter('S')) {
            state_ = Sun;
            message_ = GroupPrefix(state_);
        } else {
            message_ = Unknown;
        }
        return;
    }

    if (digit >= 1) {
        SetMagnitudeMessage("Limiting Magnitude set to: %5.2f", target_.SetStarLimit(StarLimits[digit - 1]));
        return;
    }
    switch (key) {
        case Vk::End:
            target_.LookAtSelected();
            message_ = "Looking at selected";
            return;
        case Vk::Home:
            target_.Scroll(ScrollReset);
            message_ = "Reset Scroll";
            return;
        case Vk::Left:
            target_.Scroll(ScrollLeft);
            message_ = "Scroll Left";
            return;
        case Vk::Up:
            target_.Scroll(ScrollUp);
            message_ = "Scroll Up";
            return;
        case Vk::Right:
            target_.Scroll(ScrollRight);
            message_ = "Scroll Right";
            return;
        case Vk::Down:
            target_.Scroll(ScrollDown);
            message_ = "Scroll Down";
            return;
        // Zooming keeps whatever the panel said before.
        case Vk::BracketLeft: target_.Zoom(-1.5f); return;
        case Vk::BracketRight: target_.Zoom(1.5f); return;
        case Vk::Backslash:
            target_.ToggleLock();
            message_ = "Updated Lock";
            return;
        case Vk::F1:
            target_.Help();
            message_ = "Help called";
            return;
        case Vk::F2:
            target_.ToggleToolbar();
            message_ = "Toolbar toggled";
            return;
        default: break;
    }
    uint16_t group = Idle;
    switch (key) {
        case 'P': group = Planets; break;
        case 'S': group = Stars; break;
        case 'D': group = Deepsky; break;
        case 'L': group = Lines; break;
        case 'G': group = Grids; break;
        case 'M': group = Moon; break;
        case 'V': group = View; break;
        case 'C': group = Color; break;
        case 'A': group = Asteroids; break;
        case 'Q': group = Misc; break;
        default: break;
    }
    if (group == Idle) {
        message_ = Unknown;
    } else {
        state_ = group;
        message_ = GroupPrefix(group);
    }
}

void CommandHandler::Toggle(std::size_t option, const char* word) {
    const bool on = target_.ToggleOption(option);
    message_ += word;
    message_ += on ? "ON" : "OFF";
}

void CommandHandler::HandleGroup(uint16_t group, uint16_t key) {
    using O = DisplayOptions;
    message_ = GroupPrefix(group);
    switch (group) {
        case Planets:
            if (key == 'N') return Toggle(O::ShowPlanetNames, "names ");
            if (key == 'O') return Toggle(O::ShowPlanets, "");
            break;
        case Stars:
            if (key == 'B') return Toggle(O::ShowBayerId, "bayer id ");
            if (key == 'F') return Toggle(O::ShowFlamsteedId, "flamsteed id ");
            if (key == 'H') return Toggle(O::ShowHD, "hd id ");
            if (key == 'N') return Toggle(O::ShowStarNames, "names ");
            if (key == 'O') return Toggle(O::ShowStars, "");
            break;
        case Deepsky:
            if (key == 'C') return Toggle(O::ShowClusters, "clusters ");
            if (key == 'G') return Toggle(O::ShowGalaxies, "galaxies ");
            if (key == 'M') return Toggle(O::ShowMessierOnly, "messier only ");
            if (key == 'N') return Toggle(O::ShowDSONames, "names ");
            if (key == 'O') return Toggle(O::ShowDSOs, "");
            if (key == 'R') return Toggle(O::ShowOtherDSOs, "other dsos ");
            break;
        case Lines:
            if (key == 'C') return Toggle(O::ShowConLines, "constellations ");
            if (key == 'E') return Toggle(O::ShowEquator, "equator ");
            if (key == 'H') return Toggle(O::ShowHorizon, "horizon ");
            break;
        case Grids:
            if (key == 'E') return Toggle(O::ShowEquatorialGrid, "equatorial ");
            if (key == 'H') return Toggle(O::ShowHorizontalGrid, "horizontal ");
            break;
        case Projection: {
            int projection = DigitOf(key);
            if (!IsProjection(projection)) projection = -1;
            for (int i = 0; projection < 0 && i < ProjectionCount; ++i) {
                if (key == static_cast<uint16_t>(FactsOf(i).key)) projection = i;
            }
            if (projection >= 0) {
                target_.ChangeProjection(projection);
                message_ += ProjectionName(projection);
                return;
            }
            break;
        }
        case Sun:
            if (key == 'N') {
                Toggle(O::ShowSunName, "name ");
                target_.Paint();
                return;
            }
            if (key == 'O') {
                Toggle(O::ShowSun, "");
                target_.Paint();
                return;
            }
            break;
        case Moon:
            if (key == 'N') return Toggle(O::ShowMoonName, "name ");
            if (key == 'O') return Toggle(O::ShowMoon, "");
            if (key == 'U') return Toggle(O::ShowUmbra, "umbra ");
            break;
        case View: {
            const double pi = static_cast<double>(Pi);
            switch (key) {
                case 'N':
                    target_.SetDirectionDegrees(0, true);
                    message_ += "North";
                    return;
                case 'E':
                    target_.SetDirectionDegrees(90, true);
                    message_ += "East";
                    return;
                case 'S':
                    target_.SetDirectionDegrees(180, true);
                    message_ += "South";
                    return;
                case 'W':
                    target_.SetDirectionDegrees(270, true);
                    message_ += "West";
                    return;
                case 'H':
                    target_.SetElevation(0.0f, true);
                    message_ += "elevation horizontal";
                    return;
                case 'I':
                    target_.SetElevation(static_cast<float>(pi * 0.25), true);
                    message_ += "elevation intermediate";
                    return;
                case 'Z':
                    target_.SetElevation(static_cast<float>(pi * 0.5), true);
                    message_ += "elevation zenith";
                    return;
                default: break;
            }
            break;
        }
        case Color:
            if (key == 'B') {
                target_.Brighten();
                message_ += "Brighter";
                return;
            }
            if (key == 'D') {
                target_.Dim();
                message_ += "Dimmer";
                return;
            }
            if (key == 'R') {
                target_.ToggleRed();
                message_ += "Red Mode";
                return;
            }
            break;
        case Asteroids:
            if (key == 'I') return Toggle(O::ShowMPNumbers, "");
            if (key == 'N') return Toggle(O::ShowMPNames, "");
            if (key == 'O') return Toggle(O::ShowMinorPlanets, "");
            break;
        case Misc:
            if (key == 'R') {
                message_ += "Read slew file ";
                message_ += target_.ToggleReadSlewFile() ? "ON" : "OFF";
                return;
            }
            if (key == 'W') {
                message_ += "Write slew file ";
                message_ += target_.ToggleWriteSlewFile() ? "ON" : "OFF";
                return;
            }
            break;
        default: break;
    }
    message_ = Unknown;
}
