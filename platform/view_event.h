#pragma once

// One mouse or key event of a content view, as the toolkit's event translator hands it on: the
// properties that the view reads of an event, in the form and with the numbering of the
// original platform's events.

#include <cstdint>
#include <string>

#include "platform/geometry.h"

namespace Platform {

enum class ViewEventKind {
  kMouseDown,
  kMouseUp,
  kMouseDragged,
  kMouseMoved,
  kMouseEntered,
  kMouseExited,
  kKeyDown,
  // The modifier keys changed; no other key was pressed.
  kFlagsChanged,
  // The view lost the pointer grab of a drag: the buttons count as released where the pointer
  // was last seen.
  kDragLost,
};

// Bits of modifierFlags.
inline constexpr std::uint32_t kShiftKeyMask = 1u << 17;
inline constexpr std::uint32_t kControlKeyMask = 1u << 18;
inline constexpr std::uint32_t kAlternateKeyMask = 1u << 19;
inline constexpr std::uint32_t kCommandKeyMask = 1u << 20;

// Key codes of the named keys; any other key has kOtherKeyCodeBase plus the toolkit's hardware
// key code.
enum KeyCode : std::int32_t {
  kReturnKeyCode = 36,
  kTabKeyCode = 48,
  kSpaceKeyCode = 49,
  kBackspaceKeyCode = 51,
  kEscapeKeyCode = 53,
  kEnterKeyCode = 76,
  kHomeKeyCode = 115,
  kPageUpKeyCode = 116,
  kForwardDeleteKeyCode = 117,
  kEndKeyCode = 119,
  kPageDownKeyCode = 121,
  kLeftArrowKeyCode = 123,
  kRightArrowKeyCode = 124,
  kDownArrowKeyCode = 125,
  kUpArrowKeyCode = 126,
  kOtherKeyCodeBase = 0x1000,
};

struct ViewEvent {
  ViewEventKind kind = ViewEventKind::kMouseMoved;
  // The pointer in the view's coordinates: origin at the top-left, y downwards.
  Point locationInWindow;
  // 0 left, 1 right, 2 middle, 3 and up the further buttons.
  std::int32_t buttonNumber = 0;
  // 1 for a single press, 2 for the second press of a double click, and so on.
  std::int32_t clickCount = 0;
  // kShiftKeyMask, kControlKeyMask, kAlternateKeyMask and kCommandKeyMask.
  std::uint32_t modifierFlags = 0;
  // Seconds since system start, on the clock of Wex::GetMilliseconds.
  double timestamp = 0.0;
  // The text that a key press types, as Unicode code points; empty for keys that type nothing.
  std::u32string characters;
  std::int32_t keyCode = 0;
  // A key press that repeats a held key.
  bool isARepeat = false;
  // The mouse buttons held after the event: bit n for button number n.
  std::uint32_t pressedMouseButtons = 0;
};

}  // namespace Platform
