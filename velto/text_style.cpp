#include "velto/text_style.h"

#include "base/expression.h"
#include "gui/resources/attributes.h"
#include "gui/resources/layout.h"

namespace Velto {

namespace {

// A stroke that is drawn only when given; `block` receives its entries when it is a block (a
// plain colour has none, so its numbers read as 0).
cStroke ReadStrokeBlock(std::string_view value, Description& block) {
  const cStroke stroke = ReadStroke(value, 0);
  if (Wex::IsBlockText(value)) block = Wex::ParseKeyValueMap(value);
  return stroke;
}

double ReadNumber(const Description& description, const char* key) {
  return Wex::EvaluateExpression(Wex::ValueOf(description, key), 0.0);
}

}  // namespace

ref<rcTextStyle> ReadTextStyle(const Description& description, iFontProvider& fonts) {
  ref<rcTextStyle> style(new rcTextStyle());
  style->fFont = fonts.GetFont(std::string(Wex::ValueOf(description, "font")));
  style->fOffset = ReadIntPoint(Wex::ValueOf(description, "offset"), {0, 0});
  style->fLineSpacing = Wex::EvaluateIntExpressionWithValue(Wex::ValueOf(description, "lineSpacing"), 0);
  style->fTypingRate = ReadNumber(description, "typingRate");
  style->fAlignment = ReadTextAlignment(Wex::ValueOf(description, "align"), 0);
  Description underline;
  style->fUnderline = ReadStrokeBlock(Wex::ValueOf(description, "underline"), underline);
  style->fUnderlineOffset = ReadNumber(underline, "offset");
  Description frame;
  style->fFrame = ReadStrokeBlock(Wex::ValueOf(description, "frame"), frame);
  style->fFramePadding = ReadNumber(frame, "padding");
  style->fFrameMargin = ReadNumber(frame, "margin");
  return style;
}

rcTextStyleSet::rcTextStyleSet(const Description& styles, iFontProvider& fonts) {
  for (const auto& [name, value] : styles) fStyles[name] = ReadTextStyle(Wex::ParseKeyValueMap(value), fonts);
}

ref<rcTextStyle> rcTextStyleSet::Find(const std::string& name) const {
  const auto found = fStyles.find(name);
  return found != fStyles.end() ? found->second : nullptr;
}

}  // namespace Velto
