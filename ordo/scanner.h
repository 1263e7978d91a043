#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ordo/charset.h"

// The primitive scans of ORDO source text. Every scanner works on a position and the end of
// the text, never reads at or past the end, and returns a position. Errors are thrown as
// ORDO::SyntaxException with an empty statement text.
namespace ORDO {

// The language's own format tag.
inline constexpr std::string_view kVersionTag = "ordo-1";

inline bool IsBlankCharacter(char c) { return c == ' ' || c == '\t'; }
inline bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
inline bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsNameCharacter(char c) { return IsLetter(c) || IsDigit(c) || c == '_' || c == '.' || c == '-'; }
inline bool IsNameStart(char c) { return IsLetter(c) || c == '_'; }

// The end of the name at p (a letter or '_', then name characters), or p when none starts there.
inline const char* SkipName(const char* p, const char* end)
{
    if (p == end || !IsNameStart(*p))
        return p;
    while (++p < end && IsNameCharacter(*p)) {
    }
    return p;
}

// Past the spaces and tabs at p: no line end, no comment.
inline const char* SkipBlankCharacters(const char* p, const char* end)
{
    while (p < end && IsBlankCharacter(*p))
        ++p;
    return p;
}

// True at a "//" or "/*" that starts a comment.
inline bool IsCommentStart(const char* p, const char* end)
{
    return *p == '/' && end - p >= 2 && (p[1] == '/' || p[1] == '*');
}

// Past a backslash at p: the backslash and the character after it, CR LF counted as one.
const char* SkipEscaped(const char* p, const char* end);

// At a '/' that begins a comment: a line comment ends before its CR or LF, a block comment
// after its "*/" ("Missing */" when there is none).
const char* SkipComment(const char* start, const char* end);

// The loop of SkipBlank, for text that starts with a blank, line end or '/'.
const char* SkipBlankRun(const char* start, const char* end);

// The characters at which SkipBlank may have something to skip.
inline constexpr CharSet kBlankStarts(" \t\r\n/");

// Skips blank characters, line ends, comments and the ".." continuation mark that follows
// the indentation of a new line.
inline const char* SkipBlank(const char* start, const char* end)
{
    if (start == end || !kBlankStarts.Has(*start))
        return start;
    // The most common stretch by far: one space between two words.
    if (*start == ' ' && end - start >= 2 && !kBlankStarts.Has(start[1]))
        return start + 1;
    return SkipBlankRun(start, end);
}

// At a '[' or '{': the position after the matching closer of the same kind. A closer of the
// other kind is ordinary text inside the group; backslashes and comments are honoured.
// Throws "Missing ]" or "Missing }" for the innermost group left open at the end.
const char* SkipBrackets(const char* start, const char* end);

// At the first character of a statement: the position of the ';' or line end that ends it,
// or the end of the text.
const char* FindStatementEnd(const char* start, const char* end);

// After a backslash: decodes one escape into code and returns the position after it.
// Decimal escapes saturate at INT32_MAX.
const char* DecodeEscape(const char* start, const char* end, uint32_t& code);

// Decodes the escapes of a whole text; bracket groups are copied as written.
std::u32string Unescape(std::string_view text);

// Reads hexadecimal digits as long as they come; older digits shift out at the top.
const char* ParseHexDigits(const char* start, const char* end, uint32_t& value);

} // namespace ORDO
