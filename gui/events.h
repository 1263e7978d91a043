#pragma once

// What the native view tells the element tree about the mouse and the keyboard.

#include <cstdint>

#include "base/clock.h"
#include "base/rc.h"
#include "gui/geometry.h"

namespace Wex {

class iGUIView;

// Nine one-byte flags in a fixed order; the unused places are never set on this
// platform.
struct cKeyModifiers {
  bool fControl = false;
  bool fShift = false;
  bool fUnused2 = false;
  bool fOption = false;
  bool fCommand = false;
  bool fUnused5 = false;
  bool fUnused6 = false;
  bool fUnused7 = false;
  // The click asks for a context menu: the control key was held or the right button pressed.
  bool fSecondaryClick = false;

  friend bool operator==(const cKeyModifiers&, const cKeyModifiers&) = default;
};

struct cMouseEvent {
  iref<iGUIView> fElement;      // the view that received the event
  cPoint fPoint;                // in view coordinates
  std::int64_t fTime = 0;       // milliseconds since system start
  cKeyModifiers fModifiers;
  std::uint32_t fButtons = 0;   // the pressed buttons, bit 0 the primary one
};

// A key press, or a change of the modifier keys alone.
struct cKeyEvent {
  std::uint8_t fCharacter = 0;  // the ISO Latin-1 character typed; 0 when there is none
  std::int64_t fTime = 0;       // milliseconds since system start
  cKeyModifiers fModifiers;     // the secondary-click flag is never set
  std::int32_t fKeyCode = -1;   // the platform's key code; -1 for a change of modifier keys alone
};

// Elements take the low 32 bits of event times.
inline std::int32_t ToElementTime(std::int64_t time) { return static_cast<std::int32_t>(time); }
// The clock's time now, as elements take it.
inline std::int32_t CurrentElementTime() { return ToElementTime(GetMilliseconds()); }

}  // namespace Wex
