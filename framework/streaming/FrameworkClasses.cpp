#include "framework/streaming/FrameworkClasses.h"

#include "framework/graphics/Bitmap.h"
#include "framework/runtime/Actions.h"
#include "framework/runtime/Buttons.h"
#include "framework/streaming/ClassRegistry.h"
#include "framework/runtime/Control.h"
#include "framework/runtime/GraphicControl.h"
#include "framework/runtime/Form.h"
#include "framework/runtime/Menus.h"
#include "framework/services/Timer.h"
#include "framework/runtime/WinControl.h"

namespace hx {

const TEnumInfo& AlignInfo()
{
    static const TEnumInfo info{"TAlign", {HX_ALIGN_VALUES(HX_ENUM_NAME)}};
    return info;
}
const TEnumInfo& AnchorKindInfo()
{
    static const TEnumInfo info{"TAnchorKind", {HX_ANCHORKIND_VALUES(HX_ENUM_NAME)}};
    return info;
}
const TEnumInfo& DragModeInfo()
{
    static const TEnumInfo info{"TDragMode", {HX_DRAGMODE_VALUES(HX_ENUM_NAME)}};
    return info;
}
const TEnumInfo& FontStyleInfo()
{
    static const TEnumInfo info{"TFontStyle", {HX_FONTSTYLE_VALUES(HX_ENUM_NAME)}};
    return info;
}
const TEnumInfo& BorderStyleInfo()
{
    static const TEnumInfo info{"TFormBorderStyle", {HX_FORMBORDERSTYLE_VALUES(HX_ENUM_NAME)}};
    return info;
}
const TEnumInfo& FormStyleInfo()
{
    static const TEnumInfo info{"TFormStyle", {HX_FORMSTYLE_VALUES(HX_ENUM_NAME)}};
    return info;
}
const TEnumInfo& ButtonLayoutInfo()
{
    static const TEnumInfo info{"TButtonLayout", {HX_BUTTONLAYOUT_VALUES(HX_ENUM_NAME)}};
    return info;
}

const TEnumInfo& BiDiModeInfo()
{
    static const TEnumInfo info{"TBiDiMode", {HX_BIDIMODE_VALUES(HX_ENUM_NAME)}};
    return info;
}

namespace {

void DeclarePersistents()
{
    TClassInfo::Of<TComponent>("TComponent").String("Name", &TComponent::Name, &TComponent::SetName).NotStored();

    // A font always writes all of its attributes: a description shows the whole face.
    TClassInfo::Of<TFont>("TFont")
        .IntIdents("Charset", "TFontCharset", CharsetIdents(), &TFont::Charset, &TFont::SetCharset)
        .Color("Color", &TFont::Color, &TFont::SetColor)
        .Int("Height", &TFont::Height, &TFont::SetHeight)
        .String("Name", &TFont::Name, &TFont::SetName)
        .Set("Style", "TFontStyles", FontStyleInfo(), &TFont::Style, &TFont::SetStyle);

    // Constraints.MaxWidth = 120; a limit of 0 (none) is left out.
    using SC = TSizeConstraints;
    TClassInfo::Of<SC>("TSizeConstraints")
        .Int("MaxHeight", &SC::MaxHeight, &SC::SetMaxHeight, 0)
        .Int("MaxWidth", &SC::MaxWidth, &SC::SetMaxWidth, 0)
        .Int("MinHeight", &SC::MinHeight, &SC::SetMinHeight, 0)
        .Int("MinWidth", &SC::MinWidth, &SC::SetMinWidth, 0);

    // Owned bitmaps stream as Glyph.Data = {PNG bytes}.
    TClassInfo::Of<TBitmap>("TBitmap")
        .Binary("Data",
                [](TBitmap& b) { return b.Empty() ? std::vector<std::uint8_t>() : b.SaveToData(); },
                [](TBitmap& b, const std::vector<std::uint8_t>& data) { b.LoadFromData(data); });
}

// Where a control sits: its parent container. Only a container (a form, a panel) takes
// nested controls.
void SetControlParent(TComponent* child, TComponent* parent)
{
    auto* container = dynamic_cast<TWinControl*>(parent);
    if (!container)
        throw EInvalidOperation("Control " + child->Name() + " cannot be placed on " + parent->Name() +
                                ", which holds no controls");
    static_cast<TControl*>(child)->SetParent(container);
}

TComponent* ControlParent(TComponent* child)
{
    return static_cast<TControl*>(child)->Parent();
}

// A value the control takes from its action is the action's to write.
template <bool (TActionLink::*Linked)() const>
bool NotFromAction(const TControl& c)
{
    return !c.ActionLink() || !(c.ActionLink()->*Linked)();
}

void DeclareControls()
{
    TClassInfo::Of<TControl>("TControl", "TComponent")
        .Inherit("Name")
        .Int("Left", &TControl::Left, &TControl::SetLeft)
        .Int("Top", &TControl::Top, &TControl::SetTop)
        .Int("Width", &TControl::Width, &TControl::SetWidth)
        .Int("Height", &TControl::Height, &TControl::SetHeight)
        .Component<TBasicAction>("Action", "TBasicAction", &TControl::Action, &TControl::SetAction)
        .Enum("Align", AlignInfo(), &TControl::Align, &TControl::SetAlign, alNone)
        .Set("Anchors", "TAnchors", AnchorKindInfo(), &TControl::Anchors, &TControl::SetAnchors, akLeft | akTop)
        .Enum("BiDiMode", BiDiModeInfo(), &TControl::BiDiMode, &TControl::SetBiDiMode)
        .StoredWhen([](TControl& c) { return !c.ParentBiDiMode(); })
        .String("Caption", &TControl::Caption, &TControl::SetCaption, std::string())
        .StoredWhen(NotFromAction<&TActionLink::IsCaptionLinked>)
        .Color("Color", &TControl::Color, &TControl::SetColor)
        .StoredWhen([](TControl& c) { return !c.ParentColor(); })
        .Object("Constraints", &TControl::Constraints, "TSizeConstraints")
        .Cursor("Cursor", &TControl::Cursor, &TControl::SetCursor, crDefault)
        .Cursor("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor, crDrag)
        .Enum("DragMode", DragModeInfo(), &TControl::DragMode, &TControl::SetDragMode, dmManual)
        .Bool("Enabled", &TControl::Enabled, &TControl::SetEnabled, true)
        .StoredWhen(NotFromAction<&TActionLink::IsEnabledLinked>)
        .Object("Font", &TControl::Font, "TFont")
        .StoredWhen([](TControl& c) { return !c.ParentFont(); })
        .String("Hint", &TControl::Hint, &TControl::SetHint, std::string())
        .StoredWhen(NotFromAction<&TActionLink::IsHintLinked>)
        .Bool("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode, true)
        .Bool("ParentColor", &TControl::ParentColor, &TControl::SetParentColor, true)
        .Bool("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true)
        .Bool("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint, true)
        .Component<TPopupMenu>("PopupMenu", "TPopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu)
        .Bool("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .StoredWhen([](TControl& c) { return !c.ParentShowHint(); })
        .Int("Tag", &TControl::Tag, &TControl::SetTag, 0)
        .Bool("Visible", &TControl::Visible, &TControl::SetVisible, true)
        .StoredWhen(NotFromAction<&TActionLink::IsVisibleLinked>)
        .Event<TNotifyEvent>("OnClick", &TControl::OnClick, FieldSetter<&TControl::OnClick>{}, "TNotifyEvent")
        .Event<TNotifyEvent>("OnDblClick", &TControl::OnDblClick, FieldSetter<&TControl::OnDblClick>{}, "TNotifyEvent")
        .Event<TDragDropEvent>("OnDragDrop", &TControl::OnDragDrop, FieldSetter<&TControl::OnDragDrop>{}, "TDragDropEvent")
        .Event<TDragOverEvent>("OnDragOver", &TControl::OnDragOver, FieldSetter<&TControl::OnDragOver>{}, "TDragOverEvent")
        .Event<TEndDragEvent>("OnEndDrag", &TControl::OnEndDrag, FieldSetter<&TControl::OnEndDrag>{}, "TEndDragEvent")
        .Event<TMouseEvent>("OnMouseDown", &TControl::OnMouseDown, FieldSetter<&TControl::OnMouseDown>{}, "TMouseEvent")
        .Event<TMouseMoveEvent>("OnMouseMove", &TControl::OnMouseMove, FieldSetter<&TControl::OnMouseMove>{}, "TMouseMoveEvent")
        .Event<TMouseEvent>("OnMouseUp", &TControl::OnMouseUp, FieldSetter<&TControl::OnMouseUp>{}, "TMouseEvent")
        .Event<TStartDragEvent>("OnStartDrag", &TControl::OnStartDrag, FieldSetter<&TControl::OnStartDrag>{}, "TStartDragEvent")
        .ParentHooks(SetControlParent, ControlParent);

    TClassInfo::Of<TGraphicControl>("TGraphicControl", "TControl").InheritAll();
    TClassInfo::Of<TWinControl>("TWinControl", "TControl").InheritAll();

    // A form's Width and Height are its client size, which ClientWidth/ClientHeight store.
    TClassInfo::Of<TForm>("TForm", "TWinControl")
        .Inherit("Name", "Left", "Top", "Width")
        .NotStored()
        .Inherit("Height")
        .NotStored()
        .Inherit("BiDiMode")
        .Enum("BorderStyle", BorderStyleInfo(), &TForm::BorderStyle, &TForm::SetBorderStyle, bsSizeable)
        .Inherit("Caption")
        .Int("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight)
        .Int("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth)
        .Color("Color", &TForm::Color, &TForm::SetColor, clBtnFace)
        .Inherit("Cursor", "Enabled", "Font")
        .Enum("FormStyle", FormStyleInfo(), &TForm::FormStyle, &TForm::SetFormStyle, fsNormal)
        .Inherit("Hint")
        .Bool("OldCreateOrder", &TForm::OldCreateOrder, &TForm::SetOldCreateOrder)
        .Inherit("PopupMenu", "ShowHint", "Tag")
        .Bool("Visible", &TForm::Visible, &TForm::SetVisible, false)
        .Inherit("OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp")
        .Event<TCloseEvent>("OnClose", &TForm::OnClose, FieldSetter<&TForm::OnClose>{}, "TCloseEvent")
        .Event<TNotifyEvent>("OnCreate", &TForm::OnCreate, FieldSetter<&TForm::OnCreate>{}, "TNotifyEvent")
        .Event<TNotifyEvent>("OnDestroy", &TForm::OnDestroy, FieldSetter<&TForm::OnDestroy>{}, "TNotifyEvent")
        .Int("PixelsPerInch", &TForm::PixelsPerInch, &TForm::SetPixelsPerInch)
        .Int("TextHeight", &TForm::TextHeight, &TForm::SetTextHeight);
}

// GroupIndex comes before Down, so that a description can latch a button down, and before
// AllowAllUp, whose broadcast then reaches the button's group.
void DeclareSpeedButton()
{
    using B = TSpeedButton;
    TClassInfo::Of<B>("TSpeedButton", "TGraphicControl")
        .Inherit("Name", "Left", "Top", "Width", "Height", "Action", "Align", "Anchors", "BiDiMode", "Caption",
                 "Constraints", "Cursor", "Enabled", "Font", "Hint", "ParentBiDiMode", "ParentFont", "ParentShowHint",
                 "PopupMenu", "ShowHint", "Tag", "Visible")
        .Int("GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0)
        .StoredWhen(NotFromAction<&TActionLink::IsGroupIndexLinked>)
        .Bool("Down", &B::Down, &B::SetDown, false)
        .StoredWhen(NotFromAction<&TActionLink::IsCheckedLinked>)
        .Bool("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false)
        .Enum("Layout", ButtonLayoutInfo(), &B::Layout, &B::SetLayout, blGlyphLeft)
        .Int("Margin", &B::Margin, &B::SetMargin, -1)
        .Int("Spacing", &B::Spacing, &B::SetSpacing, 4)
        .Object("Glyph", &B::Glyph, "TBitmap")
        .Bool("Flat", &B::Flat, &B::SetFlat, false)
        .Inherit("OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp");
}

template <bool (TActionLink::*Linked)() const>
bool ItemNotFromAction(const TMenuItem& item)
{
    return !item.ActionLink() || !(item.ActionLink()->*Linked)();
}

// A menu item nests under its menu (the menu's root item) or under another item.
void SetItemParent(TComponent* child, TComponent* parent)
{
    auto* item = static_cast<TMenuItem*>(child);
    if (auto* menu = dynamic_cast<TPopupMenu*>(parent))
        return menu->Items()->Add(item);
    if (auto* owner = dynamic_cast<TMenuItem*>(parent))
        return owner->Add(item);
    throw EInvalidOperation("Menu item " + child->Name() + " must be placed in a menu or a menu item");
}

TComponent* ItemParent(TComponent* child)
{
    TMenuItem* parent = static_cast<TMenuItem*>(child)->Parent();
    if (!parent || parent->Owner())
        return parent;
    // The menu's root item belongs to no one: find the menu it roots.
    if (TComponent* owner = child->Owner())
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (auto* menu = dynamic_cast<TPopupMenu*>(owner->Components(i)); menu && menu->Items() == parent)
                return menu;
    return nullptr;
}

// An action nests under its action list.
void SetActionParent(TComponent* child, TComponent* parent)
{
    auto* list = dynamic_cast<TActionList*>(parent);
    if (!list)
        throw EInvalidOperation("Action " + child->Name() + " must be placed in an action list");
    static_cast<TAction*>(child)->SetActionList(list);
}

TComponent* ActionParent(TComponent* child)
{
    return static_cast<TAction*>(child)->ActionList();
}

void DeclareActions()
{
    TClassInfo::Of<TBasicAction>("TBasicAction", "TComponent")
        .Inherit("Name")
        .Event<TNotifyEvent>("OnExecute", &TBasicAction::OnExecute, FieldSetter<&TBasicAction::OnExecute>{}, "TNotifyEvent")
        .Event<TNotifyEvent>("OnUpdate", &TBasicAction::OnUpdate, FieldSetter<&TBasicAction::OnUpdate>{}, "TNotifyEvent");

    // GroupIndex before Checked, so that checking one action of a group unchecks the others
    // already read.
    TClassInfo::Of<TAction>("TAction", "TBasicAction")
        .Inherit("Name")
        .String("Caption", &TAction::Caption, &TAction::SetCaption, std::string())
        .Int("GroupIndex", &TAction::GroupIndex, &TAction::SetGroupIndex, 0)
        .Bool("Checked", &TAction::Checked, &TAction::SetChecked, false)
        .Bool("Enabled", &TAction::Enabled, &TAction::SetEnabled, true)
        .String("Hint", &TAction::Hint, &TAction::SetHint, std::string())
        .Int("ShortCut", &TAction::ShortCut, &TAction::SetShortCut, 0)
        .Bool("Visible", &TAction::Visible, &TAction::SetVisible, true)
        .Inherit("OnExecute", "OnUpdate")
        .ParentHooks(SetActionParent, ActionParent);

    TClassInfo::Of<TActionList>("TActionList", "TComponent").Inherit("Name");
}

void DeclareServices()
{
    using M = TMenuItem;
    TClassInfo::Of<M>("TMenuItem", "TComponent")
        .Inherit("Name")
        .Component<TBasicAction>("Action", "TBasicAction", &M::Action, &M::SetAction)
        .String("Caption", &M::Caption, &M::SetCaption)
        .StoredWhen(ItemNotFromAction<&TActionLink::IsCaptionLinked>)
        .Bool("Checked", &M::Checked, &M::SetChecked, false)
        .StoredWhen(ItemNotFromAction<&TActionLink::IsCheckedLinked>)
        .Int("GroupIndex", &M::GroupIndex, &M::SetGroupIndex, 0)
        .StoredWhen(ItemNotFromAction<&TActionLink::IsGroupIndexLinked>)
        .Bool("RadioItem", &M::RadioItem, &M::SetRadioItem, false)
        .Bool("Enabled", &M::Enabled, &M::SetEnabled, true)
        .StoredWhen(ItemNotFromAction<&TActionLink::IsEnabledLinked>)
        .Bool("Visible", &M::Visible, &M::SetVisible, true)
        .StoredWhen(ItemNotFromAction<&TActionLink::IsVisibleLinked>)
        .Event<TNotifyEvent>("OnClick", &TMenuItem::OnClick, FieldSetter<&TMenuItem::OnClick>{}, "TNotifyEvent")
        .ParentHooks(SetItemParent, ItemParent);

    TClassInfo::Of<TPopupMenu>("TPopupMenu", "TComponent")
        .Inherit("Name")
        .Bool("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true)
        .Event<TNotifyEvent>("OnPopup", &TPopupMenu::OnPopup, FieldSetter<&TPopupMenu::OnPopup>{}, "TNotifyEvent");

    TClassInfo::Of<TTimer>("TTimer", "TComponent")
        .Inherit("Name")
        .Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled, true)
        .Int("Interval", &TTimer::Interval, &TTimer::SetInterval, 1000)
        .Event<TNotifyEvent>("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer, "TNotifyEvent");
}

} // namespace

void RegisterFrameworkClasses()
{
    // Widgets copy inherited entries when they declare their tables; declaring the
    // framework's tables once keeps every copy equal to its source.
    static bool declared = false;
    if (declared)
        return;
    declared = true;
    DeclarePersistents();
    DeclareControls();
    DeclareSpeedButton();
    DeclareServices();
    DeclareActions();
    RegisterClass<TGraphicControl>(TClassInfo::Find("TGraphicControl"));
    RegisterClass<TWinControl>(TClassInfo::Find("TWinControl"));
    RegisterClass<TForm>(TClassInfo::Find("TForm"));
    RegisterClass<TSpeedButton>(TClassInfo::Find("TSpeedButton"));
    RegisterClass<TMenuItem>(TClassInfo::Find("TMenuItem"));
    RegisterClass<TPopupMenu>(TClassInfo::Find("TPopupMenu"));
    RegisterClass<TTimer>(TClassInfo::Find("TTimer"));
    RegisterClass<TAction>(TClassInfo::Find("TAction"));
    RegisterClass<TActionList>(TClassInfo::Find("TActionList"));
    RegisterComponents("Standard", {"TPopupMenu", "TActionList"});
    RegisterComponents("Additional", {"TSpeedButton"});
    RegisterComponents("System", {"TTimer"});
}

} // namespace hx
