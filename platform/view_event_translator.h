#pragma once

// Turns the toolkit's events of one content view into the view's event records. It keeps what
// the toolkit's events do not carry: the click count, the keys held (a press of a held key is a
// repeat), the mouse buttons above the third that are held, and where the pointer was last seen.
// It needs no display: the caller passes in what the display and the widget know.

#include <cstdint>
#include <optional>
#include <set>

#include "platform/view_event.h"

typedef union _GdkEvent GdkEvent;

namespace Platform {

struct ViewEventContext {
  // The event's modifier state (GdkModifierType bits) with the display's virtual modifiers added,
  // so that the Super key shows as GDK_SUPER_MASK.
  std::uint32_t modifierState = 0;
  // Two presses of the same button at most this many milliseconds and pixels apart (in each
  // direction) continue one click sequence.
  std::int64_t doubleClickTime = 400;
  double doubleClickDistance = 5.0;
  // The view's size: crossings count only when their position agrees with them.
  double width = 0.0;
  double height = 0.0;
};

class ViewEventTranslator {
 public:
  // The clock stamps every record; it answers milliseconds since system start.
  using Clock = std::int64_t (*)();

  ViewEventTranslator();
  explicit ViewEventTranslator(Clock clock) : fClock(clock) {}

  // The record of one event, or none when the event means nothing to the view: presses after the
  // first of a double or triple click (they come again as plain presses), releases of keys other
  // than modifiers, crossings between the view and its own children or that the position
  // contradicts, focus changes, and events of other kinds.
  std::optional<ViewEvent> Translate(const GdkEvent& event, const ViewEventContext& context);

 private:
  // The buttons held before an event with this state.
  std::uint32_t ButtonsBefore(std::uint32_t state) const;
  // Counts a press into the current click sequence or starts a new one.
  std::int32_t CountClick(std::int32_t buttonNumber, std::int64_t now, const Point& p, const ViewEventContext& context);

  Clock fClock;
  std::int32_t fClickButton = -1;
  std::int64_t fClickTime = 0;
  Point fClickPoint;
  std::int32_t fClickCount = 0;
  // Bit n for button number n, from 3 to 31.
  std::uint32_t fHeldOtherButtons = 0;
  std::set<std::uint16_t> fHeldKeys;
  Point fLastPoint;
};

}  // namespace Platform
