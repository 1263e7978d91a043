#pragma once

// Modal alert boxes with a message, an informative text and one of six fixed button sets.

#include <cstdint>
#include <functional>
#include <vector>

#include "base/rc.h"
#include "base/rc_string.h"
#include "gui/ext_window.h"

namespace Wex {

// One button of an alert: its id (the answer when it is pressed), its title, and whether the
// Return key presses it.
struct cAlertButton {
  std::int32_t fId = 0;
  const char* fTitle = "";
  bool fReturnKey = false;

  friend bool operator==(const cAlertButton& a, const cAlertButton& b);
};

// The buttons of a set, from the first added (the rightmost) to the last. Sets: 0 OK; 1 OK,
// Cancel; 2 Retry, Cancel; 3 Yes, No; 4 Yes, No, Cancel; 5 Abort, Retry, Ignore; any other
// value is set 0. Ids: OK 0, Cancel 1, Retry 2, Yes 3, No 4, Abort 5, Ignore 6. Return presses
// only the button whose id is the default id, and none when the set lacks it.
std::vector<cAlertButton> GetAlertButtons(std::int32_t buttonSet, std::int32_t defaultId);

// Shows an alert modally and answers the id of the pressed button. Style 3 is informational,
// 4 critical, every other value a warning. The ISO Latin-1 message is the headline and the
// informative text (when not empty) the text below it; both show literally (a null text is
// empty). The window, when there is one, only keeps the alert above it. Escape and the window's
// close box press Cancel when the set has it, and do nothing otherwise. An alert that the
// program's end cancels (Platform::CancelModalRuns) answers -1, no button.
std::int32_t RunAlert(std::int32_t style, std::int32_t buttonSet, std::int32_t defaultId, const refString& message,
                      const refString& informative, const ref<rcExtWindow>& window);

// What RunAlert calls with its arguments. Tests install one that records them and answers a
// chosen id without showing anything.
using AlertRunner = std::function<std::int32_t(std::int32_t style, std::int32_t buttonSet, std::int32_t defaultId,
                                               const refString& message, const refString& informative,
                                               const ref<rcExtWindow>& window)>;

// Installs the runner (an empty one installs the default, which shows a toolkit alert) and
// answers the previous one. Main thread only.
AlertRunner SetAlertRunner(AlertRunner runner);

}  // namespace Wex
