#include "framework/runtime/KeyboardFocus.h"

#include <algorithm>

#include "framework/core/Keys.h"
#include "framework/runtime/Form.h"

namespace hx {

namespace {

void CollectRing(const TWinControl* container, std::vector<TControl*>& ring)
{
    for (int i = 0; i < container->ControlCount(); ++i) {
        TControl* c = container->Controls(i);
        if (c->CanFocus())
            ring.push_back(c);
        if (auto* inner = dynamic_cast<const TWinControl*>(c); inner && inner->Visible() && inner->Enabled())
            CollectRing(inner, ring);
    }
}

TRect FormRect(const TControl* c)
{
    const TPoint o = c->FormOffset();
    return Bounds(o.X, o.Y, c->Width(), c->Height());
}

bool Share(int a0, int a1, int b0, int b1)
{
    return a0 < b1 && b0 < a1;
}

// Whether candidate r is a better pick than best for move, both lying in move's direction.
bool Better(TFocusMove move, const TRect& r, const TRect& best)
{
    switch (move) {
    case fmUp: return r.Bottom != best.Bottom ? r.Bottom > best.Bottom : r.Left < best.Left;
    case fmDown: return r.Top != best.Top ? r.Top < best.Top : r.Left < best.Left;
    case fmRight: return r.Left != best.Left ? r.Left < best.Left : r.Top < best.Top;
    default: return r.Right != best.Right ? r.Right > best.Right : r.Top > best.Top; // fmLeft
    }
}

bool InDirection(TFocusMove move, const TRect& from, const TRect& r)
{
    switch (move) {
    case fmUp: return r.Bottom <= from.Top && Share(r.Left, r.Right, from.Left, from.Right);
    case fmDown: return r.Top >= from.Bottom && Share(r.Left, r.Right, from.Left, from.Right);
    case fmRight: return r.Left >= from.Right && Share(r.Top, r.Bottom, from.Top, from.Bottom);
    default: return r.Right <= from.Left && Share(r.Top, r.Bottom, from.Top, from.Bottom); // fmLeft
    }
}

TControl* Neighbour(const std::vector<TControl*>& ring, TControl* from, TFocusMove move)
{
    const TRect start = FormRect(from);
    TControl* best = nullptr;
    TRect bestRect;
    for (TControl* c : ring) {
        if (c == from)
            continue;
        const TRect r = FormRect(c);
        if (InDirection(move, start, r) && (!best || Better(move, r, bestRect))) {
            best = c;
            bestRect = r;
        }
    }
    return best ? best : from;
}

} // namespace

// The form's own visibility is left out: the keys reach only a shown window anyway, and a
// form may choose its focus before it is shown.
bool TControl::CanFocus() const
{
    if (!FTabStop || !Enabled() || ParentForm() == this)
        return false;
    for (const TControl* c = this; c->Parent(); c = c->Parent())
        if (!c->Visible())
            return false;
    return ParentForm() != nullptr;
}

bool TControl::Focused() const
{
    const TForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

bool TControl::ShowsFocus() const
{
    const TForm* form = ParentForm();
    return form && form->ActiveControl() == this && form->FocusCues();
}

TFocusMove FocusMoveOfKey(unsigned key, TShiftState shift)
{
    if (shift & (ssCtrl | ssAlt))
        return fmNone;
    switch (key) {
    case VK_TAB: return shift & ssShift ? fmPrior : fmNext;
    case VK_HOME: return fmFirst;
    case VK_END: return fmLast;
    case VK_LEFT: return fmLeft;
    case VK_RIGHT: return fmRight;
    case VK_UP: return fmUp;
    case VK_DOWN: return fmDown;
    default: return fmNone;
    }
}

std::vector<TControl*> FocusRing(const TForm* form)
{
    std::vector<TControl*> ring;
    CollectRing(form, ring);
    return ring;
}

TControl* FocusTarget(const TForm* form, TControl* from, TFocusMove move)
{
    const std::vector<TControl*> ring = FocusRing(form);
    if (ring.empty() || move == fmNone)
        return nullptr;
    const auto at = std::find(ring.begin(), ring.end(), from);
    if (at == ring.end())
        return move == fmPrior || move == fmLast ? ring.back() : ring.front();
    switch (move) {
    case fmFirst: return ring.front();
    case fmLast: return ring.back();
    case fmNext: return std::next(at) == ring.end() ? ring.front() : *std::next(at);
    case fmPrior: return at == ring.begin() ? ring.back() : *std::prev(at);
    default: return Neighbour(ring, from, move);
    }
}

} // namespace hx
