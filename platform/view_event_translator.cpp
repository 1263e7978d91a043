#include "platform/view_event_translator.h"

#include <gdk/gdk.h>

#include <bit>
#include <cmath>
#include <limits>

#include "base/clock.h"

namespace Platform {

namespace {

// The toolkit numbers the right button 3 and the middle button 2; the records number them the
// other way round. Button 0 does not exist.
std::optional<std::int32_t> ButtonNumber(guint button) {
  switch (button) {
    case 0:
      return std::nullopt;
    case 1:
      return 0;
    case 2:
      return 2;
    case 3:
      return 1;
    default:
      return static_cast<std::int32_t>(button - 1);
  }
}

// The mask bit of a button number; buttons beyond bit 31 have none.
std::uint32_t ButtonBit(std::int32_t buttonNumber) {
  return buttonNumber >= 0 && buttonNumber < 32 ? 1u << buttonNumber : 0u;
}

std::uint32_t ModifierFlags(std::uint32_t state) {
  std::uint32_t flags = 0;
  if ((state & GDK_SHIFT_MASK) != 0) flags |= kShiftKeyMask;
  if ((state & GDK_CONTROL_MASK) != 0) flags |= kControlKeyMask;
  if ((state & GDK_MOD1_MASK) != 0) flags |= kAlternateKeyMask;
  if ((state & GDK_SUPER_MASK) != 0) flags |= kCommandKeyMask;
  return flags;
}

// The flag that a modifier key sets while it is held; 0 for the modifier keys that set none here
// (Caps Lock, Num Lock, level shifts).
std::uint32_t ModifierKeyFlag(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Shift_L:
    case GDK_KEY_Shift_R:
      return kShiftKeyMask;
    case GDK_KEY_Control_L:
    case GDK_KEY_Control_R:
      return kControlKeyMask;
    case GDK_KEY_Alt_L:
    case GDK_KEY_Alt_R:
    case GDK_KEY_Meta_L:
    case GDK_KEY_Meta_R:
      return kAlternateKeyMask;
    case GDK_KEY_Super_L:
    case GDK_KEY_Super_R:
      return kCommandKeyMask;
    default:
      return 0;
  }
}

// The character that a key types, 0 for none. A forward delete types nothing (its code point,
// 0x7F, would read as a backspace); the keypad's Enter types a carriage return, as Return does.
gunichar KeyCharacter(guint keyval) {
  switch (keyval) {
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete:
      return 0;
    case GDK_KEY_KP_Enter:
      return '\r';
    default:
      return gdk_keyval_to_unicode(keyval);
  }
}

std::int32_t KeyCodeOf(guint keyval, std::uint16_t hardwareKeycode) {
  switch (keyval) {
    case GDK_KEY_Return:
      return kReturnKeyCode;
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:  // Tab with shift
      return kTabKeyCode;
    case GDK_KEY_space:
      return kSpaceKeyCode;
    case GDK_KEY_BackSpace:
      return kBackspaceKeyCode;
    case GDK_KEY_Escape:
      return kEscapeKeyCode;
    case GDK_KEY_KP_Enter:
      return kEnterKeyCode;
    case GDK_KEY_Home:
      return kHomeKeyCode;
    case GDK_KEY_Page_Up:
      return kPageUpKeyCode;
    case GDK_KEY_Delete:
    case GDK_KEY_KP_Delete:
      return kForwardDeleteKeyCode;
    case GDK_KEY_End:
      return kEndKeyCode;
    case GDK_KEY_Page_Down:
      return kPageDownKeyCode;
    case GDK_KEY_Left:
      return kLeftArrowKeyCode;
    case GDK_KEY_Right:
      return kRightArrowKeyCode;
    case GDK_KEY_Down:
      return kDownArrowKeyCode;
    case GDK_KEY_Up:
      return kUpArrowKeyCode;
    default:
      return kOtherKeyCodeBase + hardwareKeycode;
  }
}

bool Inside(const Point& p, const ViewEventContext& context) {
  return p.x >= 0.0 && p.y >= 0.0 && p.x < context.width && p.y < context.height;
}

}  // namespace

ViewEventTranslator::ViewEventTranslator() : fClock(Wex::GetMilliseconds) {}

std::uint32_t ViewEventTranslator::ButtonsBefore(std::uint32_t state) const {
  std::uint32_t buttons = fHeldOtherButtons;
  if ((state & GDK_BUTTON1_MASK) != 0) buttons |= ButtonBit(0);
  if ((state & GDK_BUTTON3_MASK) != 0) buttons |= ButtonBit(1);
  if ((state & GDK_BUTTON2_MASK) != 0) buttons |= ButtonBit(2);
  return buttons;
}

std::int32_t ViewEventTranslator::CountClick(std::int32_t buttonNumber, std::int64_t now, const Point& p,
                                             const ViewEventContext& context) {
  const bool continues = buttonNumber == fClickButton && now - fClickTime <= context.doubleClickTime &&
                         std::fabs(p.x - fClickPoint.x) <= context.doubleClickDistance &&
                         std::fabs(p.y - fClickPoint.y) <= context.doubleClickDistance;
  if (!continues) {
    fClickCount = 1;
  } else if (fClickCount < std::numeric_limits<std::int32_t>::max()) {
    ++fClickCount;
  }
  fClickButton = buttonNumber;
  fClickTime = now;
  fClickPoint = p;
  return fClickCount;
}

std::optional<ViewEvent> ViewEventTranslator::Translate(const GdkEvent& event, const ViewEventContext& context) {
  const std::int64_t now = fClock();
  ViewEvent record;
  record.timestamp = static_cast<double>(now) / 1000.0;
  record.modifierFlags = ModifierFlags(context.modifierState);

  switch (event.type) {
    case GDK_BUTTON_PRESS:
    case GDK_BUTTON_RELEASE: {
      const GdkEventButton& button = event.button;
      const std::optional<std::int32_t> number = ButtonNumber(button.button);
      if (!number) return std::nullopt;
      const bool press = event.type == GDK_BUTTON_PRESS;
      record.kind = press ? ViewEventKind::kMouseDown : ViewEventKind::kMouseUp;
      record.locationInWindow = fLastPoint = {button.x, button.y};
      record.buttonNumber = *number;
      const std::uint32_t bit = ButtonBit(*number);
      const std::uint32_t before = ButtonsBefore(button.state);
      if (press) {
        record.clickCount = CountClick(*number, now, record.locationInWindow, context);
        record.pressedMouseButtons = before | bit;
        if (*number > 2) fHeldOtherButtons |= bit;
      } else {
        record.clickCount = fClickCount;
        record.pressedMouseButtons = before & ~bit;
        fHeldOtherButtons &= ~bit;
      }
      return record;
    }
    case GDK_MOTION_NOTIFY: {
      const GdkEventMotion& motion = event.motion;
      record.locationInWindow = fLastPoint = {motion.x, motion.y};
      record.pressedMouseButtons = ButtonsBefore(motion.state);
      if (record.pressedMouseButtons != 0) {
        record.kind = ViewEventKind::kMouseDragged;
        record.buttonNumber = std::countr_zero(record.pressedMouseButtons);
      } else {
        record.kind = ViewEventKind::kMouseMoved;
      }
      return record;
    }
    case GDK_ENTER_NOTIFY:
    case GDK_LEAVE_NOTIFY: {
      const GdkEventCrossing& crossing = event.crossing;
      if (crossing.detail == GDK_NOTIFY_INFERIOR) return std::nullopt;
      const Point p{crossing.x, crossing.y};
      if (event.type == GDK_ENTER_NOTIFY) {
        if (!Inside(p, context)) return std::nullopt;
        record.kind = ViewEventKind::kMouseEntered;
      } else {
        const bool grabbed = crossing.mode == GDK_CROSSING_GRAB || crossing.mode == GDK_CROSSING_GTK_GRAB;
        if (Inside(p, context) && !grabbed) return std::nullopt;
        record.kind = ViewEventKind::kMouseExited;
      }
      record.locationInWindow = fLastPoint = p;
      record.pressedMouseButtons = ButtonsBefore(crossing.state);
      return record;
    }
    case GDK_KEY_PRESS:
    case GDK_KEY_RELEASE: {
      const GdkEventKey& key = event.key;
      const bool press = event.type == GDK_KEY_PRESS;
      bool repeat = false;
      if (press) {
        repeat = !fHeldKeys.insert(key.hardware_keycode).second;
      } else {
        fHeldKeys.erase(key.hardware_keycode);
      }
      record.keyCode = KeyCodeOf(key.keyval, key.hardware_keycode);
      record.locationInWindow = fLastPoint;
      if (key.is_modifier != 0) {
        // The state is the one before the event: the key's own flag changes with it.
        const std::uint32_t flag = ModifierKeyFlag(key.keyval);
        record.kind = ViewEventKind::kFlagsChanged;
        record.modifierFlags = press ? record.modifierFlags | flag : record.modifierFlags & ~flag;
        return record;
      }
      if (!press) return std::nullopt;
      record.kind = ViewEventKind::kKeyDown;
      record.isARepeat = repeat;
      const gunichar character = KeyCharacter(key.keyval);
      if (character != 0) record.characters.push_back(static_cast<char32_t>(character));
      return record;
    }
    case GDK_FOCUS_CHANGE:
      // Keys released while the view had no focus were never seen.
      if (event.focus_change.in == 0) fHeldKeys.clear();
      return std::nullopt;
    case GDK_GRAB_BROKEN:
      record.kind = ViewEventKind::kDragLost;
      record.locationInWindow = fLastPoint;
      fHeldOtherButtons = 0;
      return record;
    default:
      return std::nullopt;
  }
}

}  // namespace Platform
