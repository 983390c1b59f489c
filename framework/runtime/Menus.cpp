#include "framework/runtime/Menus.h"

#include <algorithm>
#include <map>

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "framework/core/Exception.h"
#include "framework/runtime/Accessibility.h"
#include "framework/runtime/Actions.h"

namespace hx {

// --- TMenuItem ---------------------------------------------------------------------------

namespace {

// A menu item's link: Caption, Checked, Enabled, Visible and GroupIndex.
class TMenuActionLink : public TActionLink {
public:
    explicit TMenuActionLink(TMenuItem* client) : FClient(client) {}

    void TakeValues(bool onlyDefaults) override
    {
        const TAction* a = LinkedAction();
        if (!a)
            return;
        if (!onlyDefaults || FClient->Caption().empty())
            FClient->SetCaption(a->Caption());
        if (!onlyDefaults || FClient->GroupIndex() == 0)
            FClient->SetGroupIndex(a->GroupIndex());
        if (!onlyDefaults || !FClient->Checked())
            FClient->SetChecked(a->Checked());
        if (!onlyDefaults || FClient->Enabled())
            FClient->SetEnabled(a->Enabled());
        if (!onlyDefaults || FClient->Visible())
            FClient->SetVisible(a->Visible());
    }
    bool IsCaptionLinked() const override { return LinkedAction() && FClient->Caption() == LinkedAction()->Caption(); }
    bool IsCheckedLinked() const override { return LinkedAction() && FClient->Checked() == LinkedAction()->Checked(); }
    bool IsEnabledLinked() const override { return LinkedAction() && FClient->Enabled() == LinkedAction()->Enabled(); }
    bool IsVisibleLinked() const override { return LinkedAction() && FClient->Visible() == LinkedAction()->Visible(); }
    bool IsGroupIndexLinked() const override
    {
        return LinkedAction() && FClient->GroupIndex() == LinkedAction()->GroupIndex();
    }
    void SetCaption(const std::string& value) override { if (IsCaptionLinked()) FClient->SetCaption(value); }
    void SetChecked(bool value) override { if (IsCheckedLinked()) FClient->SetChecked(value); }
    void SetEnabled(bool value) override { if (IsEnabledLinked()) FClient->SetEnabled(value); }
    void SetVisible(bool value) override { if (IsVisibleLinked()) FClient->SetVisible(value); }
    void SetGroupIndex(int value) override { if (IsGroupIndexLinked()) FClient->SetGroupIndex(value); }

private:
    TMenuItem* FClient;
};

} // namespace

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    FActionLink.reset();
    while (!FItems.empty())
        delete FItems.back();
    if (FParent)
        FParent->Remove(this);
}

void TMenuItem::Click()
{
    if (!FEnabled)
        return;
    if (OnClick)
        OnClick(this);
    else if (FActionLink)
        FActionLink->Execute(this);
}

TBasicAction* TMenuItem::Action() const
{
    return FActionLink ? FActionLink->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* value)
{
    if (!value) {
        FActionLink.reset();
        return;
    }
    if (!FActionLink)
        FActionLink = std::make_unique<TMenuActionLink>(this);
    FActionLink->SetAction(value);
    FActionLink->TakeValues(IsLoading());
}

// Only a real change is announced, so assistive technology hears each change once.
void TMenuItem::SetChecked(bool value)
{
    if (value != FChecked) {
        FChecked = value;
        AccessibleCheckedChanged(this);
    }
    if (!value || !FRadioItem || !FParent)
        return;
    for (TMenuItem* sibling : FParent->FItems)
        if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex)
            sibling->SetChecked(false);
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item || item == this)
        return;
    if (item->FParent)
        throw EInvalidOperation("Menu inserted twice");
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item)
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end())
        return;
    FItems.erase(it);
    item->FParent = nullptr;
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

// --- The native menu ---------------------------------------------------------------------

namespace {

// Builds the visible items of parent into menu; actions map back to their items.
void BuildMenu(QMenu* menu, TMenuItem* parent, std::map<QAction*, TMenuItem*>& actions)
{
    // One exclusive action group per group index: the style draws their marks as radios.
    std::map<int, QActionGroup*> radioGroups;
    for (int i = 0; i < parent->Count(); ++i) {
        TMenuItem* item = parent->Items(i);
        if (!item->Visible())
            continue;
        if (item->IsLine()) {
            menu->addSeparator();
            continue;
        }
        // "&x" marks the access key and "&&" is an ampersand, as Qt reads captions too.
        const QString text = QString::fromStdString(item->Caption());
        if (item->Count() > 0) {
            QMenu* sub = menu->addMenu(text);
            sub->setEnabled(item->Enabled());
            BuildMenu(sub, item, actions);
            continue;
        }
        QAction* action = menu->addAction(text);
        action->setEnabled(item->Enabled());
        // The mark shows the item's state; the menu's own toggling never reaches the item.
        action->setCheckable(item->Checked() || item->RadioItem());
        action->setChecked(item->Checked());
        if (item->RadioItem()) {
            QActionGroup*& group = radioGroups[item->GroupIndex()];
            if (!group)
                group = new QActionGroup(menu);
            group->addAction(action);
        }
        actions[action] = item;
    }
}

TMenuItem* RunNativeMenu(TPopupMenu* popup, int x, int y)
{
    QMenu menu;
    std::map<QAction*, TMenuItem*> actions;
    BuildMenu(&menu, popup->Items(), actions);
    QAction* chosen = menu.exec(QPoint(x, y));
    auto it = actions.find(chosen);
    return it == actions.end() ? nullptr : it->second;
}

TPopupRunner& Runner()
{
    static TPopupRunner runner;
    return runner;
}

} // namespace

TPopupRunner SetPopupRunner(TPopupRunner runner)
{
    TPopupRunner previous = std::move(Runner());
    Runner() = std::move(runner);
    return previous;
}

// --- TPopupMenu --------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu()
{
    delete FItems;
}

void TPopupMenu::Popup(int x, int y)
{
    if (OnPopup)
        OnPopup(this);
    TMenuItem* chosen = Runner() ? Runner()(this, x, y) : RunNativeMenu(this, x, y);
    // The menu has closed: the choice runs like any other handler.
    if (chosen)
        Guarded([chosen] { chosen->Click(); });
}

void TPopupMenu::SetPopupComponent(TComponent* value)
{
    FPopupComponent = value;
    if (value)
        value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupComponent)
        FPopupComponent = nullptr;
}

} // namespace hx
