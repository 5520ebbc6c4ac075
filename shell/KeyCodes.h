#pragma once

#include <cstdint>

#include "shell/CommandHandler.h"

class QKeyEvent;

// Translates a Qt key event into the key code of the command tables. The
// tables name physical keys (the main-keyboard digits, the keys carrying
// "," "." "[" "\" "]" on a US keyboard), while Qt reports the character a
// key produced: Shift+1 arrives as '!', Shift+] as '}'. Under X11 the
// hardware key code decides; elsewhere the shifted symbols of a US layout are
// mapped back to their keys.
uint16_t VirtualKeyOf(const QKeyEvent& event);
uint16_t VirtualKeyOf(int qtKey, bool keypad, uint32_t nativeScanCode);
KeyModifiers ModifiersOf(const QKeyEvent& event);

// Keys that only modify others (Ctrl, Alt, Caps Lock, ...). Like Shift they
// are consumed without closing an open sequence, so that Ctrl+N inside a
// group acts like N.
bool IsModifierOnlyKey(int qtKey);
