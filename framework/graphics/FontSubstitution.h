#pragma once
// Font names the product asks for that Linux does not have resolve to metric-compatible
// faces: "ＭＳ Ｐゴシック" and "MS PGothic" to Konatu (then IPAPGothic, VL PGothic, Noto Sans
// CJK JP, the default sans); "MS Sans Serif" and "Tahoma" to DejaVu Sans.
// Konatu is the one free Japanese face whose fully hinted 11 px digits keep a swatch's
// widest code ("#999999" and its kind: 35 px) inside a 40 px swatch's 1 px border; the
// others measure 39 to 49 px there and paint over the border.
#include <string>

namespace hx {

class TFont;

// Registers the substitutions with Qt once; later calls do nothing. Needs the GUI session.
void RegisterFontSubstitutions();

// The installed family a font with this name is drawn in.
std::string ResolvedFamily(const std::string& name);
std::string ResolvedFamily(const TFont& font);

} // namespace hx
