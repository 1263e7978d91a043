#pragma once

// Modal dialogs loaded from dialog resources (gui/nib.h): the window's controls report to the
// application's handler by tag, and the window runs modally until the handler ends the run.

#include <cstdint>

#include "base/rc.h"
#include "base/rc_string.h"
#include "gui/dialog.h"
#include "gui/ext_window.h"
#include "platform/bundle.h"

// The window's side of a modal dialog: its close box (and, in a toolkit dialog, Escape) reports
// as the item with tag 2, and the window never closes by itself.
class comkelvane_brimlib_20150413151123_ModalDialogDelegate : public Wex::rc {
 public:
  comkelvane_brimlib_20150413151123_ModalDialogDelegate(iref<Wex::iDialog> dialog, iref<Wex::iDialogHandler> handler)
      : wexDialog(std::move(dialog)), wexDialogHandler(std::move(handler)) {}

  // Calls the handler's ItemAction with tag 2, dropping every exception; answers false.
  bool windowShouldClose();

 private:
  iref<Wex::iDialog> wexDialog;
  iref<Wex::iDialogHandler> wexDialogHandler;
};

namespace Wex {

class rcCocoaModalDialog : public rc {
 public:
  // Loads the window of the resource `nibName` of the bundle (errors as LoadDialogWindow) and
  // connects its controls to the handler. The dialog name and the code are not used here.
  rcCocoaModalDialog(const ref<rcResourceFile>& resourceFile, const refString& nibName, const refString& dialogName,
                     std::uint32_t code, const iref<iDialogHandler>& handler);
  rcCocoaModalDialog(const rcCocoaModalDialog&) = delete;
  rcCocoaModalDialog& operator=(const rcCocoaModalDialog&) = delete;
  ~rcCocoaModalDialog() override;

  // Calls the handler's DialogOpening, runs the window modally (above the given window, when
  // there is one) until EndModal, calls DialogClosed, and answers the code given to EndModal.
  // Exceptions of DialogOpening and DialogClosed reach the caller. After Close, and when the
  // program's end cancels the run (Platform::CancelModalRuns), it answers 0.
  std::int32_t RunModal(const ref<rcExtWindow>& window);
  // Disconnects the controls and the window from the handler and destroys the window.
  virtual void Close();

  const iref<iDialog>& GetDialog() const { return fDialog; }

 private:
  iref<iDialogHandler> fHandler;
  ref<rcExtWindow> fWindow;
  iref<iDialog> fDialog;
  ref<comkelvane_brimlib_20150413151123_ModalDialogDelegate> fDelegate;
  ref<comkelvane_brimlib_20150413151123_DialogItemTarget> fItemTarget;
  // The window that the resource made, with one reference.
  GtkWindow* fGtkWindow = nullptr;
  unsigned long fDeleteHandler = 0;
};

}  // namespace Wex
