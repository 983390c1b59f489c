#include "widgets/shinespdbtn/ShineBtnColors.h"

#include "framework/core/Exception.h"

namespace hx {

TShineBtnColors::TShineBtnColors() = default;

TShineBtnColors::~TShineBtnColors()
{
    OnChange.Clear();
}

void TShineBtnColors::Notify()
{
    if (OnChange)
        OnChange(this);
}

template <class V>
void TShineBtnColors::Store(V& field, V value)
{
    if (field == value)
        return;
    field = value;
    Notify();
}

void TShineBtnColors::SetColor(TColor value) { Store(FColor, value); }
void TShineBtnColors::SetHighlight(TColor value) { Store(FHighlight, value); }
void TShineBtnColors::SetShadow(TColor value) { Store(FShadow, value); }
void TShineBtnColors::SetDarkShadow(TColor value) { Store(FDarkShadow, value); }
void TShineBtnColors::SetGradColor(TColor value) { Store(FGradColor, value); }
void TShineBtnColors::SetGradVertical(bool value) { Store(FGradVertical, value); }
void TShineBtnColors::SetGradation(bool value) { Store(FGradation, value); }

void TShineBtnColors::TakeValues(const TShineBtnColors& source)
{
    FColor = source.FColor;
    FHighlight = source.FHighlight;
    FShadow = source.FShadow;
    FDarkShadow = source.FDarkShadow;
    FGradColor = source.FGradColor;
    FGradVertical = source.FGradVertical;
    FGradation = source.FGradation;
}

void TShineBtnColors::CopyValuesTo(TPersistent* dest)
{
    auto* set = dynamic_cast<TShineBtnColors*>(dest);
    if (!set) {
        TPersistent::CopyValuesTo(dest); // the assignment error
        return;
    }
    set->TakeValues(*this);
    set->Notify();
}

void TShineBtnColors::CopyValuesFrom(TPersistent* source)
{
    auto* set = dynamic_cast<TShineBtnColors*>(source);
    if (!set)
        RaiseAssignError(source ? source->ClassName() : nullptr, ClassName());
    TakeValues(*set);
    // The inherited copy asks the source to write itself here, which notifies once; the
    // colour set's contract is a second notification after it.
    TPersistent::CopyValuesFrom(source);
    Notify();
}

} // namespace hx
