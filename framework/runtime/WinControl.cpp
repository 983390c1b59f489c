#include "framework/runtime/WinControl.h"

#include "framework/runtime/Form.h"

#include <algorithm>
#include <iterator>

namespace hx {

TWinControl::TWinControl(TComponent* owner) : TControl(owner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
}

TWinControl::~TWinControl()
{
    // Children still inserted are ours to free; each one leaves the list as it goes.
    while (!FControls.empty())
        delete FControls.back();
}

void TWinControl::InsertControl(TControl* control)
{
    if (!control || control->FParent == this)
        return;
    if (control->FParent)
        control->FParent->RemoveControl(control);
    FControls.push_back(control);
    control->FParent = this;
    // A newcomer that takes the parent's font and colour takes them now.
    control->Perform(CM_PARENTFONTCHANGED, 0, 0);
    control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    control->Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
    if (control->Align() != alNone)
        AlignControls();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    // From the end: a form frees its controls last first, so that is where the one going is.
    const auto found = std::find(FControls.rbegin(), FControls.rend(), control);
    if (found == FControls.rend())
        return;
    if (!(ComponentState() & csDestroying))
        control->Invalidate();
    if (TForm* form = GetParentForm(this))
        form->ControlRemoved(control);
    FControls.erase(std::next(found).base());
    control->FParent = nullptr;
    if (control->Align() != alNone && !(ComponentState() & csDestroying))
        AlignControls();
}

TControl* TWinControl::ControlAtPos(const TPoint& p, bool allowDisabled) const
{
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* c = *it;
        if (c->Visible() && (allowDisabled || c->Enabled()) && PtInRect(c->BoundsRect(), p))
            return c;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    // A receiver may remove controls while it handles the message: walk by index.
    for (size_t i = 0; i < FControls.size(); ++i) {
        FControls[i]->WindowProc(message);
        if (message.Result != 0)
            return;
    }
}

bool TWinControl::Showing() const
{
    return Visible() && Parent() && Parent()->Showing();
}

void TWinControl::NotifyControls(unsigned msg)
{
    TMessage m{msg, 0, 0, 0};
    Broadcast(m);
}

void TWinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case CM_FONTCHANGED:
        TControl::Dispatch(m);
        NotifyControls(CM_PARENTFONTCHANGED);
        break;
    case CM_COLORCHANGED:
        TControl::Dispatch(m);
        NotifyControls(CM_PARENTCOLORCHANGED);
        break;
    case CM_BIDIMODECHANGED:
        TControl::Dispatch(m);
        NotifyControls(CM_PARENTBIDIMODECHANGED);
        break;
    case CM_DIALOGCHAR:
        Broadcast(m);
        break;
    default:
        TControl::Dispatch(m);
        break;
    }
}

void TWinControl::BoundsChanged(int dw, int dh)
{
    for (size_t i = 0; i < FControls.size(); ++i) {
        TControl* c = FControls[i];
        if (c->Align() != alNone)
            continue;
        const TAnchors a = c->Anchors();
        TRect r = Bounds(c->Left(), c->Top(), c->RequestedWidth(), c->RequestedHeight());
        if (a & akRight) {
            r.Right += dw;
            if (!(a & akLeft))
                r.Left += dw;
        }
        if (a & akBottom) {
            r.Bottom += dh;
            if (!(a & akTop))
                r.Top += dh;
        }
        c->SetBoundsRect(r);
    }
    AlignControls();
}

namespace {

// Within one alignment, controls keep the order of their current positions (ties: creation
// order), so that moving one past another reorders the stack.
int AlignKey(const TControl* c)
{
    switch (c->Align()) {
    case alTop: return c->Top();
    case alBottom: return -(c->Top() + c->Height());
    case alLeft: return c->Left();
    case alRight: return -(c->Left() + c->Width());
    default: return 0;
    }
}

} // namespace

void TWinControl::Loaded()
{
    TControl::Loaded();
    AlignControls();
}

// Each alignment in turn takes its band from the edge of what is left:
//   alTop     full width, own height, from the top      alBottom  likewise from the bottom
//   alLeft    full height, own width, from the left     alRight   likewise from the right
//   alClient  all that remains
void TWinControl::AlignControls()
{
    if (FAligning || IsLoading())
        return;
    FAligning = true;
    try {
        TRect r = ClientRect();
        for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) {
            std::vector<TControl*> band;
            for (TControl* c : FControls)
                if (c->Align() == a && c->Visible())
                    band.push_back(c);
            std::stable_sort(band.begin(), band.end(),
                             [](const TControl* x, const TControl* y) { return AlignKey(x) < AlignKey(y); });
            for (TControl* c : band) {
                const int w = std::max(0, r.Width());
                const int h = std::max(0, r.Height());
                switch (a) {
                case alTop:
                    c->SetBounds(r.Left, r.Top, w, c->Height());
                    r.Top += c->Height();
                    break;
                case alBottom:
                    c->SetBounds(r.Left, r.Bottom - c->Height(), w, c->Height());
                    r.Bottom -= c->Height();
                    break;
                case alLeft:
                    c->SetBounds(r.Left, r.Top, c->Width(), h);
                    r.Left += c->Width();
                    break;
                case alRight:
                    c->SetBounds(r.Right - c->Width(), r.Top, c->Width(), h);
                    r.Right -= c->Width();
                    break;
                default:
                    c->SetBounds(r.Left, r.Top, w, h);
                    break;
                }
            }
        }
    } catch (...) {
        FAligning = false;
        throw;
    }
    FAligning = false;
}

} // namespace hx
