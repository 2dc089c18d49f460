// Text types and conversions of the platform layer.
//
// kyn::String holds UTF-16 code units. Text files and short strings of the
// library are 8-bit Windows-1252; AnsiString holds such bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kyn {

using String = std::u16string;
using StringView = std::u16string_view;
using AnsiString = std::string;  // bytes in Windows-1252

// UTF-8 <-> UTF-16. Malformed UTF-8 sequences and lone surrogates become
// U+FFFD; nothing is dropped silently.
String Utf8ToString(std::string_view utf8);
std::string StringToUtf8(StringView text);

// Windows-1252 <-> UTF-16. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control characters of the
// same code, so every byte round-trips.
char16_t AnsiCharToWide(unsigned char c);
// The Windows-1252 byte of a UTF-16 code unit, or -1 when it has none.
int WideCharToAnsi(char16_t c);
String AnsiToString(std::string_view ansi);
// Characters outside Windows-1252 become `replacement`.
AnsiString StringToAnsi(StringView text, char replacement = '?');

// ASCII case folding: only the letters A-Z and a-z change.
constexpr char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }
constexpr char16_t AsciiUpper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }
inline String AsciiLowerCase(StringView s) {
  String r(s);
  for (char16_t& c : r) c = AsciiLower(c);
  return r;
}

// Shorthand for literals and tests: ASCII/UTF-8 text as a kyn::String.
inline String S(std::string_view utf8) { return Utf8ToString(utf8); }

}  // namespace kyn
