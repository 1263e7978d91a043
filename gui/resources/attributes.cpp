#include "gui/resources/attributes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <optional>
#include <vector>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "platform/cursor.h"

namespace Velto {

using Wex::ValueOf;

namespace {

template <class Value>
struct cNamed {
  std::string_view fName;
  Value fValue{};
};

// A fixed table of names found through a perfect hash: only texts within the length window are
// hashed, the slot holds the one name that can match, and one comparison decides. Building the
// table at compile time fails when names collide or lie outside the window.
template <class Hash, class Value>
class cPerfectHashTable {
 public:
  template <std::size_t kCount>
  consteval explicit cPerfectHashTable(const std::array<cNamed<Value>, kCount>& names) {
    for (const cNamed<Value>& named : names) {
      if (!Hash::Fits(named.fName)) throw "a name lies outside the length window";
      cNamed<Value>& slot = fSlots[Hash::Slot(named.fName)];
      if (!slot.fName.empty()) throw "two names share a slot";
      slot = named;
    }
  }

  std::optional<Value> Find(std::string_view text) const {
    if (!Hash::Fits(text)) return std::nullopt;
    const cNamed<Value>& slot = fSlots[Hash::Slot(text)];
    if (slot.fName.empty() || slot.fName != text) return std::nullopt;
    return slot.fValue;
  }

 private:
  std::array<cNamed<Value>, Hash::kSlots> fSlots{};
};

constexpr std::size_t Byte(std::string_view text, std::size_t index) {
  return index < text.size() ? static_cast<unsigned char>(text[index]) : 0;
}

struct cColorNameHash {
  static constexpr std::size_t kSlots = 32;
  static constexpr bool Fits(std::string_view t) { return t.size() >= 3 && t.size() <= 11; }
  static constexpr std::size_t Slot(std::string_view t) { return ((t.size() ^ 0x93) - Byte(t, 0)) & 31; }
};

// The fifth character of a name of four is its terminating NUL.
struct cCursorNameHash {
  static constexpr std::size_t kSlots = 64;
  static constexpr bool Fits(std::string_view t) { return t.size() >= 4 && t.size() <= 10; }
  static constexpr std::size_t Slot(std::string_view t) { return (Byte(t, 4) + t.size()) & 63; }
};

struct cEllipsisSideHash {
  static constexpr std::size_t kSlots = 32;
  static constexpr bool Fits(std::string_view t) { return t.size() >= 4 && t.size() <= 6; }
  static constexpr std::size_t Slot(std::string_view t) { return Byte(t, 2) & 31; }
};

constexpr cPerfectHashTable<cColorNameHash, std::uint32_t> kColorNames(std::array<cNamed<std::uint32_t>, 17>{{
    {"transparent", 0x00000000}, {"aqua", 0xff00ffff},   {"black", 0xff000000}, {"blue", 0xff0000ff},
    {"fuchsia", 0xffff00ff},     {"gray", 0xff808080},   {"green", 0xff008000}, {"lime", 0xff00ff00},
    {"maroon", 0xff800000},      {"navy", 0xff000080},   {"olive", 0xff808000}, {"purple", 0xff800080},
    {"red", 0xffff0000},         {"silver", 0xffc0c0c0}, {"teal", 0xff008080},  {"white", 0xffffffff},
    {"yellow", 0xffffff00},
}});

constexpr cPerfectHashTable<cCursorNameHash, std::int32_t> kCursorNames(std::array<cNamed<std::int32_t>, 12>{{
    {"arrow", 0}, {"iBeam", 1}, {"cross", 2}, {"closedHand", 3}, {"openHand", 4}, {"hand", 5},
    {"sizeW", 6}, {"sizeE", 7}, {"sizeWE", 8}, {"sizeN", 9}, {"sizeS", 10}, {"sizeNS", 11},
}});

constexpr cPerfectHashTable<cEllipsisSideHash, std::int32_t> kEllipsisSides(std::array<cNamed<std::int32_t>, 5>{{
    {"none", 0}, {"left", 1}, {"right", 2}, {"both", 3}, {"middle", 4},
}});

// Short tables are compared in order; a name's code is its index.
using cNameList = std::array<std::string_view, 3>;
constexpr cNameList kTextAlignments = {"left", "center", "right"};
constexpr cNameList kCaps = {"butt", "round", "square"};
constexpr cNameList kJoints = {"bevel", "curve", "miter"};

std::optional<std::int32_t> FindInOrder(const cNameList& names, std::string_view text) {
  const auto found = std::find(names.begin(), names.end(), text);
  if (found == names.end()) return std::nullopt;
  return static_cast<std::int32_t>(found - names.begin());
}

[[noreturn]] void RejectText(const char* prefix, std::string_view text) {
  throw FormatException(prefix + Wex::Quote(text));
}

[[noreturn]] void RejectNumber(const char* prefix, double value) {
  throw FormatException(prefix + Wex::DoubleToString(value));
}

// The value of the unquoted name, or the rejection with the prefix.
template <class Lookup>
auto ReadName(std::string_view text, const Lookup& lookup, const char* prefix) {
  const std::string name = Wex::Unquote(text);
  const auto value = lookup(name);
  if (!value) RejectText(prefix, name);
  return *value;
}

std::int32_t ReadNameInOrder(std::string_view text, const cNameList& names, const char* prefix) {
  return ReadName(text, [&names](std::string_view name) { return FindInOrder(names, name); }, prefix);
}

std::uint32_t Channel(std::uint32_t color, int shift) { return (color >> shift) & 0xff; }

std::uint32_t ReadComponentList(std::string_view text, std::uint32_t defaultColor) {
  std::vector<std::string> items;
  Wex::ParseListInto(text, items);
  if (items.size() != 3 && items.size() != 4) RejectText("Invalid number of color components: ", text);
  std::array<std::int32_t, 3> rgb{};
  for (std::size_t i = 0; i < rgb.size(); ++i) {
    const auto defaultValue = static_cast<std::int32_t>(Channel(defaultColor, 16 - 8 * static_cast<int>(i)));
    rgb[i] = std::clamp(Wex::EvaluateIntExpressionWithValue(items[i], defaultValue), 0, 255);
  }
  // The scale is lround(opacity x 256), which premultiplies the components; the alpha byte is the
  // scale limited to 255. A NaN opacity counts as 0, and the scale is clamped before rounding so
  // that no opacity is out of lround's range.
  std::int32_t scale = 256;
  if (items.size() == 4) {
    const double opacity = Wex::EvaluateExpression(items[3], 1.0);
    scale = std::isnan(opacity) ? 0 : static_cast<std::int32_t>(std::lround(std::clamp(opacity * 256.0, -1.0, 256.0)));
  }
  const auto alpha = static_cast<std::uint32_t>(std::clamp(scale, 0, 255));
  std::uint32_t color = alpha << 24;
  for (std::size_t i = 0; i < rgb.size(); ++i) {
    const std::int32_t c = scale < 0 ? 0 : scale < 256 ? (rgb[i] * scale) >> 8 : rgb[i];
    color |= static_cast<std::uint32_t>(c) << (16 - 8 * i);
  }
  return color;
}

}  // namespace

std::uint32_t ReadColor(std::string_view text, std::uint32_t defaultColor) {
  if (text.empty()) return defaultColor;
  if (Wex::IsUnsignedNumberText(text)) {
    const std::uint32_t color = Wex::StringToUInt(text, 0);
    const std::uint32_t alpha = Channel(color, 24);
    if (Channel(color, 16) > alpha || Channel(color, 8) > alpha || Channel(color, 0) > alpha) {
      char digits[9];
      std::snprintf(digits, sizeof digits, "%08x", color);
      throw FormatException(std::string("Invalid pre-multiplied argb: 0x") + digits);
    }
    return color;
  }
  if (Wex::IsBlockText(text)) return ReadComponentList(text, defaultColor);
  return ReadName(text, [](std::string_view name) { return kColorNames.Find(name); }, "Invalid color: ");
}

Wex::cRGBColor ReadRGBColor(std::string_view text, std::uint32_t defaultColor) {
  const std::uint32_t color = ReadColor(text, defaultColor);
  return {static_cast<std::int32_t>(Channel(color, 16)), static_cast<std::int32_t>(Channel(color, 8)),
          static_cast<std::int32_t>(Channel(color, 0))};
}

cStroke ReadStroke(std::string_view text, std::uint32_t defaultColor) {
  cStroke stroke;
  if (text.empty() && defaultColor == 0) {
    stroke.fWidth = 0.0;
    return stroke;
  }
  stroke.fColor = defaultColor;
  if (Wex::IsBlockText(text)) return ReadStrokeSpec(Wex::ParseKeyValueMap(text), stroke);
  stroke.fColor = ReadColor(text, defaultColor);
  return stroke;
}

cStroke ReadStrokeSpec(const Description& description, const cStroke& defaultStroke) {
  cStroke stroke = defaultStroke;
  stroke.fColor = ReadColor(ValueOf(description, "color"), defaultStroke.fColor);
  stroke.fWidth = Wex::EvaluateExpression(ValueOf(description, "stroke"), defaultStroke.fWidth);
  if (stroke.fWidth < 0) RejectNumber("Invalid stroke: ", stroke.fWidth);
  if (description.contains("caps")) {
    stroke.fCaps = ReadNameInOrder(ValueOf(description, "caps"), kCaps, "Invalid caps: ");
  }
  if (description.contains("joints")) {
    stroke.fJoints = ReadNameInOrder(ValueOf(description, "joints"), kJoints, "Invalid joints: ");
    if (stroke.fJoints == 2) {
      stroke.fMiterLimit = Wex::EvaluateExpression(ValueOf(description, "miterLimit"), defaultStroke.fMiterLimit);
    }
  }
  stroke.fQuality = Wex::EvaluateExpression(ValueOf(description, "quality"), defaultStroke.fQuality);
  if (stroke.fQuality <= 0) RejectNumber("Invalid quality: ", stroke.fQuality);

  if (!description.contains("dash")) return stroke;
  const std::string_view dash = ValueOf(description, "dash");
  if (Wex::Unquote(dash) == "none") {
    stroke.fDash = stroke.fGap = stroke.fDashOffset = 0.0;
    return stroke;
  }
  stroke.fDash = Wex::EvaluateExpression(dash, defaultStroke.fDash);
  stroke.fGap = Wex::EvaluateExpression(ValueOf(description, "gap"), stroke.fDash);
  stroke.fDashOffset = Wex::EvaluateExpression(ValueOf(description, "dashOffset"), defaultStroke.fDashOffset);
  if (stroke.fDash <= 0) RejectNumber("Invalid dash: ", stroke.fDash);
  if (stroke.fGap < 0) RejectNumber("Invalid gap: ", stroke.fGap);
  if (stroke.fDashOffset < 0 || stroke.fDashOffset >= stroke.fDash + stroke.fGap) {
    RejectNumber("Invalid dashOffset: ", stroke.fDashOffset);
  }
  return stroke;
}

std::int32_t ReadTextAlignment(std::string_view text, std::int32_t defaultAlignment) {
  if (text.empty()) return defaultAlignment;
  return ReadNameInOrder(text, kTextAlignments, "Invalid text alignment: ");
}

std::int32_t ReadEllipsisSide(std::string_view text, std::int32_t defaultSide) {
  if (text.empty()) return defaultSide;
  return ReadName(text, [](std::string_view name) { return kEllipsisSides.Find(name); }, "Invalid ellipsis side: ");
}

ref<Wex::rcCocoaObject> ReadCursor(std::string_view text) {
  if (text.empty()) return nullptr;
  const std::optional<std::int32_t> id = kCursorNames.Find(text);
  if (!id) RejectText("Unrecognized cursor: ", text);
  return ref<Wex::rcCocoaObject>(new Wex::rcCocoaObject(Wex::GetNSCursor(*id), true));
}

cFontSpec ReadFontValues(const Description& description) {
  const auto flag = [&description](const char* key) {
    return Wex::StringToBool(Wex::Unquote(ValueOf(description, key)), false);
  };
  cFontSpec values;
  values.fFace = Wex::Unquote(ValueOf(description, "face"));
  values.fSize = Wex::StringToInt(ValueOf(description, "size"), 11);
  values.fBold = flag("bold");
  values.fItalic = flag("italic");
  values.fUnderline = flag("underline");
  return values;
}

ref<Wex::rcFont> ReadFontSpec(const Description& description) {
  const cFontSpec values = ReadFontValues(description);
  return ref<Wex::rcFont>(
      new Wex::rcFont(values.fFace.c_str(), values.fSize, values.fBold, values.fItalic, values.fUnderline));
}

}  // namespace Velto
