// Reference-counted, immutable 8-bit text (ISO Latin-1 where it meets the OS).
#pragma once

#include <cstdint>
#include <string_view>

#include "base/rc.h"

namespace Wex {

class rcString;
// A refString that holds no object stands for an empty text.
using refString = ref<rcString>;

class rcString : public rc {
public:
    // The bytes of the text (embedded NULs are kept) followed by a terminating NUL.
    explicit rcString(std::string_view text);
    rcString(const rcString&) = delete;
    rcString& operator=(const rcString&) = delete;
    ~rcString() override;

    // The byte count including the terminating NUL: an empty text has size 1.
    int64_t GetSize() const noexcept { return fSize; }
    const char* GetChars() const noexcept { return fChars; }
    std::string_view GetText() const noexcept { return {fChars, static_cast<size_t>(fSize - 1)}; }

    // True for the same object, or the same size and bytes; a null reference counts as empty text.
    bool IsEqual(const refString& other) const noexcept;
    // Searches the byte from the start index to the end of the text (never the terminating NUL);
    // stores its index and answers true, else answers false.
    bool FindChar(int64_t start, char byte, int64_t& index) const noexcept;

    // The one program-wide empty string.
    static refString GetEmpty();

private:
    static constexpr int64_t kInlineSize = 16;

    int64_t fSize;
    char* fChars;
    char fInline[kInlineSize];
};

// A new string of the text; the shared empty string for an empty text.
refString MakeRCString(std::string_view text);

} // namespace Wex

using Wex::refString;
