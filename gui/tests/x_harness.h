#pragma once

// Helpers of the tests that run on a private X display: the toolkit is set up once for the whole
// program, the main context is iterated until a condition holds, and real input comes from
// xdotool.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

typedef struct _GtkWidget GtkWidget;

namespace GuiTest {

// The host's view: a shown toplevel window at a screen position, holding a fixed container.
struct HostWindow {
  HostWindow(int x, int y);
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  ~HostWindow();

  GtkWidget* window;
  GtkWidget* fixed;
};

// Iterates the main context until done answers true, then once more until it is idle; false
// when done did not answer true within the time given.
bool RunUntil(const std::function<bool()>& done, std::int64_t milliseconds = 5000);

// Runs xdotool to its end; its input goes to the X server, which needs nothing from this process.
void Xdotool(const std::vector<std::string>& arguments);

}  // namespace GuiTest
