#pragma once

// Readers of the framework's shared description values: click masks, positions, cursor names,
// description sizes, action bindings, tick intervals and film blocks, and the text of a rectangle
// for the clipboard. An absent key reads as empty text, which gives the reader's default; numbers
// are expressions with "$" standing for the default. Errors of the attribute, layout and
// expression readers pass through; no reader catches anything.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/events.h"
#include "gui/geometry.h"
#include "gui/resources/film.h"

namespace Velto {

class rcRootView;

// An action name and its params text, as the action interpreter takes them.
struct cActionBinding {
  std::string fAction;
  std::string fParams;

  friend bool operator==(const cActionBinding&, const cActionBinding&) = default;
};

// One action of a clickable view: it runs on the clicks that its mask names.
struct cActionListEntry {
  std::uint32_t fMask = 0;
  cActionBinding fBinding;

  friend bool operator==(const cActionListEntry&, const cActionListEntry&) = default;
};

// The longest interval between ticks, in milliseconds.
inline constexpr std::int32_t kMaxTickInterval = 1 << 30;

// The milliseconds between ticks at a rate in Hz, rounded and limited to 1 ... kMaxTickInterval.
// The rate must be positive.
std::int32_t RateToInterval(double rate);

// The interval of the rate (Hz) that the expression gives over the default rate; a rate that is
// not a positive finite number reads as the default.
std::int32_t ReadTickInterval(std::string_view text, double defaultRate);

// The bits of click masks, in the order of their names.
enum eClickMaskBit : std::uint32_t {
  kClickBit = 1u << 0,
  kShiftBit = 1u << 1,
  kControlBit = 1u << 2,
  kAltBit = 1u << 3,
  kCommandBit = 1u << 4,
  kLeftBit = 1u << 5,
  kRightBit = 1u << 6,
  kContextBit = 1u << 7,
  kPressBit = 1u << 8,
  kReleaseBit = 1u << 9,
  kDownBit = 1u << 10,
  kUpBit = 1u << 11,
  kWindowsBit = 1u << 12,
  kMacBit = 1u << 13,
};

// Names joined by '+', each unquoted: "click" sets bit 0, then "shift", "control", "alt",
// "command", "left", "right", "context", "press", "release", "down", "up", "windows" and "mac"
// (bit 13). Empty text gives 0 and a trailing '+' is ignored; any other piece that is no name
// (an empty one, or one with blanks) throws FormatException "Invalid click mask constant: " and
// the quoted piece.
std::uint32_t ReadClickMask(std::string_view text);

// With "position", that point and isOffset false; otherwise "offset" (over the default) and
// isOffset true: the caller adds it to a reference point.
void ReadPositionOrOffset(const Description& description, bool& isOffset, Wex::cPoint& point,
                          const Wex::cPoint& defaultOffset);

// The unquoted "cursor" value, or the unquoted "mac" entry of a "cursor" block.
std::string ReadCursorName(const Description& description);

// The width and height of the "bounds" of a description text, read against an empty rectangle.
std::pair<std::int32_t, std::int32_t> ReadDescriptionSize(std::string_view text);

// From a binding block: the action from "action" (unquoted, macros expanded) or else from the
// variable that "actionVariable" names; the params likewise from "params" or "paramsVariable",
// left as they were without either. False, with nothing written, when there is no action.
bool ReadActionBinding(rcRootView& root, std::string_view text, std::string& action, std::string& params);

// Appends the view's actions: with "action", that one (unquoted) with the click mask of the
// unquoted "mask" (1, "click", without one) and the raw "params"; otherwise each item of the
// "actions" list, itself a list cut or padded to mask, action and params, read the same way.
void ReadActionList(const Description& description, std::vector<cActionListEntry>& out);

// The click-mask bits of an event's platform and keys: "mac" always, "shift", "control", "alt"
// (option, or the flag at index 2), "command"; with withContext, "context" for a secondary
// click.
std::uint32_t ModifierClickMask(const Wex::cKeyModifiers& modifiers, bool withContext);

// The binding that an event runs: scanning from the last to the first, the first whose mask bits
// are all in the event mask; null when none matches.
const cActionListEntry* FindActionForEvent(const std::vector<cActionListEntry>& actions, std::uint32_t eventMask);

// The film of a "film" block: "frames" (an integer, "$" = 1) frames of the layered image that the
// controller gives for the raw "image", cross-fading with "interpolate".
iref<iFilm> ReadFilmBlock(rcRootView& root, const Description& block);

// Puts "{ left, top, width, height }" on the clipboard.
void CopyRectToClipboard(const Wex::cRect& r);

}  // namespace Velto
