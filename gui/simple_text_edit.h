#pragma once

// A small modal dialog that shows a prompt and one editable text, from the dialog resource
// "KVSimpleTextEdit" of the current bundle. Its items: 1 confirms, 2 (also Escape and the close
// box) cancels, 3 shows the prompt, 4 holds the text and has the focus when the dialog opens.

#include <cstdint>
#include <functional>
#include <string>

#include "base/rc.h"
#include "gui/dialog.h"
#include "gui/root.h"

namespace Wex {

class SimpleTextEditHandler : public rc, public iDialogHandler {
 public:
  SimpleTextEditHandler(std::string prompt, std::string text) : fPrompt(std::move(prompt)), fText(std::move(text)) {}

  // Fills the prompt and the text and focuses the text.
  void DialogOpening(const iref<iDialog>& dialog) override;
  // Item 1 ends the run with 1, item 2 with 0; other items are not handled.
  bool ItemAction(const iref<iDialog>& dialog, std::int32_t tag) override;
  // Reads the text back, whichever way the run ended.
  void DialogClosed(const iref<iDialog>& dialog) override;

  const std::string& GetText() const { return fText; }

 private:
  std::string fPrompt;
  std::string fText;
};

// Lets the user edit the text (ISO Latin-1; the prompt and the text count up to their first
// NUL) in a dialog above the window of the host's view. True when the user confirmed: the text
// then holds the edited value; otherwise, and on errors (xExceptionWithRCString "Could not open
// dialog resource" and those of the items), the text is left as it was.
bool RunSimpleTextEditDialog(const ref<rcGUIRoot>& host, const std::string& prompt, std::string& text);

// What RunSimpleTextEditDialog calls with its arguments. Tests install one that records them and
// answers a chosen result and text without showing anything.
using SimpleTextEditRunner = std::function<bool(const ref<rcGUIRoot>& host, const std::string& prompt, std::string& text)>;

// Installs the runner (an empty one installs the default, which shows the dialog) and answers
// the previous one. Main thread only.
SimpleTextEditRunner SetSimpleTextEditRunner(SimpleTextEditRunner runner);

}  // namespace Wex
