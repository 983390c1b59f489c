#pragma once
// Keyboard focus among windowless controls. A control with TabStop set is keyboard-selectable
// while it is showing and enabled; a form's selectable controls, depth first in creation
// order, form its focus ring. The form keeps one focused control (none at first) and moves
// it with the navigation keys (TForm::KeyDown); this unit is the map those keys follow.
#include <vector>

#include "framework/core/Events.h"

namespace hx {

class TControl;
class TForm;

enum TFocusMove : unsigned char { fmNone, fmNext, fmPrior, fmFirst, fmLast, fmLeft, fmRight, fmUp, fmDown };

// The move a key asks for: Tab / Shift+Tab, Home / End, the arrows (no Ctrl or Alt held);
// fmNone for any other key.
TFocusMove FocusMoveOfKey(unsigned key, TShiftState shift);

// The keyboard-selectable controls of form, in ring order.
std::vector<TControl*> FocusRing(const TForm* form);

// Where move leads from from (null, or no longer selectable: nothing focused yet). Null only
// when the ring is empty.
//   nothing focused   Shift+Tab and End: the last control; any other move: the first
//   Next / Prior      along the ring, round from the last to the first and back
//   First / Last      the ring's ends
//   Up / Down         the nearest control above / below sharing some of from's columns
//                     (ties: the leftmost)
//   Right / Left      the nearest column to the right / left among controls sharing some of
//                     from's rows; Right takes its topmost, Left its bottommost
//   nothing there     from itself: the focus stays put, no wrap
// On a staggered layout (neighbouring columns offset by half a control) Right goes half a
// step up and Left half a step down, so Right then Left returns to the start wherever the
// start overlaps two controls in the next column, and Left then Right likewise.
TControl* FocusTarget(const TForm* form, TControl* from, TFocusMove move);

} // namespace hx
