#pragma once
// Character tests shared by the text formats the framework reads (form descriptions,
// settings files).
namespace hx {

// The value of a hexadecimal digit (0-9, a-f, A-F), or -1.
int HexDigit(char c);

} // namespace hx
