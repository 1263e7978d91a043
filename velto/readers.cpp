#include "velto/readers.h"

#include <array>
#include <cmath>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/layout.h"
#include "platform/clipboard.h"
#include "velto/root_view.h"
#include "velto/text_macros.h"

namespace Velto {

namespace {

constexpr std::array<std::string_view, 14> kClickMaskNames = {
    "click", "shift",   "control", "alt",  "command", "left",    "right",
    "context", "press", "release", "down", "up",      "windows", "mac",
};

// The value of the first key present, unquoted; false when neither is.
bool ReadEither(const Description& block, const char* key, const char* otherKey, std::string& value, bool& first) {
  if (const auto found = block.find(key); found != block.end()) {
    value = Wex::Unquote(found->second);
    first = true;
    return true;
  }
  if (const auto found = block.find(otherKey); found != block.end()) {
    value = Wex::Unquote(found->second);
    first = false;
    return true;
  }
  return false;
}

}  // namespace

std::int32_t RateToInterval(double rate) {
  const double milliseconds = std::round(1000.0 / rate);
  if (!(milliseconds > 1.0)) return 1;
  if (milliseconds >= kMaxTickInterval) return kMaxTickInterval;
  return static_cast<std::int32_t>(milliseconds);
}

std::int32_t ReadTickInterval(std::string_view text, double defaultRate) {
  const double rate = Wex::EvaluateExpression(text, defaultRate);
  return RateToInterval(rate > 0.0 && std::isfinite(rate) ? rate : defaultRate);
}

std::uint32_t ReadClickMask(std::string_view text) {
  std::uint32_t mask = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t plus = std::min(text.find('+', start), text.size());
    const std::string_view piece = text.substr(start, plus - start);
    const std::string name = Wex::Unquote(piece);
    std::size_t index = 0;
    while (index < kClickMaskNames.size() && kClickMaskNames[index] != name) ++index;
    if (index == kClickMaskNames.size()) throw FormatException("Invalid click mask constant: " + Wex::Quote(piece));
    mask |= 1u << index;
    start = plus + 1;
  }
  return mask;
}

void ReadPositionOrOffset(const Description& description, bool& isOffset, Wex::cPoint& point,
                          const Wex::cPoint& defaultOffset) {
  if (const auto found = description.find("position"); found != description.end()) {
    point = ReadIntPoint(found->second, {0, 0});
    isOffset = false;
  } else {
    point = ReadIntPoint(Wex::ValueOf(description, "offset"), defaultOffset);
    isOffset = true;
  }
}

std::string ReadCursorName(const Description& description) {
  const std::string_view value = Wex::ValueOf(description, "cursor");
  if (Wex::IsBlockText(value)) return Wex::Unquote(Wex::ValueOf(Wex::ParseKeyValueMap(value), "mac"));
  return Wex::Unquote(value);
}

std::pair<std::int32_t, std::int32_t> ReadDescriptionSize(std::string_view text) {
  const Wex::cRect bounds = ReadLayoutRect(Wex::ValueOf(Wex::ParseKeyValueMap(text), "bounds"), {});
  return {bounds.Width(), bounds.Height()};
}

bool ReadActionBinding(rcRootView& root, std::string_view text, std::string& action, std::string& params) {
  const Description block = Wex::ParseKeyValueMap(text);
  std::string value;
  bool expand = false;
  if (!ReadEither(block, "action", "actionVariable", value, expand)) return false;
  action = expand ? ExpandTextMacros(root, value) : root.GetController().GetVariable(root, value);
  if (ReadEither(block, "params", "paramsVariable", value, expand)) {
    params = expand ? ExpandTextMacros(root, value) : root.GetController().GetVariable(root, value);
  }
  return true;
}

void ReadActionList(const Description& description, std::vector<cActionListEntry>& out) {
  if (const auto found = description.find("action"); found != description.end()) {
    const auto mask = description.find("mask");
    out.push_back({mask != description.end() ? ReadClickMask(Wex::Unquote(mask->second)) : 1u,
                   {Wex::Unquote(found->second), std::string(Wex::ValueOf(description, "params"))}});
    return;
  }
  const auto found = description.find("actions");
  if (found == description.end()) return;
  for (const std::string& item : Wex::ParseList(found->second)) {
    std::vector<std::string> fields = Wex::ParseList(item);
    fields.resize(3);
    out.push_back({ReadClickMask(Wex::Unquote(fields[0])), {Wex::Unquote(fields[1]), fields[2]}});
  }
}

std::uint32_t ModifierClickMask(const Wex::cKeyModifiers& modifiers, bool withContext) {
  std::uint32_t mask = kMacBit;
  if (modifiers.fShift) mask |= kShiftBit;
  if (modifiers.fControl) mask |= kControlBit;
  if (modifiers.fOption || modifiers.fUnused2) mask |= kAltBit;
  if (modifiers.fCommand) mask |= kCommandBit;
  if (withContext && modifiers.fSecondaryClick) mask |= kContextBit;
  return mask;
}

const cActionListEntry* FindActionForEvent(const std::vector<cActionListEntry>& actions, std::uint32_t eventMask) {
  for (auto entry = actions.rbegin(); entry != actions.rend(); ++entry) {
    if ((entry->fMask & ~eventMask) == 0) return &*entry;
  }
  return nullptr;
}

iref<iFilm> ReadFilmBlock(rcRootView& root, const Description& block) {
  const std::int32_t frames = Wex::EvaluateIntExpressionWithValue(Wex::ValueOf(block, "frames"), 1);
  const bool interpolate = Wex::StringToBool(Wex::ValueOf(block, "interpolate"), false);
  const ref<rcImage> image = root.GetController().GetLayeredImage(root, std::string(Wex::ValueOf(block, "image")));
  return MakeFilm(image, frames, interpolate);
}

void CopyRectToClipboard(const Wex::cRect& r) {
  Wex::PutClipboardText("{ " + std::to_string(r.fLeft) + ", " + std::to_string(r.fTop) + ", " +
                        std::to_string(r.Width()) + ", " + std::to_string(r.Height()) + " }");
}

}  // namespace Velto
