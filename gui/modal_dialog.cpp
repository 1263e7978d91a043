#include "gui/modal_dialog.h"

#include <gtk/gtk.h>

#include "gui/nib.h"
#include "platform/modal_run.h"

bool comkelvane_brimlib_20150413151123_ModalDialogDelegate::windowShouldClose() {
  try {
    const iref<Wex::iDialogHandler> handler = wexDialogHandler;
    if (handler) handler->ItemAction(wexDialog, 2);
  } catch (...) {
  }
  return false;
}

namespace Wex {

rcCocoaModalDialog::rcCocoaModalDialog(const ref<rcResourceFile>& resourceFile, const refString& nibName,
                                       const refString&, std::uint32_t, const iref<iDialogHandler>& handler)
    : fHandler(handler) {
  fGtkWindow = LoadDialogWindow(*resourceFile, nibName);
  fWindow = new rcExtWindow(fGtkWindow);
  const ref<CocoaDialog> dialog(new CocoaDialog(fWindow, GTK_WIDGET(fGtkWindow)));
  fDialog = iref<iDialog>(dialog);
  fDelegate = new comkelvane_brimlib_20150413151123_ModalDialogDelegate(fDialog, fHandler);
  fDeleteHandler = g_signal_connect(fGtkWindow, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer delegate) {
                                      // The delegate stays while the call runs, even when the
                                      // handler closes the dialog.
                                      const ref<comkelvane_brimlib_20150413151123_ModalDialogDelegate> held(
                                          static_cast<comkelvane_brimlib_20150413151123_ModalDialogDelegate*>(delegate));
                                      return held->windowShouldClose() ? FALSE : TRUE;
                                    }),
                                    fDelegate.Get());
  fItemTarget = new comkelvane_brimlib_20150413151123_DialogItemTarget(fDialog, fHandler);
  ConnectControls(GTK_WIDGET(fGtkWindow), *fItemTarget);
}

rcCocoaModalDialog::~rcCocoaModalDialog() { rcCocoaModalDialog::Close(); }

std::int32_t rcCocoaModalDialog::RunModal(const ref<rcExtWindow>& window) {
  const iref<iDialogHandler> handler = fHandler;
  const iref<iDialog> dialog = fDialog;
  if (fGtkWindow == nullptr) return 0;
  if (handler) handler->DialogOpening(dialog);
  std::int32_t code = 0;
  if (fGtkWindow != nullptr) code = Platform::RunModalWindow(fGtkWindow, window ? window->GetGtkWindow() : nullptr, 0);
  if (handler) handler->DialogClosed(dialog);
  return code;
}

void rcCocoaModalDialog::Close() {
  fItemTarget = nullptr;
  if (fGtkWindow != nullptr && g_signal_handler_is_connected(fGtkWindow, fDeleteHandler)) {
    g_signal_handler_disconnect(fGtkWindow, fDeleteHandler);
  }
  fDelegate = nullptr;
  fWindow = nullptr;
  if (fGtkWindow != nullptr) {
    gtk_widget_destroy(GTK_WIDGET(fGtkWindow));
    g_object_unref(fGtkWindow);
    fGtkWindow = nullptr;
  }
}

}  // namespace Wex
