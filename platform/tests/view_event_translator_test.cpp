#include "platform/view_event_translator.h"

#include <gdk/gdk.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using Platform::ViewEvent;
using Platform::ViewEventKind;
using enum ViewEventKind;

std::int64_t gNow = 0;
std::int64_t FakeClock() { return gNow; }

GdkEvent Button(GdkEventType type, guint button, double x, double y, guint state = 0) {
  GdkEvent e{};
  e.button.type = type;
  e.button.button = button;
  e.button.x = x;
  e.button.y = y;
  e.button.state = state;
  return e;
}

GdkEvent Motion(double x, double y, guint state = 0) {
  GdkEvent e{};
  e.motion.type = GDK_MOTION_NOTIFY;
  e.motion.x = x;
  e.motion.y = y;
  e.motion.state = state;
  return e;
}

GdkEvent Crossing(GdkEventType type, double x, double y, GdkNotifyType detail = GDK_NOTIFY_ANCESTOR,
                  GdkCrossingMode mode = GDK_CROSSING_NORMAL) {
  GdkEvent e{};
  e.crossing.type = type;
  e.crossing.x = x;
  e.crossing.y = y;
  e.crossing.detail = detail;
  e.crossing.mode = mode;
  return e;
}

GdkEvent Key(GdkEventType type, guint keyval, guint16 hardwareKeycode, bool modifier = false) {
  GdkEvent e{};
  e.key.type = type;
  e.key.keyval = keyval;
  e.key.hardware_keycode = hardwareKeycode;
  e.key.is_modifier = modifier ? 1 : 0;
  return e;
}

GdkEvent Other(GdkEventType type) {
  GdkEvent e{};
  e.type = type;
  if (type == GDK_FOCUS_CHANGE) e.focus_change.in = 0;
  return e;
}

// The record's fields that a row compares.
struct Expected {
  ViewEventKind kind;
  std::int32_t buttonNumber = 0;
  std::int32_t clickCount = 0;
  std::uint32_t buttons = 0;
};

std::string Describe(const std::optional<ViewEvent>& r) {
  if (!r) return "none";
  return std::to_string(static_cast<int>(r->kind)) + " button " + std::to_string(r->buttonNumber) + " clicks " +
         std::to_string(r->clickCount) + " mask " + std::to_string(r->pressedMouseButtons) + " at " +
         std::to_string(r->locationInWindow.x) + "," + std::to_string(r->locationInWindow.y);
}

std::string Describe(const std::optional<Expected>& e, const GdkEvent& event) {
  if (!e) return "none";
  // Pointer events keep their position; the drag-lost record has the last one seen.
  double x = 0;
  double y = 0;
  if (!gdk_event_get_coords(&event, &x, &y)) x = y = -1;
  if (e->kind == kDragLost) x = 7, y = 8;
  return std::to_string(static_cast<int>(e->kind)) + " button " + std::to_string(e->buttonNumber) + " clicks " +
         std::to_string(e->clickCount) + " mask " + std::to_string(e->buttons) + " at " + std::to_string(x) + "," +
         std::to_string(y);
}

TEST(ViewEventTranslator, NumbersButtonsCountsClicksAndMasksTheButtonsAfterTheEvent) {
  Platform::ViewEventTranslator translator(FakeClock);
  const Platform::ViewEventContext context{0, 400, 5.0, 100.0, 50.0};
  struct Row {
    std::int64_t now;
    GdkEvent event;
    std::optional<Expected> expected;
  };
  const Row rows[] = {
      {0, Button(GDK_BUTTON_PRESS, 1, 10, 10), Expected{kMouseDown, 0, 1, 1}},
      // The toolkit's own double-click events come after the plain presses and are dropped.
      {100, Button(GDK_2BUTTON_PRESS, 1, 10, 10, GDK_BUTTON1_MASK), std::nullopt},
      {100, Button(GDK_BUTTON_RELEASE, 1, 10, 10, GDK_BUTTON1_MASK), Expected{kMouseUp, 0, 1, 0}},
      {100, Button(GDK_BUTTON_PRESS, 1, 15, 5), Expected{kMouseDown, 0, 2, 1}},
      {500, Button(GDK_BUTTON_PRESS, 1, 15, 5), Expected{kMouseDown, 0, 3, 1}},
      {901, Button(GDK_BUTTON_PRESS, 1, 15, 5), Expected{kMouseDown, 0, 1, 1}},   // too late
      {902, Button(GDK_BUTTON_PRESS, 1, 21, 5), Expected{kMouseDown, 0, 1, 1}},   // too far
      {903, Button(GDK_BUTTON_PRESS, 3, 21, 5, GDK_BUTTON1_MASK), Expected{kMouseDown, 1, 1, 3}},
      {904, Button(GDK_BUTTON_PRESS, 1, 21, 5), Expected{kMouseDown, 0, 1, 1}},   // another button came between
      {905, Button(GDK_BUTTON_PRESS, 2, 21, 5), Expected{kMouseDown, 2, 1, 4}},
      {905, Motion(-30, 400, GDK_BUTTON2_MASK), Expected{kMouseDragged, 2, 0, 4}},
      // Buttons above the third are the translator's own record, up to bit 31.
      {906, Button(GDK_BUTTON_PRESS, 8, 1, 1), Expected{kMouseDown, 7, 1, 0x80}},
      {906, Button(GDK_BUTTON_PRESS, 40, 1, 1), Expected{kMouseDown, 39, 1, 0x80}},
      {906, Button(GDK_BUTTON_PRESS, 255, 1, 1), Expected{kMouseDown, 254, 1, 0x80}},
      {907, Motion(2, 2), Expected{kMouseDragged, 7, 0, 0x80}},
      {907, Button(GDK_BUTTON_RELEASE, 3, 2, 2, GDK_BUTTON1_MASK | GDK_BUTTON3_MASK), Expected{kMouseUp, 1, 1, 0x81}},
      {907, Button(GDK_BUTTON_RELEASE, 8, 2, 2), Expected{kMouseUp, 7, 1, 0}},
      {908, Motion(3, 3), Expected{kMouseMoved, 0, 0, 0}},
      {908, Button(GDK_BUTTON_PRESS, 0, 3, 3), std::nullopt},
      {909, Button(GDK_BUTTON_PRESS, 9, 7, 8), Expected{kMouseDown, 8, 1, 0x100}},
      // A lost grab releases everything where the pointer was last seen.
      {910, Other(GDK_GRAB_BROKEN), Expected{kDragLost, 0, 0, 0}},
      {910, Motion(7, 8), Expected{kMouseMoved, 0, 0, 0}},
      {910, Other(GDK_SCROLL), std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    gNow = rows[i].now;
    const std::optional<ViewEvent> record = translator.Translate(rows[i].event, context);
    EXPECT_EQ(Describe(record), Describe(rows[i].expected, rows[i].event)) << i;
    if (record) {
      EXPECT_EQ(record->timestamp, static_cast<double>(rows[i].now) / 1000.0) << i;
    }
  }
}

TEST(ViewEventTranslator, CrossingsCountWhenTheirPositionAgrees) {
  Platform::ViewEventTranslator translator(FakeClock);
  const Platform::ViewEventContext context{GDK_BUTTON1_MASK, 400, 5.0, 100.0, 50.0};
  struct Row {
    GdkEvent event;
    std::optional<ViewEventKind> kind;
  };
  const Row rows[] = {
      {Crossing(GDK_ENTER_NOTIFY, 0, 0), kMouseEntered},
      {Crossing(GDK_ENTER_NOTIFY, 99.5, 49.5, GDK_NOTIFY_NONLINEAR), kMouseEntered},
      {Crossing(GDK_ENTER_NOTIFY, 100, 10), std::nullopt},
      {Crossing(GDK_ENTER_NOTIFY, 10, -0.5), std::nullopt},
      {Crossing(GDK_ENTER_NOTIFY, 10, 10, GDK_NOTIFY_INFERIOR), std::nullopt},
      {Crossing(GDK_LEAVE_NOTIFY, 10, 10), std::nullopt},
      {Crossing(GDK_LEAVE_NOTIFY, 10, 50), kMouseExited},
      {Crossing(GDK_LEAVE_NOTIFY, -1, 10, GDK_NOTIFY_INFERIOR), std::nullopt},
      {Crossing(GDK_LEAVE_NOTIFY, 10, 10, GDK_NOTIFY_ANCESTOR, GDK_CROSSING_GRAB), kMouseExited},
      {Crossing(GDK_LEAVE_NOTIFY, 10, 10, GDK_NOTIFY_ANCESTOR, GDK_CROSSING_GTK_GRAB), kMouseExited},
      {Crossing(GDK_LEAVE_NOTIFY, 10, 10, GDK_NOTIFY_ANCESTOR, GDK_CROSSING_UNGRAB), std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const std::optional<ViewEvent> record = translator.Translate(rows[i].event, context);
    ASSERT_EQ(record.has_value(), rows[i].kind.has_value()) << i;
    if (!record) continue;
    EXPECT_EQ(record->kind, *rows[i].kind) << i;
    EXPECT_EQ(record->locationInWindow.x, rows[i].event.crossing.x) << i;
    EXPECT_EQ(record->locationInWindow.y, rows[i].event.crossing.y) << i;
  }
}

TEST(ViewEventTranslator, ModifierFlagsComeFromShiftControlAltAndSuperOnly) {
  Platform::ViewEventTranslator translator(FakeClock);
  const struct {
    guint state;
    std::uint32_t flags;
  } rows[] = {
      {0, 0},
      {GDK_SHIFT_MASK, Platform::kShiftKeyMask},
      {GDK_CONTROL_MASK, Platform::kControlKeyMask},
      {GDK_MOD1_MASK, Platform::kAlternateKeyMask},
      {GDK_SUPER_MASK | GDK_MOD4_MASK, Platform::kCommandKeyMask},
      {GDK_LOCK_MASK | GDK_MOD2_MASK | GDK_MOD3_MASK | GDK_MOD4_MASK | GDK_MOD5_MASK | GDK_HYPER_MASK | GDK_META_MASK, 0},
      {GDK_SHIFT_MASK | GDK_CONTROL_MASK | GDK_MOD1_MASK | GDK_SUPER_MASK,
       Platform::kShiftKeyMask | Platform::kControlKeyMask | Platform::kAlternateKeyMask | Platform::kCommandKeyMask},
  };
  for (const auto& row : rows) {
    const Platform::ViewEventContext context{row.state, 400, 5.0, 100.0, 50.0};
    EXPECT_EQ(translator.Translate(Motion(1, 1), context)->modifierFlags, row.flags) << row.state;
  }
}

TEST(ViewEventTranslator, KeysGiveCharactersKeyCodesRepeatsAndModifierChanges) {
  Platform::ViewEventTranslator translator(FakeClock);
  struct Row {
    GdkEvent event;
    guint state;
    std::optional<ViewEventKind> kind;
    std::u32string characters = U"";
    std::int32_t keyCode = 0;
    bool repeat = false;
    std::uint32_t flags = 0;
  };
  constexpr std::uint32_t kShift = Platform::kShiftKeyMask;
  const Row rows[] = {
      {Key(GDK_KEY_PRESS, GDK_KEY_a, 38), 0, kKeyDown, U"a", 0x1026},
      {Key(GDK_KEY_PRESS, GDK_KEY_a, 38), 0, kKeyDown, U"a", 0x1026, true},
      {Key(GDK_KEY_RELEASE, GDK_KEY_a, 38), 0, std::nullopt},
      {Key(GDK_KEY_PRESS, GDK_KEY_A, 38), GDK_SHIFT_MASK, kKeyDown, U"A", 0x1026, false, kShift},
      {Key(GDK_KEY_PRESS, GDK_KEY_EuroSign, 26), 0, kKeyDown, U"\u20ac", 0x101a},
      // Forward delete types nothing; backspace types 8.
      {Key(GDK_KEY_PRESS, GDK_KEY_Delete, 119), 0, kKeyDown, U"", 117},
      {Key(GDK_KEY_PRESS, GDK_KEY_KP_Delete, 91), 0, kKeyDown, U"", 117},
      {Key(GDK_KEY_PRESS, GDK_KEY_BackSpace, 22), 0, kKeyDown, U"\b", 51},
      {Key(GDK_KEY_PRESS, GDK_KEY_Return, 36), 0, kKeyDown, U"\r", 36},
      {Key(GDK_KEY_PRESS, GDK_KEY_KP_Enter, 104), 0, kKeyDown, U"\r", 76},
      {Key(GDK_KEY_PRESS, GDK_KEY_Tab, 23), 0, kKeyDown, U"\t", 48},
      {Key(GDK_KEY_PRESS, GDK_KEY_ISO_Left_Tab, 23), GDK_SHIFT_MASK, kKeyDown, U"", 48, true, kShift},
      {Key(GDK_KEY_PRESS, GDK_KEY_Left, 113), 0, kKeyDown, U"", 123},
      {Key(GDK_KEY_PRESS, GDK_KEY_VoidSymbol, 65535), 0, kKeyDown, U"", 0x1000 + 65535},
      // Modifier keys change the flags that the state has before the event.
      {Key(GDK_KEY_PRESS, GDK_KEY_Shift_L, 50, true), 0, kFlagsChanged, U"", 0x1032, false, kShift},
      {Key(GDK_KEY_PRESS, GDK_KEY_Super_R, 134, true), GDK_SHIFT_MASK, kFlagsChanged, U"", 0x1086, false,
       kShift | Platform::kCommandKeyMask},
      {Key(GDK_KEY_RELEASE, GDK_KEY_Shift_L, 50, true), GDK_SHIFT_MASK | GDK_SUPER_MASK, kFlagsChanged, U"", 0x1032,
       false, Platform::kCommandKeyMask},
      {Key(GDK_KEY_RELEASE, GDK_KEY_Super_R, 134, true), GDK_SUPER_MASK, kFlagsChanged, U"", 0x1086},
      {Key(GDK_KEY_PRESS, GDK_KEY_Control_R, 105, true), 0, kFlagsChanged, U"", 0x1069, false,
       Platform::kControlKeyMask},
      {Key(GDK_KEY_PRESS, GDK_KEY_Alt_L, 64, true), 0, kFlagsChanged, U"", 0x1040, false, Platform::kAlternateKeyMask},
      {Key(GDK_KEY_PRESS, GDK_KEY_Meta_R, 64, true), 0, kFlagsChanged, U"", 0x1040, false, Platform::kAlternateKeyMask},
      {Key(GDK_KEY_PRESS, GDK_KEY_Caps_Lock, 66, true), GDK_SHIFT_MASK, kFlagsChanged, U"", 0x1042, false, kShift},
      // Keys released while the focus was elsewhere no longer count as held.
      {Key(GDK_KEY_PRESS, GDK_KEY_b, 56), 0, kKeyDown, U"b", 0x1038},
      {Other(GDK_FOCUS_CHANGE), 0, std::nullopt},
      {Key(GDK_KEY_PRESS, GDK_KEY_b, 56), 0, kKeyDown, U"b", 0x1038},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const Row& row = rows[i];
    const Platform::ViewEventContext context{row.state, 400, 5.0, 100.0, 50.0};
    const std::optional<ViewEvent> record = translator.Translate(row.event, context);
    ASSERT_EQ(record.has_value(), row.kind.has_value()) << i;
    if (!record) continue;
    EXPECT_EQ(record->kind, *row.kind) << i;
    EXPECT_EQ(record->characters, row.characters) << i;
    EXPECT_EQ(record->keyCode, row.keyCode) << i;
    if (record->kind == kKeyDown) {
      EXPECT_EQ(record->isARepeat, row.repeat) << i;
    }
    EXPECT_EQ(record->modifierFlags, row.flags) << i;
  }
}

}  // namespace
