#include "ordo/scanner.h"

#include <climits>
#include <vector>

#include "ordo/charset.h"
#include "ordo/exceptions.h"

namespace ORDO {

namespace {

// The kinds of the bracket groups that are open while a group is skipped: the innermost kind,
// and below it those of the enclosing groups, the first 64 in one word and any deeper ones on
// the heap. Nesting of any depth costs no stack.
class GroupKinds {
public:
    explicit GroupKinds(bool brace) : fTopIsBrace(brace) {}

    bool TopIsBrace() const { return fTopIsBrace; }

    void Push(bool brace)
    {
        if (fEnclosing < 64)
            fBits = (fBits << 1) | uint64_t(fTopIsBrace);
        else
            fMore.push_back(fTopIsBrace);
        ++fEnclosing;
        fTopIsBrace = brace;
    }

    // Closes the innermost group; false when that was the outermost one.
    bool Pop()
    {
        if (fEnclosing == 0)
            return false;
        if (--fEnclosing >= 64) {
            fTopIsBrace = fMore.back();
            fMore.pop_back();
        } else {
            fTopIsBrace = (fBits & 1) != 0;
            fBits >>= 1;
        }
        return true;
    }

private:
    bool fTopIsBrace;
    uint64_t fBits = 0;
    size_t fEnclosing = 0;
    std::vector<bool> fMore;
};

constexpr CharSet kGroupSpecials("[]{}\\/");
constexpr CharSet kStatementSpecials(";[{\\/\r\n");

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads at most maxDigits hexadecimal digits; older digits shift out at the top.
const char* ReadHex(const char* p, const char* end, int maxDigits, uint32_t& value)
{
    value = 0;
    for (int i = 0; i < maxDigits && p < end; ++i, ++p) {
        const int digit = HexValue(*p);
        if (digit < 0)
            break;
        value = (value << 4) | uint32_t(digit);
    }
    return p;
}

// After a line end at p (CR, LF or CR LF).
const char* SkipLineEnd(const char* p, const char* end)
{
    if (*p == '\r' && end - p >= 2 && p[1] == '\n')
        return p + 2;
    return p + 1;
}

bool IsContinuationMark(const char* p, const char* end)
{
    return end - p >= 2 && p[0] == '.' && p[1] == '.';
}

} // namespace

const char* SkipEscaped(const char* p, const char* end)
{
    ++p;
    if (p < end)
        p = (*p == '\r') ? SkipLineEnd(p, end) : p + 1;
    return p;
}

const char* SkipComment(const char* start, const char* end)
{
    const char* p = start + 2;
    if (start[1] == '/') {
        while (p < end && !IsLineEnd(*p))
            ++p;
        return p;
    }
    for (; end - p >= 2; ++p) {
        if (p[0] == '*' && p[1] == '/')
            return p + 2;
    }
    ThrowSyntaxError("Missing */");
}

const char* SkipBlankRun(const char* start, const char* end)
{
    const char* p = start;
    while (p < end) {
        const char c = *p;
        if (IsBlankCharacter(c)) {
            ++p;
        } else if (IsLineEnd(c)) {
            p = SkipBlankCharacters(SkipLineEnd(p, end), end);
            if (IsContinuationMark(p, end))
                p += 2;
        } else if (IsCommentStart(p, end)) {
            p = SkipComment(p, end);
        } else {
            break;
        }
    }
    return p;
}

const char* SkipBrackets(const char* start, const char* end)
{
    GroupKinds open(*start == '{');
    const char* p = start + 1;
    for (;;) {
        p = kGroupSpecials.Find(p, end);
        if (p == end)
            ThrowSyntaxError(open.TopIsBrace() ? "Missing }" : "Missing ]");
        const char c = *p;
        if (c == '[' || c == '{') {
            open.Push(c == '{');
            ++p;
        } else if (c == '\\') {
            p = SkipEscaped(p, end);
        } else if (c == '/') {
            p = IsCommentStart(p, end) ? SkipComment(p, end) : p + 1;
        } else if (c == (open.TopIsBrace() ? '}' : ']')) {
            ++p;
            if (!open.Pop())
                return p;
        } else {
            ++p;
        }
    }
}

const char* FindStatementEnd(const char* start, const char* end)
{
    if (start == end)
        return end;
    if (*start == '[')
        return SkipBrackets(start, end);
    const char* p = start;
    while ((p = kStatementSpecials.Find(p, end)) < end) {
        const char c = *p;
        if (c == ';') {
            return p;
        } else if (c == '[' || c == '{') {
            p = SkipBrackets(p, end);
        } else if (c == '\\') {
            p = SkipEscaped(p, end);
        } else if (c == '/') {
            p = IsCommentStart(p, end) ? SkipComment(p, end) : p + 1;
        } else {
            const char* const next = SkipBlankCharacters(SkipLineEnd(p, end), end);
            if (!IsContinuationMark(next, end))
                return p;
            p = next + 2;
        }
    }
    return end;
}

const char* DecodeEscape(const char* start, const char* end, uint32_t& code)
{
    code = 0;
    if (start == end)
        return start;
    static constexpr char kLetters[] = "abfnrtv";
    static constexpr uint32_t kCodes[] = {7, 8, 12, 10, 13, 9, 11};
    const char c = *start;
    for (int i = 0; i < 7; ++i) {
        if (c == kLetters[i]) {
            code = kCodes[i];
            return start + 1;
        }
    }
    if (c == 'x')
        return ReadHex(start + 1, end, 2, code);
    if (c == 'u')
        return ReadHex(start + 1, end, 4, code);
    if (IsDigit(c)) {
        const char* p = start;
        for (; p < end && IsDigit(*p); ++p) {
            const uint32_t digit = uint32_t(*p - '0');
            code = (code > (INT32_MAX - digit) / 10) ? uint32_t(INT32_MAX) : code * 10 + digit;
        }
        return p;
    }
    code = static_cast<unsigned char>(c);
    return start + 1;
}

std::u32string Unescape(std::string_view text)
{
    std::u32string out;
    out.reserve(text.size());
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char c = *p;
        if (c == '\\') {
            if (p + 1 == end)
                break;
            uint32_t code;
            p = DecodeEscape(p + 1, end, code);
            out.push_back(char32_t(code));
        } else if (c == '[') {
            const char* const group = SkipBrackets(p, end);
            for (; p < group; ++p)
                out.push_back(static_cast<unsigned char>(*p));
        } else {
            out.push_back(static_cast<unsigned char>(c));
            ++p;
        }
    }
    return out;
}

const char* ParseHexDigits(const char* start, const char* end, uint32_t& value)
{
    return ReadHex(start, end, INT_MAX, value);
}

} // namespace ORDO
