#include "velto/text_macros.h"

#include <array>
#include <string>

#include "base/exceptions.h"
#include "base/text.h"
#include "velto/root_view.h"

namespace Velto {

namespace {

// Tag numbers: an opening tag is even, and its closing tag the next number.
enum Tag { kVar = 0, kWindows = 2, kMac = 4, kXlate = 6, kUppercase = 8, kLowercase = 10 };

constexpr std::array<std::string_view, 12> kTags = {
    "[var]",   "[/var]",   "[windows]",   "[/windows]",   "[mac]",       "[/mac]",
    "[xlate]", "[/xlate]", "[uppercase]", "[/uppercase]", "[lowercase]", "[/lowercase]",
};

// A perfect hash of the tags: (second character + fifth character) & 31 indexes this table.
constexpr std::array<signed char, 32> kTagIndex = {
    -1, 1, -1, -1, -1, -1, 11, -1, -1, -1, 4, -1, 6,  -1, -1, -1,
    7,  10, 5, 0,  -1, -1, -1, -1, -1, -1, 8, 2,  -1, 3,  -1, 9,
};

constexpr std::size_t HashTag(std::string_view candidate) {
  return (static_cast<unsigned char>(candidate[1]) + static_cast<unsigned char>(candidate[4])) & 31u;
}

constexpr bool EveryTagHashesToItself() {
  for (std::size_t tag = 0; tag < kTags.size(); ++tag) {
    if (kTagIndex[HashTag(kTags[tag])] != static_cast<int>(tag)) return false;
  }
  return true;
}
static_assert(EveryTagHashesToItself());

// The number of the tag that the bracketed candidate is, or -1.
int FindTag(std::string_view candidate) {
  if (candidate.size() < 5 || candidate.size() > 12) return -1;
  const int tag = kTagIndex[HashTag(candidate)];
  return tag >= 0 && kTags[static_cast<std::size_t>(tag)] == candidate ? tag : -1;
}

// Fails unless `count` more bytes fit in one expansion beside the `held` bytes that the enclosing
// levels keep and the output so far.
void CheckRoom(const std::string& output, std::size_t held, std::size_t count) {
  if (held + output.size() + count > kMaxExpandedText) {
    throw FormatException("Meta tags expand to more than " + std::to_string(kMaxExpandedText) + " bytes");
  }
}

void Append(std::string& output, std::size_t held, std::string_view text) {
  CheckRoom(output, held, text.size());
  output += text;
}

// One nesting level: `level` opening tags enclose it, and their texts so far hold `held` bytes.
// Each level has its own quote state.
const char* ExpandLevel(rcRootView& root, const char* position, const char* end, std::string& output,
                        int expectedClosingTag, int level, std::size_t held) {
  char quote = 0;
  while (position != end) {
    const char* run = position;
    while (position != end && *position != '[' && *position != '"' && *position != '\'' && *position != '\\') {
      ++position;
    }
    Append(output, held, std::string_view(run, static_cast<std::size_t>(position - run)));
    if (position == end) break;

    const char c = *position;
    if (c == '"' || c == '\'') {
      if (quote == 0) {
        quote = c;
      } else if (quote == c) {
        quote = 0;
      }
      Append(output, held, std::string_view(position, 1));
      ++position;
      continue;
    }
    if (c == '\\') {
      const bool escapes = position + 1 != end && (position[1] == '"' || position[1] == '\'' || position[1] == '\\');
      Append(output, held, std::string_view(escapes ? position + 1 : position, 1));
      position += escapes ? 2 : 1;
      continue;
    }

    // A '[': a candidate tag runs to the next ']' unless a '[' or the end comes first.
    const char* close = position + 1;
    while (close != end && *close != '[' && *close != ']') ++close;
    if (close == end || *close == '[') {
      Append(output, held, std::string_view(position, static_cast<std::size_t>(close - position)));
      position = close;
      continue;
    }
    const std::string_view candidate(position, static_cast<std::size_t>(close + 1 - position));
    position = close + 1;
    const int tag = FindTag(candidate);
    if (tag < 0) {
      Append(output, held, candidate);
      continue;
    }
    if (tag % 2 != 0) {
      if (tag == expectedClosingTag) return position;
      throw FormatException("Unexpected meta tag: " + std::string(candidate));
    }
    if (level >= kMaxMacroNesting) throw FormatException("Meta tags nested too deeply: " + std::string(candidate));

    if (tag == kMac) {
      position = ExpandLevel(root, position, end, output, tag + 1, level + 1, held);
      continue;
    }
    std::string inner;
    position = ExpandLevel(root, position, end, inner, tag + 1, level + 1, held + output.size());
    switch (tag) {
      case kVar: {
        const std::string value = root.GetController().GetVariable(root, inner);
        if (quote == 0) {
          Append(output, held, value);
        } else {
          CheckRoom(output, held, value.size());  // before quoting makes it longer still
          const std::string quoted = Wex::Quote(value);
          Append(output, held, std::string_view(quoted).substr(1, quoted.size() - 2));
        }
        break;
      }
      case kXlate:
        Append(output, held, root.GetController().GetText(root, inner));
        break;
      case kUppercase:
        Append(output, held, Wex::ToUpperCase(inner));
        break;
      case kLowercase:
        Append(output, held, Wex::ToLowerCase(inner));
        break;
      default:  // kWindows: the passage is dropped
        break;
    }
  }
  return end;
}

}  // namespace

std::string ExpandTextMacros(rcRootView& root, std::string_view text) {
  if (text.find('[') == std::string_view::npos) return std::string(text);
  std::string output;
  ExpandMacroTags(root, text.data(), text.data() + text.size(), output, kNoClosingTag);
  return output;
}

const char* ExpandMacroTags(rcRootView& root, const char* position, const char* end, std::string& output,
                            int expectedClosingTag) {
  return ExpandLevel(root, position, end, output, expectedClosingTag, expectedClosingTag == kNoClosingTag ? 0 : 1, 0);
}

bool HasVariableMacro(std::string_view text) { return text.find("[var]") != std::string_view::npos; }

}  // namespace Velto
