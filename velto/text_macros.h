#pragma once

// Macro tags in the texts of GUI descriptions: "[var]name[/var]" gives a variable's value,
// "[windows]...[/windows]" passages vanish and "[mac]...[/mac]" passages stay, "[xlate]...[/xlate]"
// translates through the application, "[uppercase]" and "[lowercase]" change letter case. Tags
// nest; a tag still open at the end of the text closes there.

#include <cstddef>
#include <string>
#include <string_view>

namespace Velto {

class rcRootView;

// The number of a tag that no level expects to close.
inline constexpr int kNoClosingTag = -1;
// Opening tags may nest this deep.
inline constexpr int kMaxMacroNesting = 100;
// One expansion holds at most this many bytes: its output and the passages of the open tags
// together, far above any real text.
inline constexpr std::size_t kMaxExpandedText = 16 * 1024 * 1024;

// The text with its macros expanded against the root view's controller; a text without '[' comes
// back unchanged. Throws FormatException "Unexpected meta tag: " and the tag for a closing tag that
// no open tag expects, and "Meta tags nested too deeply: " and the tag for an opening tag beyond
// kMaxMacroNesting levels, and "Meta tags expand to more than 16777216 bytes" before the
// expansion would hold more than kMaxExpandedText bytes.
std::string ExpandTextMacros(rcRootView& root, std::string_view text);

// Appends the expansion of the text from `position` to `output` and answers the position after
// the closing tag `expectedClosingTag` (a tag number, or kNoClosingTag), or `end`.
const char* ExpandMacroTags(rcRootView& root, const char* position, const char* end, std::string& output,
                            int expectedClosingTag);

// True when the text contains "[var]" anywhere.
bool HasVariableMacro(std::string_view text);

}  // namespace Velto
