// The shine button's published properties and its registration for form descriptions.
#include "widgets/shinespdbtn/Shinespdbtn.h"

#include "framework/core/EnumNames.h"
#include "framework/core/TypInfo.h"
#include "framework/runtime/Actions.h"
#include "framework/streaming/ClassRegistry.h"
#include "framework/streaming/FrameworkClasses.h"

namespace hx {

namespace {

const TEnumInfo& FrameTypeInfo()
{
    static const TEnumInfo info{"TFrameType", {HX_FRAMETYPE_VALUES(HX_ENUM_NAME)}};
    return info;
}

const TEnumInfo& ActiveImageTypeInfo()
{
    static const TEnumInfo info{"TActiveImageType", {HX_ACTIVEIMAGETYPE_VALUES(HX_ENUM_NAME)}};
    return info;
}

const TEnumInfo& DisabledImageTypeInfo()
{
    static const TEnumInfo info{"TDisabledImageType", {HX_DISABLEDIMAGETYPE_VALUES(HX_ENUM_NAME)}};
    return info;
}

void DeclareColorSet()
{
    using C = TShineBtnColors;
    TClassInfo::Of<C>("TShineBtnColors")
        .Color("Highlight", &C::Highlight, &C::SetHighlight, clBtnHighlight)
        .Color("Shadow", &C::Shadow, &C::SetShadow, clBtnShadow)
        .Color("DarkShadow", &C::DarkShadow, &C::SetDarkShadow, clWindowFrame)
        .Color("GradColor", &C::GradColor, &C::SetGradColor, clBlue)
        .Bool("GradVertical", &C::GradVertical, &C::SetGradVertical, false)
        .Bool("Gradation", &C::Gradation, &C::SetGradation, false)
        .Color("Color", &C::Color, &C::SetColor); // no default: always written
}

// Down and GroupIndex that come from a linked action are the action's to write.
bool DownNotFromAction(const TShineSpeedButton& b)
{
    return !b.ActionLink() || !b.ActionLink()->IsCheckedLinked();
}

bool GroupNotFromAction(const TShineSpeedButton& b)
{
    return !b.ActionLink() || !b.ActionLink()->IsGroupIndexLinked();
}

// Inherited properties first (the framework's rule for published lists), then the
// button's own in their order: GroupIndex before Down, so that a description can latch a
// button down.
void DeclareButton()
{
    using B = TShineSpeedButton;
    TClassInfo::Of<B>("TShineSpeedButton", "TGraphicControl")
        .Inherit("Action", "Align", "Anchors", "BiDiMode", "Caption", "Constraints", "Cursor", "Enabled", "Height",
                 "Hint", "Left", "Name", "ParentBiDiMode", "ParentShowHint", "ShowHint", "Tag", "Top", "Visible",
                 "Width", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp")
        .Int("GroupIndex", &B::GroupIndex, &B::SetGroupIndex, 0)
        .StoredWhen(GroupNotFromAction)
        .Bool("Down", &B::Down, &B::SetDown, false)
        .StoredWhen(DownNotFromAction)
        .Bool("ClickDownHook", &B::ClickDownHook, &B::SetClickDownHook, false)
        .Bool("AccelCharDown", &B::AccelCharDown, &B::SetAccelCharDown, false)
        .Enum("FrameType", FrameTypeInfo(), &B::FrameType, &B::SetFrameType, ftNormalFrame)
        .Bool("Transparent", &B::Transparent, &B::SetTransparent, false)
        .Bool("ActiveFrame", &B::ActiveFrame, &B::SetActiveFrame, true)
        .Bool("UpFrame", &B::UpFrame, &B::SetUpFrame, true)
        .Bool("DownFrame", &B::DownFrame, &B::SetDownFrame, true)
        .Enum("ActiveImage", ActiveImageTypeInfo(), &B::ActiveImage, &B::SetActiveImage, aiFrameLight)
        .Enum("DisabledImage", DisabledImageTypeInfo(), &B::DisabledImage, &B::SetDisabledImage, diDefault)
        .Color("DisabledHighlight", &B::DisabledHighlight, &B::SetDisabledHighlight, clBtnHighlight)
        .Color("DisabledShadow", &B::DisabledShadow, &B::SetDisabledShadow, clBtnShadow)
        .Object("Colors", &B::Colors, "TShineBtnColors")
        .Object("PressedColors", &B::PressedColors, "TShineBtnColors")
        .Color("ShineColor", &B::ShineColor, &B::SetShineColor, clYellow)
        .Object("Font", &B::Font, "TFont")
        .Color("FontHighlight", &B::FontHighlight, &B::SetFontHighlight, clNone)
        .Color("FontShadow", &B::FontShadow, &B::SetFontShadow, clNone)
        .Object("ActiveFont", &B::ActiveFont, "TFont")
        .Bool("AllowAllUp", &B::AllowAllUp, &B::SetAllowAllUp, false)
        .Enum("Layout", ButtonLayoutInfo(), &B::Layout, &B::SetLayout, blGlyphLeft)
        .Int("Margin", &B::Margin, &B::SetMargin, -1)
        .Int("Spacing", &B::Spacing, &B::SetSpacing, 4)
        .Object("Glyph", &B::Glyph, "TBitmap")
        .Event<TMouseMoveEvent>("OnMouseEnter", &B::OnMouseEnter, FieldSetter<&B::OnMouseEnter>{}, "TMouseMoveEvent")
        .Event<TMouseMoveEvent>("OnMouseLeave", &B::OnMouseLeave, FieldSetter<&B::OnMouseLeave>{}, "TMouseMoveEvent");
}

} // namespace

void RegisterShinespdbtn()
{
    static bool registered = false;
    if (registered)
        return;
    RegisterFrameworkClasses();
    DeclareColorSet();
    DeclareButton();
    RegisterClass<TShineSpeedButton>(TClassInfo::Find("TShineSpeedButton"));
    registered = true;
}

namespace Shinespdbtn {

void Register()
{
    RegisterShinespdbtn();
    RegisterComponents("Hexatint", {"TShineSpeedButton"});
}

} // namespace Shinespdbtn

} // namespace hx
