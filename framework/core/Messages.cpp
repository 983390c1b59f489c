#include "framework/core/Messages.h"

#include "framework/core/Platform.h"

namespace hx {

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState s = 0;
    if (keys & MK_SHIFT)
        s |= ssShift;
    if (keys & MK_CONTROL)
        s |= ssCtrl;
    if (keys & MK_LBUTTON)
        s |= ssLeft;
    if (keys & MK_RBUTTON)
        s |= ssRight;
    if (keys & MK_MBUTTON)
        s |= ssMiddle;
    // Mouse messages carry no Alt flag; the key state has it.
    if (Platform().GetKeyState(VK_MENU) < 0)
        s |= ssAlt;
    return s;
}

WPARAM ShiftStateToKeys(TShiftState shift)
{
    WPARAM k = 0;
    if (shift & ssShift)
        k |= MK_SHIFT;
    if (shift & ssCtrl)
        k |= MK_CONTROL;
    if (shift & ssLeft)
        k |= MK_LBUTTON;
    if (shift & ssRight)
        k |= MK_RBUTTON;
    if (shift & ssMiddle)
        k |= MK_MBUTTON;
    return k;
}

} // namespace hx
