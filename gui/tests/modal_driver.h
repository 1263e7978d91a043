#pragma once

// Answers modal runs and menus of the tests from inside: steps run from a scheduler that the
// 5 ms event-loop timer serves, so they run in every nested loop (and show that the timer keeps
// firing there); keys come from xdotool.

#include <gtk/gtk.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace GuiTest {

// The code with which a step that waited in vain stops the innermost modal run.
inline constexpr std::int32_t kTimedOut = -100;

// Runs the step every 10 ms until it answers true. After 5 s in vain the test fails, the
// innermost modal run stops with kTimedOut and any shown menu closes.
void Repeat(std::function<bool()> step);

// The mapped toplevel window of the type, null when there is none.
GtkWindow* FindShownWindow(GType type);
// The shown pop-up menu, null when there is none.
GtkMenuShell* FindShownMenu();

// Gives the window the keyboard focus and types the keys (xdotool key names).
void PressKeys(GtkWindow* window, const std::vector<std::string>& keys);
// Types the keys wherever the keyboard goes (a menu grabs it).
void PressKeys(const std::vector<std::string>& keys);
// Gives the window the focus and types the text.
void TypeText(GtkWindow* window, const std::string& text);

// The descendants of the widget, depth first, internal children included.
std::vector<GtkWidget*> GetDescendants(GtkWidget* widget);

}  // namespace GuiTest
