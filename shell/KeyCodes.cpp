#include "shell/KeyCodes.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {

// X11 hardware key codes (evdev + 8) of the keys whose character depends on
// Shift: the digit row and the punctuation keys of the tables.
enum X11KeyCode : uint32_t {
    X11Digit1 = 10,  // 1 to 9 follow in order
    X11Digit9 = 18,
    X11Digit0 = 19,
    X11BracketLeft = 34,
    X11BracketRight = 35,
    X11Backslash = 51,
    X11Comma = 59,
    X11Period = 60,
};

uint16_t FromX11KeyCode(uint32_t code) {
    if (code >= X11Digit1 && code <= X11Digit9) return static_cast<uint16_t>(Vk::Digit0 + 1 + (code - X11Digit1));
    switch (code) {
        case X11Digit0: return Vk::Digit0;
        case X11BracketLeft: return Vk::BracketLeft;
        case X11BracketRight: return Vk::BracketRight;
        case X11Backslash: return Vk::Backslash;
        case X11Comma: return Vk::Comma;
        case X11Period: return Vk::Period;
        default: return 0;
    }
}

}  // namespace

bool IsModifierOnlyKey(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_Hyper_L:
        case Qt::Key_Hyper_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock:
        case Qt::Key_ScrollLock:
        case Qt::Key_Mode_switch: return true;
        default: return false;
    }
}

uint16_t VirtualKeyOf(int qtKey, bool keypad, uint32_t nativeScanCode) {
    if (!keypad && nativeScanCode != 0) {
        if (uint16_t code = FromX11KeyCode(nativeScanCode)) return code;
    }
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
        const int digit = qtKey - Qt::Key_0;
        // The numeric keypad has codes of its own, which no command uses.
        return static_cast<uint16_t>(keypad ? 96 + digit : Vk::Digit0 + digit);
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<uint16_t>('A' + (qtKey - Qt::Key_A));
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<uint16_t>(Vk::F1 + (qtKey - Qt::Key_F1));
    switch (qtKey) {
        case Qt::Key_Backspace: return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab: return Vk::Tab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Shift: return Vk::Shift;
        case Qt::Key_Control: return 17;
        case Qt::Key_Alt: return 18;
        case Qt::Key_Escape: return 27;
        case Qt::Key_Space: return 32;
        case Qt::Key_PageUp: return 33;
        case Qt::Key_PageDown: return 34;
        case Qt::Key_End: return Vk::End;
        case Qt::Key_Home: return Vk::Home;
        case Qt::Key_Left: return Vk::Left;
        case Qt::Key_Up: return Vk::Up;
        case Qt::Key_Right: return Vk::Right;
        case Qt::Key_Down: return Vk::Down;
        case Qt::Key_Insert: return 45;
        case Qt::Key_Delete: return 46;
        // Shifted digits of a US keyboard.
        case Qt::Key_ParenRight: return Vk::Digit0;
        case Qt::Key_Exclam: return Vk::Digit0 + 1;
        case Qt::Key_At: return Vk::Digit0 + 2;
        case Qt::Key_NumberSign: return Vk::Digit0 + 3;
        case Qt::Key_Dollar: return Vk::Digit0 + 4;
        case Qt::Key_Percent: return Vk::Digit0 + 5;
        case Qt::Key_AsciiCircum: return Vk::Digit0 + 6;
        case Qt::Key_Ampersand: return Vk::Digit0 + 7;
        case Qt::Key_Asterisk: return keypad ? 106 : Vk::Digit0 + 8;
        case Qt::Key_ParenLeft: return Vk::Digit0 + 9;
        // Punctuation keys, plain and shifted.
        case Qt::Key_Semicolon:
        case Qt::Key_Colon: return 186;
        case Qt::Key_Equal: return 187;
        case Qt::Key_Plus: return keypad ? 107 : 187;
        case Qt::Key_Comma:
        case Qt::Key_Less: return Vk::Comma;
        case Qt::Key_Minus: return keypad ? 109 : 189;
        case Qt::Key_Underscore: return 189;
        case Qt::Key_Period:
        case Qt::Key_Greater: return keypad ? 110 : Vk::Period;
        case Qt::Key_Slash: return keypad ? 111 : 191;
        case Qt::Key_Question: return 191;
        case Qt::Key_QuoteLeft:
        case Qt::Key_AsciiTilde: return 192;
        case Qt::Key_BracketLeft:
        case Qt::Key_BraceLeft: return Vk::BracketLeft;
        case Qt::Key_Backslash:
        case Qt::Key_Bar: return Vk::Backslash;
        case Qt::Key_BracketRight:
        case Qt::Key_BraceRight: return Vk::BracketRight;
        case Qt::Key_Apostrophe:
        case Qt::Key_QuoteDbl: return 222;
        default: return 0;
    }
}

uint16_t VirtualKeyOf(const QKeyEvent& event) {
    // Hardware key codes are only meaningful on X11.
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    return VirtualKeyOf(event.key(), event.modifiers().testFlag(Qt::KeypadModifier), x11 ? event.nativeScanCode() : 0);
}

KeyModifiers ModifiersOf(const QKeyEvent& event) {
    const Qt::KeyboardModifiers m = event.modifiers();
    return KeyModifiers{m.testFlag(Qt::ShiftModifier), m.testFlag(Qt::ControlModifier), m.testFlag(Qt::AltModifier)};
}
