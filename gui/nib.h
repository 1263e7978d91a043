#pragma once

// Dialog resources: GtkBuilder files among a bundle's resources. The resource named N is the
// file "<bundle>/Resources/N.ui".
//
// - The dialog window is the object with id "window"; without one, it is the only GtkWindow
//   among the file's objects.
// - The accessory view is the object with id "view"; without one, it is the only widget that
//   has no parent and is no window.
// - Items carry their tags in their ids (see gui/dialog.h).
//
// The builder is released once the object is taken, and every other toplevel window that the
// file made is destroyed. Main thread only.

#include "base/rc_string.h"
#include "platform/bundle.h"

typedef struct _GtkWidget GtkWidget;
typedef struct _GtkWindow GtkWindow;

namespace Wex {

// The window of the resource, with one reference for the caller, who destroys the window when
// done with it. Throws xExceptionWithRCString "Could not open dialog resource" for a file that
// is missing or malformed (an empty name looks for ".ui"), "Missing window resource" when the
// file has no window as described.
GtkWindow* LoadDialogWindow(const rcResourceFile& bundle, const refString& name);

// The accessory view of the resource, with one reference for the caller. Throws as
// LoadDialogWindow, with "Missing view resource" when the file has no view as described.
GtkWidget* LoadDialogView(const rcResourceFile& bundle, const refString& name);

}  // namespace Wex
