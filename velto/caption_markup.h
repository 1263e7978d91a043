#pragma once

// The markup of bubble pages: plain text with entities (&amp; &lt; &gt; &quot; &nbsp; &nbhp; and
// &#number;) and tags that switch text styles (<name> ... </name>), make words clickable (<click
// action=... params=... auto=true> ... </click>), run actions while the page is typed (<do ...>),
// pause the typing (<pause delay=seconds>), break lines (<br>) and move or resize the bubble
// (<move bounds=... time=... curve=...>). A page is laid out in one pass: words are measured and
// placed as the text is read, so every tag takes effect exactly where it stands.

#include <cstdint>

#include "gui/graphics_context.h"
#include "velto/bubble_state.h"

namespace Velto {

// A page's move tags start its layout again for a new rectangle at most this many times.
inline constexpr std::int32_t kMaxMoveRestarts = 16;

// Lays out the bubble's current page, measuring with the fonts in the context: the token list
// (never empty afterwards: an empty page gives one empty token), the text bounds, the target
// rectangle (the base bounds or those of the page's move tags, fitted to the text's height) and
// the move time and curve. The text is expanded by the text macros when the bubble has a root.
//
// A word too wide for the rest of the line goes to the next one, broken after its last hyphen
// if that part fits; a word too wide for a whole line is cut after a hyphen or, failing that,
// after its last character that fits (one character always fits). A move tag whose rectangle has
// not yet been the target in this call lays the page out again inside it; so the last move tag
// with a new rectangle wins.
//
// Throws Exception: "Unbalanced click tag", "Missing delay in pause tag", "Missing bounds in move
// tag", "Missing action in click or do tag", "Unrecognized style tag: " and the name, "Unbalanced
// style tags: " with the open and the closing tag's names joined by " and "; the errors of the
// text macros, the expression evaluator and the layout rectangle reader pass out. The tokens
// built before an error stay. A bubble without a default style throws FormatException "Missing
// (default) style specification for bubble view".
void ParseCaptionMarkup(cBubbleState& bubble, Wex::rcGraphicsContext& context);

}  // namespace Velto
