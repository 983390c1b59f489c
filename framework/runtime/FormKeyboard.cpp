// TForm's keyboard: key routing and the focused control (KeyboardFocus.h has the focus ring
// and the map the navigation keys follow).
//
// A key press goes through these steps until one uses it:
//   OnKeyDown          sees every key; setting it to 0 uses it
//   action shortcuts   an enabled action of the form's action lists with that ShortCut runs
//   focused control    WM_KEYDOWN; a Result of 1 uses it
//   Return, Space      the focused control clicks, when it takes click events
//   navigation keys    the focus moves (FocusTarget)
//   Shift+F10, Menu    the context menu opens at the focused control (else at the client
//                      area's corner)
// A held key repeats moves but never clicks or opens the menu again.
#include "framework/runtime/Form.h"

#include "framework/runtime/Accessibility.h"
#include "framework/runtime/Actions.h"
#include "framework/runtime/FormWindow.h"
#include "framework/runtime/KeyboardFocus.h"
#include "framework/core/Exception.h"

namespace hx {

namespace {

constexpr TShiftState kCommandKeys = ssCtrl | ssAlt;

bool IsMenuKey(unsigned key, TShiftState shift)
{
    if (shift & kCommandKeys)
        return false;
    return key == VK_APPS || (key == VK_F10 && (shift & ssShift));
}

bool Inside(const TControl* control, const TControl* container)
{
    for (const TControl* c = control; c; c = c->Parent())
        if (c == container)
            return true;
    return false;
}

// The first action list of form that has an enabled action for the key runs it.
bool ExecuteShortCut(const TForm& form, unsigned key, TShiftState shift)
{
    const TShortCut shortCut = ShortCutOf(key, shift);
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* list = dynamic_cast<TActionList*>(form.Components(i)); list && list->ExecuteShortCut(shortCut))
            return true;
    return false;
}

} // namespace

bool TForm::KeyDown(unsigned key, TShiftState shift, bool repeat)
{
    ScheduleIdle(false);
    ShowFocusCues();
    if (OnKeyDown) {
        OnKeyDown(this, key, shift);
        if (key == 0)
            return true;
    }
    if (ExecuteShortCut(*this, key, shift))
        return true;
    if (KeyToActiveControl(key, shift, repeat))
        return true;
    if (const TFocusMove move = FocusMoveOfKey(key, shift); move != fmNone) {
        TControl* target = FocusTarget(this, FActiveControl, move);
        if (target)
            SetActiveControl(target);
        return target != nullptr;
    }
    if (IsMenuKey(key, shift)) {
        if (!repeat) {
            TControl* c = FActiveControl && FActiveControl->CanFocus() ? FActiveControl : nullptr;
            const TPoint at = c ? Point(c->FormOffset().X, c->FormOffset().Y + c->Height()) : TPoint{};
            OpenContextMenu(c ? c : this, at.X, at.Y);
        }
        return true;
    }
    return false;
}

bool TForm::KeyToActiveControl(unsigned key, TShiftState shift, bool repeat)
{
    TControl* c = FActiveControl;
    if (!c || !c->CanFocus())
        return false;
    if (c->Perform(WM_KEYDOWN, key, static_cast<LPARAM>(shift)) != 0)
        return true;
    if ((key != VK_RETURN && key != VK_SPACE) || (shift & kCommandKeys) || !(c->ControlStyle() & csClickEvents))
        return false;
    if (!repeat)
        c->Click();
    return true;
}

void TForm::ShowFocusCues()
{
    if (FFocusCues)
        return;
    FFocusCues = true;
    if (FActiveControl)
        FActiveControl->Invalidate();
}

void TForm::SetActiveControl(TControl* control)
{
    if (control == FActiveControl)
        return;
    if (control && GetParentForm(control) != this)
        throw EInvalidOperation("Control '" + control->Name() + "' is not on form '" + Name() + "'");
    TControl* old = FActiveControl;
    FActiveControl = control;
    // Without the cues neither control draws anything for the focus.
    if (FFocusCues) {
        if (old)
            old->Invalidate();
        if (control)
            control->Invalidate();
    }
    AccessibleFocusChanged(this, control);
}

void TForm::ControlRemoved(const TControl* control)
{
    if (FActiveControl && Inside(FActiveControl, control))
        FActiveControl = nullptr;
}

} // namespace hx
