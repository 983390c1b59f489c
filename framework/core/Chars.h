#pragma once
// Character tests and UTF-8 helpers shared by the text the framework reads and draws (form
// descriptions, settings files, drawn text).
#include <cstddef>
#include <cstdint>
#include <string>

namespace hx {

// The value of a hexadecimal digit (0-9, a-f, A-F), or -1.
int HexDigit(char c);

// --- UTF-8 ---------------------------------------------------------------------------------
inline bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }
// The length a lead byte announces (1 for ASCII and for a byte that leads nothing). Drawing
// uses it to keep a character's bytes together; it does not check them.
int Utf8LeadLength(unsigned char lead);
// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one (overlong forms,
// surrogates and values above U+10FFFF included).
std::size_t Utf8SequenceLength(const std::string& s, std::size_t i);
// Appends code point cp (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t cp);

} // namespace hx
