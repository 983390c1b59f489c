#pragma once
// Small streamable classes of the tests' own: every value kind, a sub-object, owned
// items nested by a parent hook, handlers in a method table, and a log of what happened
// in which order.
#include <string>
#include <vector>

#include "framework/streaming/ClassRegistry.h"
#include "framework/core/Component.h"
#include "framework/core/Events.h"
#include "framework/core/TypInfo.h"

namespace hx::test {

enum TShade : unsigned char { shLight, shMedium, shDark };
enum TTone : unsigned char { toWarm, toCold };
enum TMark : unsigned char { mkBold, mkItalic, mkUnderline };

const TEnumInfo& ShadeInfo();
const TEnumInfo& ToneInfo();
const TEnumInfo& MarkInfo();

// A sub-object, streamed as dotted names.
class TPen2 : public TPersistent {
public:
    const char* ClassName() const override { return "TPen2"; }
    int Width = 1;
    TColor Color = clBlack;
    std::string Name = "Solid";
    unsigned Marks = 0;
};

class TItem : public TComponent {
public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TItem"; }
    void Loaded() override;

    int Tag() const { return FTag; }
    void SetTag(int tag);
    TItem* Buddy() const { return FBuddy; }
    void SetBuddy(TItem* buddy);
    TComponent* ParentItem = nullptr;
    TTone Tone = toWarm;
    TNotifyEvent OnClick;

    static std::vector<std::string>* Log; // what happened, in order

private:
    int FTag = 0;
    TItem* FBuddy = nullptr;
};

class TSampleForm : public TComponent {
public:
    using TComponent::TComponent;
    const char* ClassName() const override { return "TSampleForm"; }
    void Loaded() override;

    int Size = 10;
    bool Flag = false;
    TShade Shade = shMedium;
    unsigned Marks = 0;
    std::string Caption;
    TColor Color = clBtnFace;
    int Cursor = 0;
    int Charset = 1;
    TPen2 Pen;
    TItem* Focus = nullptr;
    std::string Data;
    TNotifyEvent OnCreate;
    TCloseEvent OnClose;

    void FormCreate(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void ItemClick(TObject* sender);
    std::vector<std::string> Calls;
};

// Declares and registers the classes above (idempotent).
void RegisterSampleClasses();

} // namespace hx::test
