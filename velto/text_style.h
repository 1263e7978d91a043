#pragma once

// Text styles read from descriptions: the font, placement, typing rate, alignment, underline and
// frame of a run of text, and named sets of them.

#include <cstdint>
#include <map>
#include <string>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/geometry.h"
#include "gui/resources/font.h"
#include "gui/resources/stroke.h"

namespace Velto {

// Turns a font value of a description into a font.
class iFontProvider {
 public:
  virtual iref<iFont> GetFont(const std::string& value) = 0;

 protected:
  virtual ~iFontProvider() = default;
};

class rcTextStyle : public Wex::rc {
 public:
  iref<iFont> fFont;
  Wex::cPoint fOffset;
  std::int32_t fLineSpacing = 0;
  double fTypingRate = 0.0;
  cStroke fUnderline;
  double fUnderlineOffset = 0.0;
  cStroke fFrame;
  double fFramePadding = 0.0;
  double fFrameMargin = 0.0;
  std::int32_t fAlignment = 0;  // 0 left, 1 center, 2 right
};

// The keys "font" (handed to the provider as written), "offset", "lineSpacing", "typingRate",
// "align", "underline" (a stroke, none by default; a block also gives "offset") and "frame" (a
// stroke; a block also gives "padding" and "margin").
ref<rcTextStyle> ReadTextStyle(const Description& description, iFontProvider& fonts);

// Styles by name, ordered by name.
class rcTextStyleSet : public Wex::rc {
 public:
  // Every entry of the description is a style block, read in key order.
  rcTextStyleSet(const Description& styles, iFontProvider& fonts);

  // The style of the name; empty when there is none.
  ref<rcTextStyle> Find(const std::string& name) const;
  const std::map<std::string, ref<rcTextStyle>>& GetStyles() const { return fStyles; }

 private:
  std::map<std::string, ref<rcTextStyle>> fStyles;
};

}  // namespace Velto
