#include "framework/Color.h"

#include <strings.h>
#include <iterator>

#include "framework/Platform.h"

namespace hx {

TColor GetSysColor(int index)
{
    return Platform().GetSysColor(index);
}

TColor ColorToRGB(TColor color)
{
    if (IsSystemColor(color))
        return GetSysColor(SystemColorIndex(color));
    if (color == clNone)
        return clBlack;
    if (color == clDefault)
        return clWhite;
    return color & 0x00FFFFFF;
}

namespace {

struct ColorName {
    TColor Value;
    const char* Name;
};

constexpr ColorName kColorNames[] = {
    {clBlack, "clBlack"}, {clMaroon, "clMaroon"}, {clGreen, "clGreen"}, {clOlive, "clOlive"},
    {clNavy, "clNavy"}, {clPurple, "clPurple"}, {clTeal, "clTeal"}, {clGray, "clGray"},
    {clSilver, "clSilver"}, {clRed, "clRed"}, {clLime, "clLime"}, {clYellow, "clYellow"},
    {clBlue, "clBlue"}, {clFuchsia, "clFuchsia"}, {clAqua, "clAqua"}, {clWhite, "clWhite"},
    {clNone, "clNone"}, {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"}, {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"}, {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"}, {clWindow, "clWindow"}, {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"}, {clWindowText, "clWindowText"}, {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"}, {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"}, {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"}, {clBtnFace, "clBtnFace"}, {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"}, {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"}, {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"}, {cl3DLight, "cl3DLight"}, {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"}, {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"}, {clMenuBar, "clMenuBar"},
};

} // namespace

bool ColorToIdent(TColor color, const char*& name)
{
    for (const ColorName& entry : kColorNames) {
        if (entry.Value == color) {
            name = entry.Name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(const char* name, TColor& color)
{
    for (const ColorName& entry : kColorNames) {
        if (strcasecmp(entry.Name, name) == 0) {
            color = entry.Value;
            return true;
        }
    }
    return false;
}

} // namespace hx
