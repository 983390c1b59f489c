#include "framework/runtime/PointerTracker.h"

#include <algorithm>

#include <QPoint>
#include <QRect>
#include <QString>
#include <QToolTip>

#include "framework/core/Exception.h"
#include "framework/core/Platform.h"
#include "framework/runtime/Form.h"

namespace hx {

namespace {

constexpr int kHintPauseMs = 500;
constexpr int kHintHideMs = 2500;

void StopTimer(int& id)
{
    if (id)
        Platform().StopTimer(id);
    id = 0;
}

bool WantsHint(const TControl* c)
{
    return c && c->ShowHint() && !c->Hint().empty();
}

// The first cursor other than crDefault up the parent chain; arrow at the top.
TCursor EffectiveCursor(const TControl* c)
{
    for (; c; c = c->Parent())
        if (c->Cursor() != crDefault)
            return c->Cursor();
    return crDefault;
}

} // namespace

TPointerTracker& PointerTracker()
{
    // Never freed: forms freed during the process's exit still consult it.
    static TPointerTracker* tracker = new TPointerTracker;
    return *tracker;
}

void TPointerTracker::Track()
{
    TControl* found = FindDragTarget(Platform().GetCursorPos(), true);
    if (found && found->IsDesigning())
        found = nullptr;
    if (found != FMouseControl) {
        TControl* old = FMouseControl;
        TControl* capture = FCapture;
        FMouseControl = nullptr;
        if (old && (!capture || old == capture))
            old->Perform(CM_MOUSELEAVE, 0, 0);
        FMouseControl = found;
        if (found && (!capture || found == capture))
            found->Perform(CM_MOUSEENTER, 0, 0);
    }
    UpdateHint(FMouseControl);
    const TControl* pointing = FCapture ? FCapture : FMouseControl;
    if (TForm* form = GetParentForm(pointing))
        form->ApplyCursor(EffectiveCursor(pointing));
}

void TPointerTracker::SetCapture(TControl* control)
{
    FCapture = control;
    SetCaptureHeld(control != nullptr);
}

void TPointerTracker::RemoveForm(TForm* form)
{
    std::erase(FForms, form);
}

void TPointerTracker::Forget(const TControl* control)
{
    if (FCapture == control)
        SetCapture(nullptr);
    if (FMouseControl == control)
        FMouseControl = nullptr;
    if (FHintControl == control) {
        CancelHint();
        FHintControl = nullptr;
    }
}

void TPointerTracker::HideHint()
{
    StopTimer(FHideTimer);
    if (FHintShowing) {
        FHintShowing = false;
        FHintText.clear();
        QToolTip::hideText();
    }
}

void TPointerTracker::CancelHint()
{
    StopTimer(FHintTimer);
    HideHint();
}

void TPointerTracker::ShowHintNow()
{
    StopTimer(FHintTimer);
    if (!FHintControl)
        return;
    FHintText = FHintControl->Hint();
    FHintRightToLeft = FHintControl->UseRightToLeftReading();
    FHintShowing = true;
    const TPoint pos = Platform().GetCursorPos();
    // A right-to-left hint is one right-to-left embedding (RLE ... PDF), so that its neutral
    // characters order as the control reads.
    QString text = QString::fromStdString(FHintText);
    if (FHintRightToLeft)
        text = QChar(0x202B) + text + QChar(0x202C);
    // The toolkit puts it just below the pointer.
    QToolTip::showText(QPoint(pos.X, pos.Y), text, nullptr, QRect(), kHintHideMs);
    FHideTimer = Platform().StartTimer(kHintHideMs, [] { Guarded([] { PointerTracker().HideHint(); }); });
}

// A new control under the pointer restarts the hint's rest period.
void TPointerTracker::UpdateHint(TControl* control)
{
    if (control == FHintControl)
        return;
    CancelHint();
    FHintControl = control;
    if (WantsHint(control))
        FHintTimer =
            Platform().StartTimer(kHintPauseMs, [] { Guarded([] { PointerTracker().ShowHintNow(); }); });
}

} // namespace hx
