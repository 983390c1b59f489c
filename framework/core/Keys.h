#pragma once
// Key presses: a virtual key code names the key whatever the keyboard layout types (letters
// are their capitals, 'A' … 'Z'), with the shift state held at the time.
#include "framework/core/Events.h"
#include "framework/core/Messages.h"

namespace hx {

constexpr unsigned VK_BACK = 0x08;
constexpr unsigned VK_TAB = 0x09;
constexpr unsigned VK_RETURN = 0x0D; // Return and the keypad's Enter
constexpr unsigned VK_ESCAPE = 0x1B;
constexpr unsigned VK_SPACE = 0x20;
constexpr unsigned VK_PRIOR = 0x21;
constexpr unsigned VK_NEXT = 0x22;
constexpr unsigned VK_END = 0x23;
constexpr unsigned VK_HOME = 0x24;
constexpr unsigned VK_LEFT = 0x25;
constexpr unsigned VK_UP = 0x26;
constexpr unsigned VK_RIGHT = 0x27;
constexpr unsigned VK_DOWN = 0x28;
constexpr unsigned VK_DELETE = 0x2E;
constexpr unsigned VK_APPS = 0x5D; // the Menu key
constexpr unsigned VK_F1 = 0x70;
constexpr unsigned VK_F10 = 0x79;

// A key press sent to the focused control: WParam = key code, LParam = shift state.
// A control that acts on it sets Result to 1.
constexpr unsigned WM_KEYDOWN = 0x0100;

// OnKeyDown: the handler may set the key to 0 to say it has dealt with it.
using TKeyEvent = TEvent<TObject*, unsigned&, TShiftState>;

} // namespace hx
