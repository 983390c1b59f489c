#pragma once
// Actions: one command that several clients (buttons, menu items) show and run.
//
//   TBasicAction   OnExecute and OnUpdate, and the links of its clients
//   TAction        Caption, Checked, Enabled, Hint, Visible, GroupIndex, ShortCut; lives in
//                  a TActionList (its parent in a form description)
//   TActionList    holds actions; at idle it runs their OnUpdate (UpdateActions)
//
// A client follows its action through a link (TActionLink). The action tells each link
// about a change before it stores the new value; the link passes the change on only while
// the client still shows the old one, so a value the client was given by itself stays.
// Freeing an action leaves its links without an action: the clients keep working.
//
// OnUpdate runs when the application falls idle after handling input (TApplication::Idle),
// never from a timer: with no input, nothing runs.
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/core/Events.h"
#include "framework/runtime/Control.h"

namespace hx {

class TActionLink;
class TActionList;

// A key and its modifiers in one word: the key code, plus scShift, scCtrl, scAlt.
using TShortCut = unsigned short;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
TShortCut ShortCutOf(unsigned key, TShiftState shift);

class TBasicAction : public TComponent {
public:
    explicit TBasicAction(TComponent* owner);
    // Every link that still uses this action is left without one.
    ~TBasicAction() override;
    const char* ClassName() const override { return "TBasicAction"; }

    // Runs OnExecute; false when there is none (nothing was done).
    virtual bool Execute();
    // Runs OnUpdate; false when there is none.
    virtual bool Update();
    // The client whose link runs the action, while it runs.
    TComponent* ActionComponent() const { return FActionComponent; }
    void SetActionComponent(TComponent* value) { FActionComponent = value; }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

    int ClientCount() const { return static_cast<int>(FClients.size()); }

protected:
    const std::vector<TActionLink*>& Clients() const { return FClients; }

private:
    friend class TActionLink;
    std::vector<TActionLink*> FClients;
    TComponent* FActionComponent = nullptr;
};

class TAction : public TBasicAction {
public:
    explicit TAction(TComponent* owner);
    ~TAction() override;
    const char* ClassName() const override { return "TAction"; }

    // The list the action belongs to (null: none). Setting it moves the action.
    TActionList* ActionList() const { return FActionList; }
    void SetActionList(TActionList* value);

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    // Checking an action of a group (GroupIndex > 0) unchecks the others of its list's group.
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int value);
    // The key that runs the action on its form (TForm::KeyDown); scNone for none.
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value) { FShortCut = value; }

    // A disabled action does nothing.
    bool Execute() override;

private:
    void UncheckGroup();

    TActionList* FActionList = nullptr;
    std::string FCaption;
    bool FChecked = false;
    bool FEnabled = true;
    std::string FHint;
    bool FVisible = true;
    int FGroupIndex = 0;
    TShortCut FShortCut = scNone;
};

class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* owner);
    // Its actions stay (their owner frees them), in no list.
    ~TActionList() override;
    const char* ClassName() const override { return "TActionList"; }

    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TAction* Actions(int index) const { return FActions.at(static_cast<size_t>(index)); }
    // Runs OnUpdate of each action, in list order.
    void UpdateActions();
    // The enabled action with that shortcut, which it runs; false when there is none.
    bool ExecuteShortCut(TShortCut shortCut);

private:
    friend class TAction;
    std::vector<TAction*> FActions;
};

// Every live action list updates its actions (the application's idle step).
void UpdateActions();

// The tie of one client to its action (see the header comment). The Is…Linked questions
// say whether the client still shows the action's value; the setters pass a new value on
// when it does.
class TActionLink {
public:
    TActionLink() = default;
    TActionLink(const TActionLink&) = delete;
    TActionLink& operator=(const TActionLink&) = delete;
    virtual ~TActionLink();

    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* value);
    // The action as a TAction (the values a client takes); null for another kind or none.
    TAction* LinkedAction() const;
    // Runs the action for client; false without an action or when it did nothing.
    bool Execute(TComponent* client);

    // Takes every value of the action; with onlyDefaults (the client was just read from
    // a description) only where the client still has its default.
    virtual void TakeValues(bool onlyDefaults) = 0;

    virtual bool IsCaptionLinked() const { return false; }
    virtual bool IsCheckedLinked() const { return false; }
    virtual bool IsEnabledLinked() const { return false; }
    virtual bool IsHintLinked() const { return false; }
    virtual bool IsVisibleLinked() const { return false; }
    virtual bool IsGroupIndexLinked() const { return false; }
    virtual void SetCaption(const std::string& /*value*/) {}
    virtual void SetChecked(bool /*value*/) {}
    virtual void SetEnabled(bool /*value*/) {}
    virtual void SetHint(const std::string& /*value*/) {}
    virtual void SetVisible(bool /*value*/) {}
    virtual void SetGroupIndex(int /*value*/) {}

private:
    friend class TBasicAction;
    TBasicAction* FAction = nullptr;
};

// A control's link: Caption, Enabled, Hint and Visible.
class TControlActionLink : public TActionLink {
public:
    explicit TControlActionLink(TControl* client) : FClient(client) {}

    void TakeValues(bool onlyDefaults) override;
    bool IsCaptionLinked() const override;
    bool IsEnabledLinked() const override;
    bool IsHintLinked() const override;
    bool IsVisibleLinked() const override;
    void SetCaption(const std::string& value) override;
    void SetEnabled(bool value) override;
    void SetHint(const std::string& value) override;
    void SetVisible(bool value) override;

protected:
    TControl* FClient;
};

// A speed button's link (any button class with Down/SetDown and GroupIndex/SetGroupIndex):
// the action's Checked is the button's Down, its GroupIndex the button's GroupIndex. The
// group comes first, so that a checked action can latch its button.
template <class TButton>
class TButtonActionLink : public TControlActionLink {
public:
    explicit TButtonActionLink(TButton* client) : TControlActionLink(client) {}

    void TakeValues(bool onlyDefaults) override
    {
        TControlActionLink::TakeValues(onlyDefaults);
        const TAction* a = LinkedAction();
        if (!a)
            return;
        if (!onlyDefaults || Button().GroupIndex() == 0)
            Button().SetGroupIndex(a->GroupIndex());
        if (!onlyDefaults || !Button().Down())
            Button().SetDown(a->Checked());
    }
    bool IsCheckedLinked() const override
    {
        const TAction* a = LinkedAction();
        return a && Button().Down() == a->Checked();
    }
    bool IsGroupIndexLinked() const override
    {
        const TAction* a = LinkedAction();
        return a && Button().GroupIndex() == a->GroupIndex();
    }
    void SetChecked(bool value) override
    {
        if (IsCheckedLinked())
            Button().SetDown(value);
    }
    void SetGroupIndex(int value) override
    {
        if (IsGroupIndexLinked())
            Button().SetGroupIndex(value);
    }

private:
    TButton& Button() const { return static_cast<TButton&>(*FClient); }
};

} // namespace hx
