#pragma once

#include <string_view>

#include "ordo/exceptions.h"
#include "ordo/scanner.h"

namespace ORDO {

// The end of a value or list element at p: the first blank, line end, comment start or stop
// character outside bracket groups and escapes.
const char* FindValueEnd(const char* p, const char* end, char stop);

// Reads an argument text item by item and calls visit(label, value) for each, in written
// order, with an empty label for a positional item. The views point into text.
template <typename Visit>
void ForEachArgumentItem(std::string_view text, Visit&& visit)
{
    const char* const end = text.data() + text.size();
    const char* p = SkipBlank(text.data(), end);
    std::string_view label; // a label still waiting for its value, when labelWaiting
    bool labelWaiting = false;
    while (p < end) {
        const bool group = *p == '[' || *p == '{';
        const char* tokenEnd = p; // a value that begins with the token is scanned on from here
        if (group) {
            tokenEnd = SkipBrackets(p, end);
        } else {
            while (tokenEnd < end && IsNameCharacter(*tokenEnd))
                ++tokenEnd;
        }
        if (tokenEnd < end && *tokenEnd == ':') {
            const std::string_view next = group ? std::string_view(p + 1, size_t(tokenEnd - p - 2))
                                                : std::string_view(p, size_t(tokenEnd - p));
            if (next.empty())
                ThrowSyntaxError("Label cannot be empty");
            if (labelWaiting)
                visit(label, std::string_view());
            label = next;
            labelWaiting = true;
            p = tokenEnd = tokenEnd + 1;
            // Blanks after the colon: the value, or another label, is the next token.
            const char* const afterBlanks = SkipBlank(p, end);
            if (afterBlanks != p) {
                p = afterBlanks;
                continue;
            }
        }
        const char* const valueEnd = FindValueEnd(tokenEnd, end, ':');
        visit(labelWaiting ? label : std::string_view(), std::string_view(p, size_t(valueEnd - p)));
        labelWaiting = false;
        p = SkipBlank(valueEnd, end);
        if (p == valueEnd && p < end)
            ThrowSyntaxError("Syntax error");
    }
    if (labelWaiting)
        visit(label, std::string_view());
}

} // namespace ORDO
