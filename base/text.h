// Quoting, number and value conversion, and letter case of 8-bit text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/rc_string.h"

namespace Wex {

// The text in double quotes; backspace, tab, line feed, vertical tab, form feed, carriage return,
// both quote characters and the backslash get a backslash escape, every other byte below 32, 127
// and every byte above 127 is written as \x and two lower-case hexadecimal digits.
std::string Quote(std::string_view text);

// A text in double or single quotes loses them and has its escapes resolved: \b \f \n \r \t \v,
// a backslash and up to three octal digits, \x and up to two hexadecimal digits, and a backslash
// before any other character gives that character. Any other text is returned unchanged.
std::string Unquote(std::string_view text);
// As Unquote, with the further escapes \u (four hexadecimal digits) and \l (eight); an unquoted
// text is converted from ISO Latin-1.
std::wstring UnquoteWide(std::string_view text);

// "true" or "false" in any letter case; otherwise the default.
bool StringToBool(std::string_view text, bool defaultValue);
// The number that strtol (base 0: decimal, 0x hexadecimal, leading-0 octal) reads at the start of
// the text, cut to 32 bits; the default when no number is read.
int32_t StringToInt(std::string_view text, int32_t defaultValue);
// The same with strtoul.
uint32_t StringToUInt(std::string_view text, uint32_t defaultValue);
// strtod, always with '.' as the decimal point whatever the locale.
double ReadDouble(const char* text, char** end);
// The number that strtod reads at the start of the text (always with '.' as the decimal point);
// the default when no number is read.
double StringToDouble(std::string_view text, double defaultValue);
inline double StringToDouble(double defaultValue, std::string_view text)
{
    return StringToDouble(text, defaultValue);
}
// The same in single precision.
float StringToFloat(std::string_view text, float defaultValue);
// True when strtoul (base 0) reads at least one digit and consumes the whole text.
bool IsUnsignedNumberText(std::string_view text);

// "%.14g".
std::string DoubleToString(double value);
// "%d".
std::string IntToString(int32_t value);
refString MakeRCString(long value);
// "%.*f" at the precision, or "%g" when the precision is -1.
refString MakeRCString(double value, int precision);

// The text with its letters changed by the ISO Latin-1 rules.
std::string ToUpperCase(std::string_view text);
std::string ToLowerCase(std::string_view text);

// A copy with every occurrence of `from` replaced by `to`, left to right, without rescanning
// replaced text. An empty `from` replaces nothing.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// The longest text, in bytes, that ShortenForDisplay leaves whole.
inline constexpr size_t kMaxDisplayLength = 300;
// The text as shown to a person (an error in an alert or on standard error): one of at most
// kMaxDisplayLength bytes as it is, a longer one cut to that length with "..." as its last three
// bytes. The texts are ISO Latin-1, which has no ellipsis character.
std::string ShortenForDisplay(std::string_view text);

} // namespace Wex
