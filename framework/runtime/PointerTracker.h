#pragma once
// The pointer state that spans forms, one for the process: every live form (creation order),
// the control holding the mouse capture, the control the pointer was last found over, and
// the hint. Track runs at idle time, after each batch of input (the form window schedules
// it; tests call it), and keeps them current.
#include <string>
#include <vector>

namespace hx {

class TControl;
class TForm;

class TPointerTracker {
public:
    // Pointer tracking, after each batch of input:
    //   found = control under the pointer (disabled ones too), or null off our windows
    //   found != last:  leave -> last, enter -> found; while a control holds the capture only
    //                   the capture control hears either
    //   then the hint (a new control restarts its 500 ms rest) and the window cursor
    void Track();

    // The control holding the mouse capture (any form), or null.
    TControl* Capture() const { return FCapture; }
    void SetCapture(TControl* control);
    // The control the pointer was last found over, and the hint on show.
    TControl* MouseControl() const { return FMouseControl; }
    bool HintShowing() const { return FHintShowing; }
    const std::string& HintText() const { return FHintText; }
    // Whether the hint on show reads right to left (its control's BiDiMode).
    bool HintRightToLeft() const { return FHintRightToLeft; }
    // Puts the hint away (a press does); it comes back only on another control.
    void CancelHint();

    // Forms join while they live; FindDragTarget searches them, last-created first.
    void AddForm(TForm* form) { FForms.push_back(form); }
    void RemoveForm(TForm* form);
    const std::vector<TForm*>& Forms() const { return FForms; }
    // Drops every reference kept to a control being freed.
    void Forget(const TControl* control);

private:
    void HideHint();
    void ShowHintNow();
    void UpdateHint(TControl* control);

    std::vector<TForm*> FForms;
    TControl* FCapture = nullptr;
    TControl* FMouseControl = nullptr;
    TControl* FHintControl = nullptr;
    int FHintTimer = 0;
    int FHideTimer = 0;
    bool FHintShowing = false;
    bool FHintRightToLeft = false;
    std::string FHintText;
};

// The process's pointer tracker.
TPointerTracker& PointerTracker();

} // namespace hx
