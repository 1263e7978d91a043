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

// Runs the step every 10 ms until it answers true. After 5 s in vain the test fails, the
// innermost modal run stops with -100 and any shown menu closes.
void Repeat(std::function<bool()> step);
// Acts on the shown toplevel window of the type once it shows.
void WhenShown(GType type, std::function<void(GtkWindow*)> act);
// Acts once the time has passed.
void After(std::int64_t milliseconds, std::function<void()> act);

// The mapped toplevel window of the type, null when there is none.
GtkWindow* FindShownWindow(GType type);
// The shown pop-up menu, null when there is none.
GtkMenuShell* FindShownMenu();
// The number of toplevel windows, shown or not.
guint CountToplevels();

// Runs xdotool with the arguments (keys after "key", text after "type"), after giving the window
// the focus when one is given.
void Input(GtkWindow* window, const std::vector<std::string>& arguments);

// The descendants of the widget, depth first, internal children included.
std::vector<GtkWidget*> GetDescendants(GtkWidget* widget);
// The descendant with the builder id, null when there is none.
GtkWidget* FindById(GtkWidget* root, const char* id);
// Clicks the button with the builder id below the root.
void ClickById(GtkWidget* root, const char* id);

// The contents of a file of the source tree, by its path relative to the tree.
std::string SourceFile(const std::string& relative);

// The message of the xExceptionWithRCString that the call throws, empty when it throws none.
std::string ErrorOf(const std::function<void()>& call);

}  // namespace GuiTest
