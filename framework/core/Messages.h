#pragma once
// Message records and numbers. Perform() delivers a message synchronously through a
// control's WindowProc to its Dispatch; a handler that consumes it sets Result.
#include <cstdint>

#include "framework/core/Events.h"

namespace hx {

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0; // pointer-sized: a sender pointer travels here
    LRESULT Result = 0;
};

// Platform messages.
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;

// Framework notifications.
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;         // 0xB006: WParam = character code
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;  // 0xB008
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9; // 0xB009
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 11;    // 0xB00B: WParam = 1 when shown
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;    // 0xB00C
constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;      // 0xB00D
constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;       // 0xB00E
constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;     // 0xB00F
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;       // 0xB012
constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;        // 0xB013
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;        // 0xB014
constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 24;     // 0xB018: WParam = group index, LParam = sender
constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 25;   // 0xB019
constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 36;    // 0xB024
constexpr unsigned CM_BIDIMODECHANGED = CM_BASE + 60;   // 0xB03C
constexpr unsigned CM_PARENTBIDIMODECHANGED = CM_BASE + 61; // 0xB03D

// Mouse messages carry the key flags in WParam and the point in LParam:
// x in the low 16 bits, y in the next 16, both signed.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

constexpr LPARAM MakePointParam(int x, int y)
{
    return static_cast<LPARAM>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                               static_cast<std::uint32_t>(x & 0xFFFF));
}
constexpr int PointParamX(LPARAM p) { return static_cast<std::int16_t>(p & 0xFFFF); }
constexpr int PointParamY(LPARAM p) { return static_cast<std::int16_t>((p >> 16) & 0xFFFF); }

// Shift state carried by a mouse message's key flags (plus Alt, read from the platform).
TShiftState KeysToShiftState(WPARAM keys);
WPARAM ShiftStateToKeys(TShiftState shift);

} // namespace hx
