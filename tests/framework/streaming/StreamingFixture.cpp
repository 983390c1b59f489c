#include "StreamingFixture.h"

namespace hx::test {

std::vector<std::string>* TItem::Log = nullptr;

const TEnumInfo& ShadeInfo()
{
    static const TEnumInfo info{"TShade", {"shLight", "shMedium", "shDark"}};
    return info;
}
const TEnumInfo& ToneInfo()
{
    static const TEnumInfo info{"TTone", {"toWarm", "toCold"}};
    return info;
}
const TEnumInfo& MarkInfo()
{
    static const TEnumInfo info{"TMark", {"mkBold", "mkItalic", "mkUnderline"}};
    return info;
}

void TItem::Loaded()
{
    TComponent::Loaded();
    if (Log)
        Log->push_back("Loaded " + Name());
}

void TItem::SetTag(int tag)
{
    FTag = tag;
    if (Log)
        Log->push_back("Tag " + Name() + (ParentItem ? " parent " + ParentItem->Name() : " no parent"));
}

void TItem::SetBuddy(TItem* buddy)
{
    FBuddy = buddy;
    if (Log)
        Log->push_back("Buddy " + Name() + " = " + (buddy ? buddy->Name() : "nil"));
}

void TSampleForm::Loaded()
{
    TComponent::Loaded();
    if (TItem::Log)
        TItem::Log->push_back("Loaded " + Name());
}

void TSampleForm::FormCreate(TObject*) { Calls.push_back("FormCreate"); }
void TSampleForm::FormClose(TObject*, TCloseAction& action)
{
    Calls.push_back("FormClose");
    action = caFree;
}
void TSampleForm::ItemClick(TObject* sender)
{
    Calls.push_back("ItemClick " + static_cast<TComponent*>(sender)->Name());
}

void RegisterSampleClasses()
{
    TClassInfo::Of<TPen2>("TPen2")
        .Int("Width", &TPen2::Width, [](TPen2& p, int v) { p.Width = v; }, 1)
        .Color("Color", &TPen2::Color, [](TPen2& p, TColor v) { p.Color = v; }, clBlack)
        .String("Name", &TPen2::Name, [](TPen2& p, const std::string& v) { p.Name = v; }, std::string("Solid"))
        .Set("Marks", "TMarks", MarkInfo(), &TPen2::Marks, [](TPen2& p, unsigned v) { p.Marks = v; }, 0);

    TClassInfo::Of<TComponent>("TSampleComponent")
        .String("Name", &TComponent::Name, &TComponent::SetName)
        .NotStored();

    const TClassInfo* item =
        TClassInfo::Of<TItem>("TItem", "TSampleComponent")
            .Inherit("Name")
            .Int("Tag", &TItem::Tag, &TItem::SetTag, 0)
            .Enum("Tone", ToneInfo(), &TItem::Tone, [](TItem& i, TTone t) { i.Tone = t; }, toWarm)
            .Component<TItem>("Buddy", "TItem", &TItem::Buddy, &TItem::SetBuddy)
            .Event<TNotifyEvent>("OnClick", &TItem::OnClick, [](TItem& i, const TNotifyEvent& e) { i.OnClick = e; }, "TNotifyEvent")
            .ParentHooks([](TComponent* child, TComponent* parent) { static_cast<TItem*>(child)->ParentItem = parent; },
                         [](TComponent* child) { return static_cast<TItem*>(child)->ParentItem; });
    RegisterClass<TItem>(item);

    const TClassInfo* form =
        TClassInfo::Of<TSampleForm>("TSampleForm", "TSampleComponent")
            .Int("Size", &TSampleForm::Size, [](TSampleForm& f, int v) { f.Size = v; }, 10)
            .Bool("Flag", &TSampleForm::Flag, [](TSampleForm& f, bool v) { f.Flag = v; })
            .Enum("Shade", ShadeInfo(), &TSampleForm::Shade, [](TSampleForm& f, TShade v) { f.Shade = v; }, shMedium)
            .Set("Marks", "TMarks", MarkInfo(), &TSampleForm::Marks, [](TSampleForm& f, unsigned v) { f.Marks = v; }, 0)
            .String("Caption", &TSampleForm::Caption, [](TSampleForm& f, const std::string& v) { f.Caption = v; })
            .Color("Color", &TSampleForm::Color, [](TSampleForm& f, TColor v) { f.Color = v; }, clBtnFace)
            .Cursor("Cursor", &TSampleForm::Cursor, [](TSampleForm& f, int v) { f.Cursor = v; }, 0)
            .IntIdents("Charset", "TFontCharset", CharsetIdents(), &TSampleForm::Charset,
                       [](TSampleForm& f, int v) { f.Charset = v; }, 1)
            .Object("Pen", [](TSampleForm& f) { return &f.Pen; }, "TPen2")
            .Component<TItem>("Focus", "TItem", &TSampleForm::Focus, [](TSampleForm& f, TItem* i) { f.Focus = i; })
            .Binary("Data", &TSampleForm::Data, [](TSampleForm& f, const std::string& v) { f.Data = v; })
            .Event<TNotifyEvent>("OnCreate", &TSampleForm::OnCreate,
                                 [](TSampleForm& f, const TNotifyEvent& e) { f.OnCreate = e; }, "TNotifyEvent")
            .Event<TCloseEvent>("OnClose", &TSampleForm::OnClose,
                                [](TSampleForm& f, const TCloseEvent& e) { f.OnClose = e; }, "TCloseEvent")
            .Method("FormCreate", &TSampleForm::FormCreate)
            .Method("FormClose", &TSampleForm::FormClose)
            .Method("ItemClick", &TSampleForm::ItemClick);
    RegisterClass<TSampleForm>(form);
}

} // namespace hx::test
