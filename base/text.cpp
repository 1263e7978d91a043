#include "base/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>

#include "base/encoding.h"

namespace Wex {

namespace {

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads up to `maxDigits` digits of the base at `pos`; answers the digit count.
int ReadDigits(std::string_view text, size_t& pos, int base, int maxDigits, uint32_t& value)
{
    int count = 0;
    value = 0;
    while (count < maxDigits && pos < text.size()) {
        const int digit = HexDigitValue(text[pos]);
        if (digit < 0 || digit >= base) {
            break;
        }
        value = value * static_cast<uint32_t>(base) + static_cast<uint32_t>(digit);
        ++pos;
        ++count;
    }
    return count;
}

// The index of the closing quote of the quoted text that starts at 0, or npos.
size_t FindClosingQuote(std::string_view text)
{
    const char quote = text[0];
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
        } else if (text[i] == quote) {
            return i;
        }
    }
    return std::string_view::npos;
}

bool IsQuotedText(std::string_view text)
{
    return text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && FindClosingQuote(text) == text.size() - 1;
}

// Resolves the escapes of a quoted text's body; the wide form also knows \u and \l.
template <class Char>
std::basic_string<Char> Unescape(std::string_view body)
{
    constexpr bool kWide = sizeof(Char) > 1;
    std::basic_string<Char> result;
    result.reserve(body.size());
    size_t pos = 0;
    while (pos < body.size()) {
        const char c = body[pos++];
        if (c != '\\' || pos == body.size()) {
            result.push_back(static_cast<Char>(static_cast<unsigned char>(c)));
            continue;
        }
        const char e = body[pos++];
        uint32_t value = 0;
        switch (e) {
        case 'b': value = '\b'; break;
        case 'f': value = '\f'; break;
        case 'n': value = '\n'; break;
        case 'r': value = '\r'; break;
        case 't': value = '\t'; break;
        case 'v': value = '\v'; break;
        case 'x':
        case 'u':
        case 'l': {
            const int maxDigits = e == 'x' ? 2 : e == 'u' ? 4 : 8;
            if ((e == 'x' || kWide) && ReadDigits(body, pos, 16, maxDigits, value) > 0) {
                break;
            }
            value = static_cast<unsigned char>(e);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                --pos;
                ReadDigits(body, pos, 8, 3, value);
            } else {
                value = static_cast<unsigned char>(e);
            }
        }
        result.push_back(static_cast<Char>(value));
    }
    return result;
}

// The "C" locale, so that numbers always use '.' whatever locale the host or GTK set.
locale_t CLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

template <class Number, class Read>
Number ReadNumber(std::string_view text, Number defaultValue, Read read)
{
    const std::string copy(text);
    char* end = nullptr;
    const auto value = read(copy.c_str(), &end);
    return end == copy.c_str() ? defaultValue : static_cast<Number>(value);
}

std::string FormatDouble(double value, std::chars_format format, int precision)
{
    // Fixed notation needs up to 309 integer digits, the sign, the point and the precision.
    std::string buffer(static_cast<size_t>(precision) + 320, '\0');
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, precision);
    buffer.resize(static_cast<size_t>(result.ptr - buffer.data()));
    return buffer;
}

char ChangeCase(char c, bool upper)
{
    const auto b = static_cast<unsigned char>(c);
    const bool lowerLetter = (b >= 'a' && b <= 'z') || (b >= 0xe0 && b <= 0xfe && b != 0xf7);
    const bool upperLetter = (b >= 'A' && b <= 'Z') || (b >= 0xc0 && b <= 0xde && b != 0xd7);
    if (upper && lowerLetter) {
        return static_cast<char>(b - 0x20);
    }
    if (!upper && upperLetter) {
        return static_cast<char>(b + 0x20);
    }
    return c;
}

std::string ChangeCase(std::string_view text, bool upper)
{
    std::string result(text);
    for (char& c : result) {
        c = ChangeCase(c, upper);
    }
    return result;
}

} // namespace

std::string Quote(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string result;
    result.reserve(text.size() + 2);
    result.push_back('"');
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        char escape = 0;
        switch (b) {
        case '\b': escape = 'b'; break;
        case '\t': escape = 't'; break;
        case '\n': escape = 'n'; break;
        case '\v': escape = 'v'; break;
        case '\f': escape = 'f'; break;
        case '\r': escape = 'r'; break;
        case '"':
        case '\'':
        case '\\': escape = c; break;
        default: break;
        }
        if (escape != 0) {
            result.push_back('\\');
            result.push_back(escape);
        } else if (b < 32 || b >= 127) {
            result.append({'\\', 'x', kHex[b >> 4], kHex[b & 15]});
        } else {
            result.push_back(c);
        }
    }
    result.push_back('"');
    return result;
}

std::string Unquote(std::string_view text)
{
    return IsQuotedText(text) ? Unescape<char>(text.substr(1, text.size() - 2)) : std::string(text);
}

std::wstring UnquoteWide(std::string_view text)
{
    return IsQuotedText(text) ? Unescape<wchar_t>(text.substr(1, text.size() - 2)) : Latin1ToWide(text);
}

bool StringToBool(std::string_view text, bool defaultValue)
{
    const std::string lower = ToLowerCase(text);
    if (lower == "true") {
        return true;
    }
    if (lower == "false") {
        return false;
    }
    return defaultValue;
}

int32_t StringToInt(std::string_view text, int32_t defaultValue)
{
    return ReadNumber(text, defaultValue, [](const char* s, char** end) { return std::strtol(s, end, 0); });
}

uint32_t StringToUInt(std::string_view text, uint32_t defaultValue)
{
    return ReadNumber(text, defaultValue, [](const char* s, char** end) { return std::strtoul(s, end, 0); });
}

double ReadDouble(const char* text, char** end)
{
    return strtod_l(text, end, CLocale());
}

double StringToDouble(std::string_view text, double defaultValue)
{
    return ReadNumber(text, defaultValue, ReadDouble);
}

float StringToFloat(std::string_view text, float defaultValue)
{
    return ReadNumber(text, defaultValue, [](const char* s, char** end) { return strtof_l(s, end, CLocale()); });
}

bool IsUnsignedNumberText(std::string_view text)
{
    const std::string copy(text);
    char* end = nullptr;
    std::strtoul(copy.c_str(), &end, 0);
    return end != copy.c_str() && end == copy.c_str() + copy.size();
}

std::string DoubleToString(double value)
{
    return FormatDouble(value, std::chars_format::general, 14);
}

std::string IntToString(int32_t value)
{
    return std::to_string(value);
}

refString MakeRCString(long value)
{
    return MakeRCString(std::to_string(value));
}

refString MakeRCString(double value, int precision)
{
    if (precision == -1) {
        return MakeRCString(FormatDouble(value, std::chars_format::general, 6));
    }
    // A negative precision counts as none, as with printf. Past 1074 decimals every digit of a
    // double is 0, so larger precisions are padded instead of formatted.
    constexpr int kExactDigits = 1074;
    if (precision < 0) {
        precision = 6;
    }
    std::string text = FormatDouble(value, std::chars_format::fixed, std::min(precision, kExactDigits));
    if (precision > kExactDigits && std::isfinite(value)) {
        text.append(static_cast<size_t>(precision - kExactDigits), '0');
    }
    return MakeRCString(text);
}

std::string ToUpperCase(std::string_view text)
{
    return ChangeCase(text, true);
}

std::string ToLowerCase(std::string_view text)
{
    return ChangeCase(text, false);
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty()) {
        return std::string(text);
    }
    std::string result;
    size_t pos = 0;
    for (size_t found = text.find(from); found != std::string_view::npos; found = text.find(from, pos)) {
        result.append(text.substr(pos, found - pos)).append(to);
        pos = found + from.size();
    }
    result.append(text.substr(pos));
    return result;
}

std::string ShortenForDisplay(std::string_view text)
{
    constexpr std::string_view kEllipsis = "...";
    if (text.size() <= kMaxDisplayLength) {
        return std::string(text);
    }
    return std::string(text.substr(0, kMaxDisplayLength - kEllipsis.size())).append(kEllipsis);
}

} // namespace Wex
