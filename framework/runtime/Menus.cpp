#include "framework/runtime/Menus.h"

#include <algorithm>
#include <map>

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "framework/core/Exception.h"
#include "framework/runtime/Accessibility.h"

namespace hx {

// --- TMenuItem ---------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    while (!FItems.empty())
        delete FItems.back();
    if (FParent)
        FParent->Remove(this);
}

void TMenuItem::Click()
{
    if (FEnabled && OnClick)
        OnClick(this);
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
