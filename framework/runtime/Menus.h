#pragma once
// Popup menus: TMenuItem (a caption with an "&" access key, "-" for a separator, a check
// mark the menu never toggles by itself, sub-items) and TPopupMenu, which opens its items
// as a modal menu at a screen point.
//
// Radio items: the RadioItem siblings that share a GroupIndex are one group. Checking one
// unchecks the others; the menu shows them with a radio mark.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Events.h"

namespace hx {

class TActionLink;
class TBasicAction;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    // Frees the sub-items still attached; leaves its parent item.
    ~TMenuItem() override;
    const char* ClassName() const override { return "TMenuItem"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value) { FCaption = value; }
    bool IsLine() const { return FCaption == "-"; }
    bool Checked() const { return FChecked; }
    // Checking a radio item unchecks the other radio items of its group; a change is
    // announced to assistive technology.
    void SetChecked(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value) { FRadioItem = value; }
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value) { FGroupIndex = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }

    // Linked to an action, the item takes its Caption, Checked, Enabled, Visible and
    // GroupIndex and follows later changes (as a control does, see TControl::SetAction).
    TBasicAction* Action() const;
    void SetAction(TBasicAction* value);
    TActionLink* ActionLink() const { return FActionLink.get(); }

    TNotifyEvent OnClick;
    // What choosing the item does, when it is enabled: raises OnClick, or without one runs
    // the action.
    virtual void Click();

    TMenuItem* Parent() const { return FParent; }
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const { return FItems.at(static_cast<size_t>(index)); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;

private:
    std::string FCaption;
    bool FChecked = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FEnabled = true;
    bool FVisible = true;
    TMenuItem* FParent = nullptr;
    std::vector<TMenuItem*> FItems;
    std::unique_ptr<TActionLink> FActionLink;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;
    const char* ClassName() const override { return "TPopupMenu"; }

    // The root item; the menu's items are its sub-items.
    TMenuItem* Items() const { return FItems; }
    // Opened by a right click on a control that names this menu.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    // The control the menu was last opened for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);

    TNotifyEvent OnPopup;

    // Opens the menu modally at screen point (x, y). When an item was chosen, its OnClick
    // runs after the menu has closed, under the application's error guard.
    virtual void Popup(int x, int y);

    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* FItems;
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
};

// What opens a popup menu and returns the chosen item (null: dismissed). The default shows
// a native menu; tests install one that chooses for the user.
using TPopupRunner = std::function<TMenuItem*(TPopupMenu* menu, int x, int y)>;
// Null puts the native menu back. Returns the previous runner.
TPopupRunner SetPopupRunner(TPopupRunner runner);

} // namespace hx
