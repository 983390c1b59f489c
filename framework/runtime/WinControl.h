#pragma once
// TWinControl: a control that holds other controls. Its children are kept in creation
// order, which is also their painting order (later ones over earlier ones) and the order in
// which the pointer finds them (the last one containing the point wins).
#include <vector>

#include "framework/runtime/Control.h"

namespace hx {

class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    // Frees the child controls that are still inserted.
    ~TWinControl() override;
    const char* ClassName() const override { return "TWinControl"; }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<size_t>(index)); }
    // Appends control to the list (the end = painted last, found first). Sets its parent.
    void InsertControl(TControl* control);
    // Takes control out of the list and clears its parent; its area is invalidated.
    void RemoveControl(TControl* control);
    // The last-created visible control whose bounds contain p (client coordinates);
    // disabled ones only when allowDisabled. Null when none.
    TControl* ControlAtPos(const TPoint& p, bool allowDisabled) const;
    // Sends message to each child in turn; stops at the first that sets a non-zero Result.
    void Broadcast(TMessage& message);

    // Visible and, up to the form, every parent too; a form is showing when its window is.
    virtual bool Showing() const;

    // Lays the children with an Align out in the client area: alTop, alBottom, alLeft,
    // alRight, then alClient takes what is left. Runs again on every resize. While the
    // control is read from a form description it waits, and lays out once in Loaded().
    virtual void AlignControls();
    void Realign() { AlignControls(); }

    void Dispatch(TMessage& message) override;

protected:
    // The children's stored bounds are all read: lay them out from those, as they were
    // when written. Aligning as each one arrived would order them by where the earlier
    // ones had already been moved, and the form would not read back as it was written.
    void Loaded() override;
    // Anchored children follow the edges they are anchored to (akRight with akLeft
    // stretches, akRight alone moves; likewise akBottom), from the size they last asked for
    // (their constraints may have cut it); then the aligned ones are laid out.
    void BoundsChanged(int dw, int dh) override;
    // Tells the children that take the parent's font, colour or hint switch.
    void NotifyControls(unsigned msg);

private:
    std::vector<TControl*> FControls;
    bool FAligning = false;
};

} // namespace hx
