#pragma once
// The forms a copied colour code takes. The one owner of the text a copy puts on the
// clipboard: the swatch captions stay "#rrggbb" whatever the choice.
//
//   format       settings name   #ff9900 copies as
//   Hex          hex             #ff9900            (the default)
//   UpperHex     upper           #FF9900
//   ShortHex     short           #f90
//   BareHex      bare            ff9900
//   Rgb          rgb             rgb(255, 153, 0)
#include <array>
#include <string>
#include <string_view>

namespace hx {

enum class TCopyFormat { Hex, UpperHex, ShortHex, BareHex, Rgb };

constexpr std::array<TCopyFormat, 5> kCopyFormats = {TCopyFormat::Hex, TCopyFormat::UpperHex, TCopyFormat::ShortHex,
                                                     TCopyFormat::BareHex, TCopyFormat::Rgb};
constexpr TCopyFormat kDefaultCopyFormat = TCopyFormat::Hex;

// code in format. code is a web code "#rrggbb" (either case); anything else is returned as
// written, whatever the format, and Hex gives it as written. ShortHex gives the 3-digit form
// where each pair repeats its digit (every web-safe colour), and the 6-digit form otherwise.
std::string FormatColorCode(std::string_view code, TCopyFormat format);

// The name the settings file keeps the format under ("hex", "upper", "short", "bare", "rgb").
std::string_view CopyFormatName(TCopyFormat format);
// The format a settings value names, in any case; the default for anything else.
TCopyFormat CopyFormatFromName(std::string_view name);

} // namespace hx
