#include "base/rc_string.h"

#include <cstring>

namespace Wex {

rcString::rcString(std::string_view text) : fSize(static_cast<int64_t>(text.size()) + 1)
{
    fChars = fSize <= kInlineSize ? fInline : new char[static_cast<size_t>(fSize)];
    if (!text.empty()) {
        std::memcpy(fChars, text.data(), text.size());
    }
    fChars[text.size()] = '\0';
}

rcString::~rcString()
{
    if (fChars != fInline) {
        delete[] fChars;
    }
}

bool rcString::IsEqual(const refString& other) const noexcept
{
    if (other.Get() == this) {
        return true;
    }
    const std::string_view otherText = other ? other->GetText() : std::string_view();
    return GetText() == otherText;
}

bool rcString::FindChar(int64_t start, char byte, int64_t& index) const noexcept
{
    if (start < 0 || start >= fSize - 1) {
        return false;
    }
    const void* found = std::memchr(fChars + start, static_cast<unsigned char>(byte), static_cast<size_t>(fSize - 1 - start));
    if (found == nullptr) {
        return false;
    }
    index = static_cast<const char*>(found) - fChars;
    return true;
}

refString rcString::GetEmpty()
{
    // One reference is held for the whole run, so the string is never released.
    static rcString* const empty = [] {
        auto* string = new rcString(std::string_view());
        AddReference(string);
        return string;
    }();
    return empty;
}

refString MakeRCString(std::string_view text)
{
    return text.empty() ? rcString::GetEmpty() : refString(new rcString(text));
}

} // namespace Wex
