#include "framework/runtime/Actions.h"

#include <algorithm>

namespace hx {

namespace {

// Every live action list, in creation order: the idle step walks them.
std::vector<TActionList*>& LiveLists()
{
    static std::vector<TActionList*> lists;
    return lists;
}

// The links of an action, copied: a client may leave its action while it hears of a change.
template <class F>
void EachLink(const std::vector<TActionLink*>& links, F&& fn)
{
    const std::vector<TActionLink*> copy = links;
    for (TActionLink* link : copy)
        fn(*link);
}

} // namespace

TShortCut ShortCutOf(unsigned key, TShiftState shift)
{
    TShortCut s = static_cast<TShortCut>(key & 0xFF);
    if (shift & ssShift)
        s |= scShift;
    if (shift & ssCtrl)
        s |= scCtrl;
    if (shift & ssAlt)
        s |= scAlt;
    return s;
}

// --- TBasicAction ------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction()
{
    for (TActionLink* link : FClients)
        link->FAction = nullptr;
    FClients.clear();
}

bool TBasicAction::Execute()
{
    if (!OnExecute)
        return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate)
        return false;
    OnUpdate(this);
    return true;
}

// --- TAction -----------------------------------------------------------------------------

TAction::TAction(TComponent* owner) : TBasicAction(owner) {}

TAction::~TAction()
{
    SetActionList(nullptr);
}

void TAction::SetActionList(TActionList* value)
{
    if (value == FActionList)
        return;
    if (FActionList)
        std::erase(FActionList->FActions, this);
    FActionList = value;
    if (value)
        value->FActions.push_back(this);
}

void TAction::SetCaption(const std::string& value)
{
    if (value == FCaption)
        return;
    EachLink(Clients(), [&](TActionLink& l) { l.SetCaption(value); });
    FCaption = value;
}

void TAction::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    EachLink(Clients(), [&](TActionLink& l) { l.SetChecked(value); });
    FChecked = value;
    if (value)
        UncheckGroup();
}

void TAction::UncheckGroup()
{
    if (FGroupIndex <= 0 || !FActionList)
        return;
    const std::vector<TAction*> actions = FActionList->FActions;
    for (TAction* other : actions)
        if (other != this && other->FGroupIndex == FGroupIndex)
            other->SetChecked(false);
}

void TAction::SetEnabled(bool value)
{
    if (value == FEnabled)
        return;
    EachLink(Clients(), [&](TActionLink& l) { l.SetEnabled(value); });
    FEnabled = value;
}

void TAction::SetHint(const std::string& value)
{
    if (value == FHint)
        return;
    EachLink(Clients(), [&](TActionLink& l) { l.SetHint(value); });
    FHint = value;
}

void TAction::SetVisible(bool value)
{
    if (value == FVisible)
        return;
    EachLink(Clients(), [&](TActionLink& l) { l.SetVisible(value); });
    FVisible = value;
}

void TAction::SetGroupIndex(int value)
{
    if (value == FGroupIndex)
        return;
    EachLink(Clients(), [&](TActionLink& l) { l.SetGroupIndex(value); });
    FGroupIndex = value;
    if (FChecked)
        UncheckGroup();
}

bool TAction::Execute()
{
    return FEnabled && TBasicAction::Execute();
}

// --- TActionList -------------------------------------------------------------------------

TActionList::TActionList(TComponent* owner) : TComponent(owner)
{
    LiveLists().push_back(this);
}

TActionList::~TActionList()
{
    std::erase(LiveLists(), this);
    while (!FActions.empty())
        FActions.back()->SetActionList(nullptr);
}

void TActionList::UpdateActions()
{
    // A handler may free actions of the list: walk by index, against the current list.
    for (size_t i = 0; i < FActions.size(); ++i)
        FActions[i]->Update();
}

bool TActionList::ExecuteShortCut(TShortCut shortCut)
{
    if (shortCut == scNone)
        return false;
    for (TAction* a : FActions)
        if (a->ShortCut() == shortCut && a->Enabled()) {
            a->Execute();
            return true;
        }
    return false;
}

void UpdateActions()
{
    const std::vector<TActionList*> lists = LiveLists();
    for (TActionList* list : lists)
        if (std::find(LiveLists().begin(), LiveLists().end(), list) != LiveLists().end())
            list->UpdateActions();
}

// --- Links -------------------------------------------------------------------------------

TActionLink::~TActionLink()
{
    SetAction(nullptr);
}

void TActionLink::SetAction(TBasicAction* value)
{
    if (value == FAction)
        return;
    if (FAction)
        std::erase(FAction->FClients, this);
    FAction = value;
    if (value)
        value->FClients.push_back(this);
}

TAction* TActionLink::LinkedAction() const
{
    return dynamic_cast<TAction*>(FAction);
}

bool TActionLink::Execute(TComponent* client)
{
    TBasicAction* action = FAction;
    if (!action)
        return false;
    action->SetActionComponent(client);
    bool done = false;
    try {
        done = action->Execute();
    } catch (...) {
        // The action may be gone by now (its handler freed it): only a live one is reset.
        if (FAction == action)
            action->SetActionComponent(nullptr);
        throw;
    }
    if (FAction == action)
        action->SetActionComponent(nullptr);
    return done;
}

void TControlActionLink::TakeValues(bool onlyDefaults)
{
    const TAction* a = LinkedAction();
    if (!a)
        return;
    if (!onlyDefaults || FClient->Caption().empty())
        FClient->SetCaption(a->Caption());
    if (!onlyDefaults || FClient->Enabled())
        FClient->SetEnabled(a->Enabled());
    if (!onlyDefaults || FClient->Hint().empty())
        FClient->SetHint(a->Hint());
    if (!onlyDefaults || FClient->Visible())
        FClient->SetVisible(a->Visible());
}

bool TControlActionLink::IsCaptionLinked() const
{
    const TAction* a = LinkedAction();
    return a && FClient->Caption() == a->Caption();
}

bool TControlActionLink::IsEnabledLinked() const
{
    const TAction* a = LinkedAction();
    return a && FClient->Enabled() == a->Enabled();
}

bool TControlActionLink::IsHintLinked() const
{
    const TAction* a = LinkedAction();
    return a && FClient->Hint() == a->Hint();
}

bool TControlActionLink::IsVisibleLinked() const
{
    const TAction* a = LinkedAction();
    return a && FClient->Visible() == a->Visible();
}

void TControlActionLink::SetCaption(const std::string& value)
{
    if (IsCaptionLinked())
        FClient->SetCaption(value);
}

void TControlActionLink::SetEnabled(bool value)
{
    if (IsEnabledLinked())
        FClient->SetEnabled(value);
}

void TControlActionLink::SetHint(const std::string& value)
{
    if (IsHintLinked())
        FClient->SetHint(value);
}

void TControlActionLink::SetVisible(bool value)
{
    if (IsVisibleLinked())
        FClient->SetVisible(value);
}

} // namespace hx
