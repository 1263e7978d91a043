#include "velto/caption_markup.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/canvas.h"
#include "gui/resources/layout.h"
#include "velto/text_macros.h"

namespace Velto {

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The characters of entity names that stand for one character.
constexpr std::array<std::pair<std::string_view, wchar_t>, 6> kEntities = {{
    {"amp", L'&'}, {"gt", L'>'}, {"lt", L'<'}, {"nbsp", L' '}, {"nbhp", L'-'}, {"quot", L'"'},
}};

// The page text, with what a word that starts at each byte holds: a word runs through atoms (a
// byte, or an entity from '&' to the next ';' or the text's end) up to whitespace, '<' or the
// end, and where an atom ends does not depend on where the word began. So one backward pass
// gives every word's length and hyphen breaks, and placing a word needs only the characters
// that are measured, however long the word is.
class cPageText {
 public:
  // One atom: one character, or the bytes of an unknown entity as they stand.
  struct Atom {
    std::size_t end = 0;     // the byte after it
    std::int64_t count = 1;  // characters
    wchar_t code = 0;        // of a one-character atom
    bool literal = false;    // an unknown entity: its bytes are its characters
    bool isBreak = false;    // a '-' after which the word may break
  };

  explicit cPageText(std::string text) : fText(std::move(text)), fWords(fText.size() + 1) {
    fNextSemicolon.resize(fText.size() + 1, fText.size());
    for (std::size_t i = fText.size(); i-- > 0;) fNextSemicolon[i] = fText[i] == ';' ? i : fNextSemicolon[i + 1];
    for (std::size_t i = fText.size(); i-- > 0;) {
      if (EndsWord(i)) continue;
      const Atom atom = AtomAt(i);
      const Word& rest = fWords[atom.end];
      fWords[i] = {atom.count + rest.length, rest.afterBreak >= 0 ? rest.afterBreak : atom.isBreak ? rest.length : -1};
    }
  }

  const std::string& Text() const { return fText; }
  std::size_t Size() const { return fText.size(); }
  bool EndsWord(std::size_t pos) const { return pos >= fText.size() || IsSpace(fText[pos]) || fText[pos] == '<'; }
  // The characters of the word that starts at pos.
  std::int64_t WordLength(std::size_t pos) const { return fWords[pos].length; }
  // The characters after the word's last hyphen break; -1 when it has none.
  std::int64_t CharactersAfterBreak(std::size_t pos) const { return fWords[pos].afterBreak; }

  Atom AtomAt(std::size_t pos) const {
    const char c = fText[pos];
    if (c != '&') return {pos + 1, 1, static_cast<wchar_t>(static_cast<unsigned char>(c)), false, c == '-'};
    const std::size_t semicolon = fNextSemicolon[pos + 1];
    const std::size_t end = std::min(semicolon + 1, fText.size());
    const std::string_view name(fText.data() + pos + 1, semicolon - pos - 1);
    if (!name.empty() && name[0] == '#') return {end, 1, NumberCode(pos + 2, semicolon), false, false};
    for (const auto& [entity, code] : kEntities) {
      if (name == entity) return {end, 1, code, false, false};
    }
    return {end, static_cast<std::int64_t>(end - pos), 0, true, false};
  }

 private:
  struct Word {
    std::int64_t length = 0;
    std::int64_t afterBreak = -1;
  };

  // The code that strtoul reads from the bytes [from, to): only blanks, a sign and the digits
  // and letters of a number are handed to it, which reads no further anyway, so the bytes looked
  // at for different entities never overlap.
  wchar_t NumberCode(std::size_t from, std::size_t to) const {
    std::size_t end = from;
    while (end < to && IsSpace(fText[end])) ++end;
    if (end < to && (fText[end] == '+' || fText[end] == '-')) ++end;
    while (end < to && std::isalnum(static_cast<unsigned char>(fText[end])) != 0) ++end;
    return static_cast<wchar_t>(Wex::StringToUInt(std::string_view(fText.data() + from, end - from), 0));
  }

  std::string fText;
  std::vector<std::size_t> fNextSemicolon;  // the first ';' at or after each byte, or the size
  std::vector<Word> fWords;
};

// The characters of one word, made as far as they are needed.
class cWord {
 public:
  struct Character {
    wchar_t code;
    std::size_t end;  // the byte after it: where a word cut after it continues
    bool isBreak;
  };

  cWord(const cPageText& page, std::size_t start) : fPage(&page), fPosition(start) {}

  // Makes the first count characters (at most the word's length).
  void Extend(std::int64_t count) {
    const std::string& text = fPage->Text();
    while (static_cast<std::int64_t>(fCharacters.size()) < count) {
      if (fPosition < fLiteralEnd) {
        const auto byte = static_cast<unsigned char>(text[fPosition]);
        fCharacters.push_back({static_cast<wchar_t>(byte), fPosition + 1, false});
        ++fPosition;
        continue;
      }
      const cPageText::Atom atom = fPage->AtomAt(fPosition);
      if (atom.literal) {
        fLiteralEnd = atom.end;
        continue;
      }
      fCharacters.push_back({atom.code, atom.end, atom.isBreak});
      fPosition = atom.end;
    }
  }
  const Character& operator[](std::int64_t i) const { return fCharacters[static_cast<std::size_t>(i)]; }
  // The first count characters, made already.
  std::wstring Prefix(std::int64_t count) const {
    std::wstring prefix;
    prefix.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) prefix += (*this)[i].code;
    return prefix;
  }

 private:
  const cPageText* fPage;
  std::size_t fPosition;
  std::size_t fLiteralEnd = 0;
  std::vector<Character> fCharacters;
};

// A tag's items: its name first, then its attributes, each unquoted.
struct cTagItem {
  std::string fName;
  std::string fValue;
};

// Where a word of a style lands, relative to the baseline at 0 and horizontally at the pen.
struct cPlacement {
  Wex::cRect fBox;
  QorRaster::Rect fFrame;
  double fOuterRight = 0.0;
  Wex::cPoint fTextPosition;
  std::int32_t fTextWidth = 0;
};

Wex::cRect Unite(const Wex::cRect& a, const Wex::cRect& b) {
  const auto empty = [](const Wex::cRect& r) { return r.fRight <= r.fLeft || r.fBottom <= r.fTop; };
  if (empty(b)) return a;
  if (empty(a)) return b;
  return {std::min(a.fLeft, b.fLeft), std::min(a.fTop, b.fTop), std::max(a.fRight, b.fRight),
          std::max(a.fBottom, b.fBottom)};
}

Wex::cRect Moved(const Wex::cRect& r, std::int64_t dx, std::int64_t dy) {
  return {SaturateToInt32(r.fLeft + dx), SaturateToInt32(r.fTop + dy), SaturateToInt32(r.fRight + dx),
          SaturateToInt32(r.fBottom + dy)};
}

std::int64_t Width(const Wex::cRect& r) { return std::int64_t{r.fRight} - r.fLeft; }

// The style's font metrics and measurements; a style without a font measures nothing.
void GetMetrics(const rcTextStyle& style, Wex::rcGraphicsContext& context, std::int32_t& height,
                std::int32_t& ascent) {
  height = ascent = 0;
  if (style.fFont) style.fFont->GetMetrics(context, height, ascent);
}

Wex::cRect Measure(const rcTextStyle& style, Wex::rcGraphicsContext& context, const Wex::cPoint& p,
                   std::wstring_view text, bool includeAdvance) {
  if (!style.fFont) return {p.fX, p.fY, p.fX, p.fY};
  return style.fFont->Measure(context, p, *Wex::WideToUTF16(text), includeAdvance);
}

// One layout pass of a page for one target rectangle.
class cLayout {
 public:
  cLayout(cBubbleState& bubble, Wex::rcGraphicsContext& context, std::vector<Wex::cRect>& targets)
      : fBubble(bubble), fContext(context), fTargets(targets) {}

  // Lays the page out; false when a move tag gave a new target rectangle, for which the layout
  // starts again.
  bool Run();

 private:
  enum class Outcome { kContinue, kLineBreak, kRestart };

  const rcTextStyle& Style() const { return *fStyles.back().second; }
  Outcome ApplyTag(const std::vector<cTagItem>& items);
  std::vector<cTagItem> ReadTag();
  // Places the word at fPosition, or answers false when it goes to the next line.
  bool PlaceWord(bool& empty);
  cPlacement Place(std::wstring_view text);
  void Emit(const cWord& word, std::int64_t count, const cPlacement& placement);
  void AppendActionToken(const std::string& action, const std::string& params);
  void SkipSpace();
  void EndLine();

  cBubbleState& fBubble;
  Wex::rcGraphicsContext& fContext;
  std::vector<Wex::cRect>& fTargets;
  std::unique_ptr<cPageText> fPage;
  std::size_t fPosition = 0;
  Wex::cRect fTextRect;
  std::int64_t fPenX = 0;
  std::int64_t fPenY = 0;
  std::size_t fLineStart = 0;
  bool fAtLineStart = true;
  std::vector<std::pair<std::string, ref<rcTextStyle>>> fStyles;
  std::vector<std::pair<std::string, std::string>> fClicks;
};

bool cLayout::Run() {
  fBubble.ClearTokens();
  fBubble.fTextBounds = {};
  fTextRect = fBubble.GetTextRect(fBubble.fTargetRect.Width(), fBubble.fTargetRect.Height());
  fPenX = fTextRect.fLeft;
  fPenY = fTextRect.fTop;
  fLineStart = 0;
  const std::int32_t page = fBubble.fCurrentPage;
  std::string text;
  if (page >= 0 && static_cast<std::size_t>(page) < fBubble.fPages.size()) text = fBubble.fPages[page];
  if (fBubble.fRoot != nullptr) text = ExpandTextMacros(*fBubble.fRoot, text);
  fPage = std::make_unique<cPageText>(std::move(text));
  fPosition = 0;
  fStyles = {{"default", fBubble.fDefaultStyle}};
  fClicks = {{std::string(), std::string()}};
  const std::string& bytes = fPage->Text();
  while (fPosition < bytes.size()) {
    fAtLineStart = true;
    while (fPosition < bytes.size()) {
      if (bytes[fPosition] == '<') {
        const Outcome outcome = ApplyTag(ReadTag());
        if (outcome == Outcome::kRestart) return false;
        if (outcome == Outcome::kLineBreak) break;
        continue;
      }
      bool empty = false;
      if (!PlaceWord(empty)) break;
      if (empty && fAtLineStart) {
        SkipSpace();
      } else if (fPosition < bytes.size() && IsSpace(bytes[fPosition])) {
        const Wex::cRect space = Measure(Style(), fContext, {SaturateToInt32(fPenX), SaturateToInt32(fPenY)}, L" ",
                                         true);
        const std::int64_t width = Width(space);
        if (!fBubble.fTokens.empty()) {
          std::int32_t& gap = fBubble.fTokens.back().fGap;
          gap = SaturateToInt32(gap + width);
        }
        fPenX += width;
        fAtLineStart = false;
        SkipSpace();
      }
      if (fPenX >= fTextRect.fRight) break;
    }
    EndLine();
  }
  return true;
}

void cLayout::SkipSpace() {
  const std::string& bytes = fPage->Text();
  while (fPosition < bytes.size() && IsSpace(bytes[fPosition])) ++fPosition;
}

std::vector<cTagItem> cLayout::ReadTag() {
  const std::string& text = fPage->Text();
  const std::size_t size = text.size();
  std::size_t p = fPosition + 1;
  const auto skipSpace = [&] {
    while (p < size && IsSpace(text[p])) ++p;
  };
  std::vector<cTagItem> items;
  skipSpace();
  while (p < size && text[p] != '>') {
    const std::size_t nameStart = p;
    while (p < size && !IsSpace(text[p]) && text[p] != '=' && text[p] != '>') ++p;
    const std::string_view name(text.data() + nameStart, p - nameStart);
    skipSpace();
    std::string_view value;
    if (p < size && text[p] == '=') {
      ++p;
      skipSpace();
      const std::size_t valueStart = p;
      if (p < size && (text[p] == '"' || text[p] == '\'')) {
        const char quote = text[p++];
        while (p < size && text[p] != quote) p += text[p] == '\\' ? 2 : 1;
        p = std::min(p + 1, size);  // the closing quote
      } else {
        while (p < size && !IsSpace(text[p]) && text[p] != '>') ++p;
      }
      value = std::string_view(text.data() + valueStart, p - valueStart);
    }
    items.push_back({Wex::Unquote(name), Wex::Unquote(value)});
    skipSpace();
  }
  fPosition = std::min(p + 1, size);
  return items;
}

void cLayout::AppendActionToken(const std::string& action, const std::string& params) {
  CaptionToken token;
  token.fRevealAction = action;
  token.fRevealParams = params;
  fBubble.fTokens.push_back(std::move(token));
}

cLayout::Outcome cLayout::ApplyTag(const std::vector<cTagItem>& items) {
  if (items.empty()) return Outcome::kContinue;
  const std::string& name = items[0].fName;
  const std::span<const cTagItem> attributes(items.begin() + 1, items.end());
  if (name == "br") return Outcome::kLineBreak;
  if (name == "click" || name == "do") {
    std::string action;
    std::string params;
    std::string automatic;
    for (const cTagItem& item : attributes) {
      if (item.fName == "action") action = item.fValue;
      if (item.fName == "params") params = item.fValue;
      if (item.fName == "auto") automatic = item.fValue;
    }
    if (action.empty()) throw Exception("Missing action in click or do tag");
    if (name == "do" || Wex::StringToBool(automatic, false)) AppendActionToken(action, params);
    if (name == "click") fClicks.emplace_back(std::move(action), std::move(params));
    return Outcome::kContinue;
  }
  if (name == "/click") {
    if (fClicks.size() == 1) throw Exception("Unbalanced click tag");
    fClicks.pop_back();
    return Outcome::kContinue;
  }
  if (name == "pause") {
    const auto delay =
        std::find_if(attributes.begin(), attributes.end(), [](const cTagItem& i) { return i.fName == "delay"; });
    if (delay == attributes.end()) throw Exception("Missing delay in pause tag");
    const std::int32_t milliseconds = RoundToInt32(Wex::EvaluateExpression(delay->fValue, 0.0) * 1000.0);
    if (fBubble.fTokens.empty()) fBubble.fTokens.emplace_back();
    fBubble.fTokens.back().fDelay = milliseconds;
    return Outcome::kContinue;
  }
  if (name == "move") {
    if (std::none_of(attributes.begin(), attributes.end(), [](const cTagItem& i) { return i.fName == "bounds"; })) {
      throw Exception("Missing bounds in move tag");
    }
    for (const cTagItem& item : attributes) {
      if (item.fName == "bounds") {
        const Wex::cRect r = ReadLayoutRect(item.fValue, fBubble.fBaseBounds);
        // Only a rectangle that has not been the target yet is taken, so that a page whose tags
        // disagree still ends.
        const bool known = std::find(fTargets.begin(), fTargets.end(), r) != fTargets.end();
        if (!known && fTargets.size() <= static_cast<std::size_t>(kMaxMoveRestarts)) {
          fTargets.push_back(r);
          fBubble.fTargetRect = r;
          return Outcome::kRestart;
        }
      } else if (item.fName == "time") {
        fBubble.fMoveTime = Wex::EvaluateExpression(item.fValue, fBubble.fMoveTime);
      } else if (item.fName == "curve") {
        fBubble.fMoveCurve = Wex::EvaluateExpression(item.fValue, fBubble.fMoveCurve);
      }
    }
    return Outcome::kContinue;
  }
  if (!name.empty() && name[0] == '/') {
    const std::string& open = fStyles.back().first;
    if (fStyles.size() == 1 || std::string_view(open) != std::string_view(name).substr(1)) {
      throw Exception("Unbalanced style tags: " + open + " and " + name);
    }
    fStyles.pop_back();
    return Outcome::kContinue;
  }
  ref<rcTextStyle> style = fBubble.fStyleSet ? fBubble.fStyleSet->Find(name) : nullptr;
  if (!style) throw Exception("Unrecognized style tag: " + name);
  fStyles.emplace_back(name, std::move(style));
  return Outcome::kContinue;
}

cPlacement cLayout::Place(std::wstring_view text) {
  const rcTextStyle& s = Style();
  std::int32_t lineHeight = 0;
  std::int32_t ascent = 0;
  GetMetrics(s, fContext, lineHeight, ascent);
  const Wex::cPoint pen{SaturateToInt32(fPenX), SaturateToInt32(fPenY)};
  const Wex::cRect measured = Measure(s, fContext, pen, text, false);
  const double x1 = measured.fLeft;
  const double left = s.fOffset.fX + x1;
  const double top = static_cast<double>(s.fOffset.fY) - ascent;
  const double width = measured.fRight - x1;
  double height = lineHeight;
  if (s.fUnderline.IsVisible()) height = std::max(height, s.fUnderline.fWidth + s.fUnderlineOffset);
  const double fw = s.fFrame.fWidth;
  const double pad = s.fFramePadding;
  const double margin = s.fFrameMargin;
  const double m = fAtLineStart ? 0.0 : margin;
  cPlacement placement;
  QorRaster::Rect& frame = placement.fFrame;
  frame = {left + fw / 2 + m, top - fw / 2 - pad, width + fw + 2 * pad, height + fw + 2 * pad};
  const QorRaster::Rect outer(frame.x - fw / 2 - m, frame.y - fw / 2 - margin, frame.width + fw + m,
                              frame.height + fw + 2 * margin);
  placement.fBox = {FloorToInt32(outer.x), FloorToInt32(outer.y), CeilToInt32(outer.GetRight()),
                    CeilToInt32(outer.GetBottom())};
  placement.fOuterRight = outer.GetRight();
  placement.fTextPosition = {
      SaturateToInt32(std::int64_t{RoundToInt32(pad + frame.x + fw / 2)} - s.fOffset.fX - measured.fLeft + pen.fX),
      s.fOffset.fY};
  placement.fTextWidth = SaturateToInt32(std::int64_t{measured.fRight} - measured.fLeft);
  return placement;
}

bool cLayout::PlaceWord(bool& empty) {
  const std::int64_t length = fPage->WordLength(fPosition);
  empty = length == 0;
  if (empty) return true;
  cWord word(*fPage, fPosition);
  // Measured widths grow with the prefix, so a prefix fits when a longer one does: what is known
  // of the prefixes narrows down as they are measured.
  std::map<std::int64_t, cPlacement> placements;
  std::int64_t fitting = 1;          // prefixes of fewer than 2 characters always fit
  std::int64_t failing = length + 1;  // the shortest prefix known not to fit
  const auto placement = [&](std::int64_t count) -> const cPlacement& {
    auto found = placements.find(count);
    if (found == placements.end()) {
      word.Extend(count);
      found = placements.emplace(count, Place(word.Prefix(count))).first;
    }
    return found->second;
  };
  const auto fits = [&](std::int64_t count) {
    if (count <= fitting) return true;
    if (count >= failing) return false;
    const bool fit = placement(count).fBox.fRight <= fTextRect.fRight;
    (fit ? fitting : failing) = count;
    return fit;
  };
  // The longest prefix that fits: from short prefixes up, doubling, then by bisection.
  const auto longestFitting = [&] {
    while (fitting * 2 < failing && fits(fitting * 2)) {
    }
    while (failing - fitting > 1) fits(fitting + (failing - fitting) / 2);
    return fitting;
  };
  constexpr std::int64_t kMeasuredWhole = 64;  // a longer word is not measured whole at first
  std::int64_t count = length;
  if (length <= kMeasuredWhole ? !fits(length) : longestFitting() < length) {
    if (!fAtLineStart) {
      // Only the part before the last hyphen may stay on this line.
      const std::int64_t after = fPage->CharactersAfterBreak(fPosition);
      if (after <= 0 || !fits(length - after)) return false;
      count = length - after;
    } else {
      // At a line's start the longest fitting prefix that ends at a hyphen, before one, or
      // before the first hyphen.
      // Cutting goes from a hyphen break to just before it and on to the previous break, and
      // below the first one a character at a time; so the cut is the longest fitting prefix
      // that ends at a break, just before one, or within the first break's part.
      count = longestFitting();
      word.Extend(count + 1);
      std::int64_t firstBreak = 0;  // the first break character's index
      while (firstBreak < count && !word[firstBreak].isBreak) ++firstBreak;
      while (count > firstBreak && !word[count - 1].isBreak && !word[count].isBreak) --count;
    }
  }
  Emit(word, count, placement(count));
  return true;
}

void cLayout::Emit(const cWord& word, std::int64_t count, const cPlacement& placement) {
  const rcTextStyle& s = Style();
  CaptionToken token;
  token.fBox = placement.fBox;
  token.fFrameRect = placement.fFrame;
  token.fStyle = fStyles.back().second;
  token.fTextPosition = placement.fTextPosition;
  token.fTextWidth = placement.fTextWidth;
  token.fText = word.Prefix(count);
  token.fDelay = RoundToInt32(s.fTypingRate * 1000.0 * static_cast<double>(count));
  token.fClickAction = fClicks.back().first;
  token.fClickParams = fClicks.back().second;
  const std::int64_t pen = CeilToInt32(placement.fOuterRight + s.fFrameMargin);
  token.fGap = SaturateToInt32(pen - fPenX - Width(token.fBox));
  fPenX = pen;
  fAtLineStart = false;
  fBubble.fTokens.push_back(std::move(token));
  fPosition = word[count - 1].end;
}

void cLayout::EndLine() {
  std::vector<CaptionToken>& tokens = fBubble.fTokens;
  const auto alignment = [](const CaptionToken& token) {
    const std::int32_t a = token.fStyle->fAlignment;
    return static_cast<std::size_t>(a >= 0 && a <= 2 ? a : 0);
  };
  std::array<std::int64_t, 3> widths{};
  std::array<const CaptionToken*, 3> previous{};
  for (std::size_t i = fLineStart; i < tokens.size(); ++i) {
    if (!tokens[i].fStyle) continue;
    const std::size_t a = alignment(tokens[i]);
    widths[a] += Width(tokens[i].fBox) + (previous[a] != nullptr ? previous[a]->fGap : 0);
    previous[a] = &tokens[i];
  }
  const std::int64_t left = fTextRect.fLeft;
  const std::int64_t right = fTextRect.fRight;
  std::array<std::int64_t, 3> start = {left, (left + right) / 2 - widths[1] / 2, right - widths[2]};
  std::int32_t lineHeight = 0;
  std::int32_t ascent = 0;
  GetMetrics(Style(), fContext, lineHeight, ascent);
  std::int64_t top = -std::int64_t{ascent};
  std::int64_t bottom = std::int64_t{lineHeight} - ascent;
  for (std::size_t i = fLineStart; i < tokens.size(); ++i) {
    if (!tokens[i].fStyle) continue;
    top = std::min<std::int64_t>(top, tokens[i].fBox.fTop);
    bottom = std::max<std::int64_t>(bottom, std::int64_t{tokens[i].fBox.fBottom} + tokens[i].fStyle->fLineSpacing);
  }
  for (std::size_t i = fLineStart; i < tokens.size(); ++i) {
    CaptionToken& token = tokens[i];
    if (!token.fStyle) continue;
    const std::size_t a = alignment(token);
    const std::int64_t dx = start[a] - token.fBox.fLeft;
    const std::int64_t dy = fPenY - top;
    start[a] += Width(token.fBox) + token.fGap;
    token.fBox = Moved(token.fBox, dx, dy);
    token.fFrameRect = token.fFrameRect.Offset(static_cast<double>(dx), static_cast<double>(dy));
    token.fTextPosition = {SaturateToInt32(token.fTextPosition.fX + dx), SaturateToInt32(token.fTextPosition.fY + dy)};
    fBubble.fTextBounds = Unite(fBubble.fTextBounds, token.fBox);
  }
  fPenY += bottom - top;
  fPenX = fTextRect.fLeft;
  fLineStart = tokens.size();
}

}  // namespace

void ParseCaptionMarkup(cBubbleState& bubble, Wex::rcGraphicsContext& context) {
  if (!bubble.fDefaultStyle) throw FormatException("Missing (default) style specification for bubble view");
  bubble.fTargetRect = bubble.fBaseBounds;
  std::vector<Wex::cRect> targets = {bubble.fTargetRect};
  while (!cLayout(bubble, context, targets).Run()) {
  }
  bubble.fTargetRect = bubble.FitHeight(bubble.fTargetRect);
  if (bubble.fTokens.empty()) bubble.fTokens.emplace_back();
}

}  // namespace Velto
