#pragma once
// Font names the product asks for that Linux does not have resolve to metric-compatible
// faces: "ＭＳ Ｐゴシック" and "MS PGothic" to IPAPGothic (then VL PGothic, Noto Sans CJK JP,
// the default sans); "MS Sans Serif" and "Tahoma" to DejaVu Sans.
#include <string>

namespace hx {

class TFont;

// Registers the substitutions with Qt once; later calls do nothing. Needs the GUI session.
void RegisterFontSubstitutions();

// The installed family a font with this name is drawn in.
std::string ResolvedFamily(const std::string& name);
std::string ResolvedFamily(const TFont& font);

} // namespace hx
