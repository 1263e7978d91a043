#include "base/encoding.h"

namespace Wex {

namespace {

constexpr wchar_t kReplacement = 0xfffd;
constexpr char kLoss = '?';

bool IsSurrogate(uint32_t c)
{
    return c >= 0xd800 && c <= 0xdfff;
}

// Decodes one UTF-8 sequence at `pos`; a malformed one yields U+FFFD and consumes its lead byte
// and the continuation bytes that were valid so far.
wchar_t DecodeUTF8(std::string_view text, size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    // The continuation count, the payload bits of the lead byte and the smallest value that
    // needs this many bytes.
    int count = 3;
    uint32_t c = lead & 0x07u;
    uint32_t minimum = 0x10000;
    if (lead >= 0xc2 && lead <= 0xdf) {
        count = 1;
        c = lead & 0x1fu;
        minimum = 0x80;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        count = 2;
        c = lead & 0x0fu;
        minimum = 0x800;
    } else if (lead < 0xf0 || lead > 0xf4) {
        return kReplacement;
    }
    for (int i = 0; i < count; ++i) {
        if (pos == text.size() || (static_cast<unsigned char>(text[pos]) & 0xc0) != 0x80) {
            return kReplacement;
        }
        c = (c << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3f);
    }
    if (c < minimum || c > 0x10ffff || IsSurrogate(c)) {
        return kReplacement;
    }
    return static_cast<wchar_t>(c);
}

void EncodeUTF8(uint32_t c, std::string& out)
{
    if (c > 0x10ffff || IsSurrogate(c)) {
        c = kReplacement;
    }
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xc0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xe0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
    } else {
        out.push_back(static_cast<char>(0xf0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3f)));
    }
}

std::string UTF16UnitsToLatin1(const rcVector<UniChar>& text)
{
    std::string result;
    result.reserve(static_cast<size_t>(text.GetSize()));
    for (int64_t i = 0; i < text.GetSize(); ++i) {
        const UniChar unit = text[i];
        if (unit <= 0xff) {
            result.push_back(static_cast<char>(unit));
            continue;
        }
        result.push_back(kLoss);
        // The low half of a pair belongs to the same character.
        if (unit >= 0xd800 && unit <= 0xdbff && i + 1 < text.GetSize() && text[i + 1] >= 0xdc00 && text[i + 1] <= 0xdfff) {
            ++i;
        }
    }
    return result;
}

} // namespace

std::wstring Latin1ToWide(std::string_view text)
{
    std::wstring result(text.size(), L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        result[i] = static_cast<unsigned char>(text[i]);
    }
    return result;
}

std::string WideToLatin1(std::wstring_view text)
{
    std::string result(text.size(), '\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<uint32_t>(text[i]);
        result[i] = c <= 0xff ? static_cast<char>(c) : kLoss;
    }
    return result;
}

std::wstring UTF8ToWide(std::string_view text)
{
    std::wstring result;
    result.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        result.push_back(DecodeUTF8(text, pos));
    }
    return result;
}

std::string WideToUTF8(std::wstring_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const wchar_t c : text) {
        EncodeUTF8(static_cast<uint32_t>(c), result);
    }
    return result;
}

ref<rcVector<UniChar>> WideToUTF16(std::wstring_view text)
{
    ref<rcVector<UniChar>> result(new rcVector<UniChar>(static_cast<int64_t>(text.size())));
    for (size_t i = 0; i < text.size(); ++i) {
        (*result)[static_cast<int64_t>(i)] = static_cast<UniChar>(text[i]);
    }
    return result;
}

ref<rcVector<char>> UTF16ToLatin1(const rcVector<UniChar>& text)
{
    const std::string latin1 = UTF16UnitsToLatin1(text);
    return new rcVector<char>(latin1.data(), static_cast<int64_t>(latin1.size()));
}

refString ToRCString(const rcVector<UniChar>& text)
{
    return MakeRCString(UTF16UnitsToLatin1(text));
}

} // namespace Wex
