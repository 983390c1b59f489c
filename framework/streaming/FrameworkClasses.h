#pragma once
// The published properties of the framework's own streamable classes (TComponent's Name,
// TFont, TBitmap, TSizeConstraints, TControl and its descendants, TSpeedButton, TForm, the
// menus, TTimer, the actions and action lists), their
// registration, and the enumerations widgets reuse when they declare their own tables.
#include "framework/core/TypInfo.h"

namespace hx {

// Declares the tables and registers the creatable classes, once; later calls do nothing.
// Call it before declaring a widget's table (widgets name "TGraphicControl" as their
// parent). The form reader calls it too.
void RegisterFrameworkClasses();

const TEnumInfo& AlignInfo();        // alNone … alClient
const TEnumInfo& AnchorKindInfo();   // akLeft, akTop, akRight, akBottom (TAnchors is a set of it)
const TEnumInfo& DragModeInfo();     // dmManual, dmAutomatic
const TEnumInfo& FontStyleInfo();    // fsBold, fsItalic, fsUnderline, fsStrikeOut (TFontStyles)
const TEnumInfo& BorderStyleInfo();  // bsNone … bsSizeToolWin
const TEnumInfo& FormStyleInfo();    // fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop
const TEnumInfo& ButtonLayoutInfo(); // blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom
const TEnumInfo& BiDiModeInfo();     // bdLeftToRight … bdRightToLeftReadingOnly

} // namespace hx
