#include "framework/runtime/Control.h"

#include <cctype>

#include "framework/runtime/Actions.h"
#include "framework/runtime/ControlCanvas.h"
#include "framework/core/Exception.h"
#include "framework/graphics/Gdi.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/Menus.h"
#include "framework/runtime/PointerTracker.h"
#include "framework/core/Platform.h"
#include "framework/runtime/WinControl.h"

namespace hx {

bool IsAccel(unsigned ch, const std::string& caption)
{
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i; // "&&" is a literal ampersand
            continue;
        }
        const unsigned marked = static_cast<unsigned char>(caption[i + 1]);
        if (ch > 0x7F || marked > 0x7F)
            return ch == marked;
        return std::toupper(static_cast<int>(ch)) == std::toupper(static_cast<int>(marked));
    }
    return false;
}

// --- TControl ----------------------------------------------------------------------------

TControl::TControl(TComponent* owner)
    : TComponent(owner), FConstraints(std::make_unique<TSizeConstraints>()), FFont(std::make_unique<TFont>()),
      FColor(clWindow)
{
    FFont->OnChange = TNotifyEvent(this, &TControl::FontChanged);
    FConstraints->OnChange = TNotifyEvent(this, &TControl::ConstraintsChanged);
}

TControl::~TControl()
{
    FActionLink.reset();
    PointerTracker().Forget(this);
    if (FParent)
        FParent->RemoveControl(this);
}

TForm* TControl::ParentForm() const
{
    return GetParentForm(this);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == FParent)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent)
        FParent->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

namespace {

void CheckBoundsValue(int value)
{
    if (value < -TControl::kMaxBoundsValue || value > TControl::kMaxBoundsValue)
        throw EInvalidOperation(std::to_string(value) + " is out of range for a control's bounds (-" +
                                std::to_string(TControl::kMaxBoundsValue) + " to " +
                                std::to_string(TControl::kMaxBoundsValue) + ")");
}

} // namespace

void TControl::SetBounds(int left, int top, int width, int height)
{
    for (const int value : {left, top, width, height})
        CheckBoundsValue(value);
    FRequestedWidth = width;
    FRequestedHeight = height;
    width = FConstraints->ConstrainWidth(width);
    height = FConstraints->ConstrainHeight(height);
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight)
        return;
    const int dw = width - FWidth;
    const int dh = height - FHeight;
    if (FVisible)
        Invalidate();
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (FVisible)
        Invalidate();
    if (FAlign != alNone)
        RequestAlign();
    if (dw != 0 || dh != 0)
        BoundsChanged(dw, dh);
}

TPoint TControl::FormOffset() const
{
    TPoint p;
    for (const TControl* c = this; c && c->FParent; c = c->FParent) {
        p.X += c->FLeft;
        p.Y += c->FTop;
    }
    return p;
}

TRect TControl::VisibleFormRect() const
{
    const TPoint o = FormOffset();
    TRect r = Bounds(o.X, o.Y, FWidth, FHeight);
    if (!FParent)
        return Rect(0, 0, FWidth, FHeight);
    for (const TWinControl* p = FParent; p; p = p->FParent) {
        const TPoint po = p->FormOffset();
        const TRect pr = Bounds(po.X, po.Y, p->FWidth, p->FHeight);
        if (!IntersectRect(r, r, pr))
            return TRect{};
    }
    return r;
}

TPoint TControl::ClientToScreen(const TPoint& p) const
{
    const TForm* form = ParentForm();
    const TPoint o = FormOffset();
    const TPoint origin = form ? form->ClientOrigin() : TPoint{};
    return Point(p.X + o.X + origin.X, p.Y + o.Y + origin.Y);
}

TPoint TControl::ScreenToClient(const TPoint& p) const
{
    const TPoint zero = ClientToScreen(TPoint{});
    return Point(p.X - zero.X, p.Y - zero.Y);
}

void TControl::SetConstraints(TSizeConstraints* value)
{
    FConstraints->CopyValuesFrom(value);
}

// A new limit takes effect at once; for an aligned control the parent then lays its bands
// out again, as after any change of its size.
void TControl::ConstraintsChanged(TObject*)
{
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::SetAlign(TAlign value)
{
    if (value == FAlign)
        return;
    FAlign = value;
    RequestAlign();
}

void TControl::RequestAlign()
{
    if (FParent)
        FParent->AlignControls();
}

void TControl::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    // Invalidate while visible, so that both showing and hiding repaint the place.
    if (FVisible)
        Invalidate();
    FVisible = value;
    if (FVisible)
        Invalidate();
    if (FAlign != alNone)
        RequestAlign();
    Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
}

bool TControl::IsShowing() const
{
    if (!FVisible)
        return false;
    if (const auto* self = dynamic_cast<const TWinControl*>(this); self && !FParent)
        return self->Showing();
    return FParent && FParent->Showing();
}

void TControl::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetText(const std::string& value)
{
    if (value == FText)
        return;
    FText = value;
    Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::SetName(const std::string& name)
{
    const bool follow = (FControlStyle & csSetCaption) && FText == TComponent::Name() && !IsLoading();
    TComponent::SetName(name);
    if (follow)
        SetText(name);
}

void TControl::SetFont(TFont* value)
{
    if (value)
        FFont->CopyValuesFrom(value);
}

void TControl::FontChanged(TObject*)
{
    if (!FTakingParentFont)
        FParentFont = false;
    Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetParentFont(bool value)
{
    if (value == FParentFont)
        return;
    FParentFont = value;
    if (value && FParent)
        Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor value)
{
    FParentColor = false;
    if (value == FColor)
        return;
    FColor = value;
    Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value)
{
    if (value == FParentColor)
        return;
    FParentColor = value;
    if (value && FParent)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetBiDiMode(TBiDiMode value)
{
    FParentBiDiMode = false;
    if (value == FBiDiMode)
        return;
    FBiDiMode = value;
    Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool value)
{
    if (value == FParentBiDiMode)
        return;
    FParentBiDiMode = value;
    if (value && FParent)
        Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

void TControl::CMParentBiDiModeChanged(TMessage&)
{
    if (!FParentBiDiMode || !FParent)
        return;
    SetBiDiMode(FParent->BiDiMode());
    FParentBiDiMode = true;
}

unsigned TControl::DrawTextBiDiModeFlags(unsigned flags) const
{
    if (UseRightToLeftAlignment()) {
        const unsigned side = flags & (DT_CENTER | DT_RIGHT);
        if (side == DT_LEFT)
            flags |= DT_RIGHT;
        else if (side == DT_RIGHT)
            flags &= ~DT_RIGHT;
    }
    if (UseRightToLeftReading())
        flags |= DT_RTLREADING;
    return flags;
}

TBasicAction* TControl::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

// Linked while being read, the control keeps the values its description gave it.
void TControl::SetAction(TBasicAction* value)
{
    if (!value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = CreateActionLink();
    FActionLink->SetAction(value);
    FActionLink->TakeValues(IsLoading());
}

std::unique_ptr<TControlActionLink> TControl::CreateActionLink()
{
    return std::make_unique<TControlActionLink>(this);
}

bool TControl::ShowHint() const
{
    if (FParentShowHint && FParent)
        return FParent->ShowHint();
    return FShowHint;
}

void TControl::SetShowHint(bool value)
{
    FShowHint = value;
    FParentShowHint = false;
}

void TControl::SetParentShowHint(bool value)
{
    if (value == FParentShowHint)
        return;
    // Dropping the parent's switch keeps the value it gave.
    if (!value)
        FShowHint = ShowHint();
    FParentShowHint = value;
}

void TControl::SetCursor(TCursor value)
{
    if (value == FCursor)
        return;
    FCursor = value;
    Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::SetPopupMenu(TPopupMenu* value)
{
    if (value == FPopupMenu)
        return;
    FPopupMenu = value;
    if (value)
        value->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu)
        FPopupMenu = nullptr;
}

bool TControl::MouseCapture() const
{
    return PointerTracker().Capture() == this;
}

void TControl::SetMouseCapture(bool value)
{
    if (value == MouseCapture())
        return;
    PointerTracker().SetCapture(value ? this : nullptr);
}

// --- Painting ----------------------------------------------------------------------------

void TControl::InvalidateFormRect(const TRect& formRect)
{
    if (TForm* form = ParentForm(); form && !formRect.IsEmpty())
        form->InvalidateRect(formRect);
}

void TControl::Invalidate()
{
    if (!FVisible || !FParent)
        return;
    InvalidateFormRect(VisibleFormRect());
}

void TControl::Repaint()
{
    TForm* form = ParentForm();
    if (!form || !FVisible)
        return;
    if (FControlStyle & csOpaque) {
        form->PaintControlNow(this);
    } else {
        Invalidate();
        form->Update();
    }
}

void TControl::Update()
{
    if (TForm* form = ParentForm())
        form->Update();
}

} // namespace hx
