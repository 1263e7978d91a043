#include "platform/front_process.h"

#include <gtk/gtk.h>

namespace Platform {

namespace {

bool AnyToplevelIsActive() {
  GList* windows = gtk_window_list_toplevels();
  bool active = false;
  for (GList* item = windows; item != nullptr && !active; item = item->next) {
    GtkWindow* window = GTK_WINDOW(item->data);
    active = gtk_window_get_window_type(window) == GTK_WINDOW_TOPLEVEL && gtk_window_is_active(window);
  }
  g_list_free(windows);
  return active;
}

FrontProcessQuery gQuery = AnyToplevelIsActive;

}  // namespace

FrontProcessQuery SetFrontProcessQuery(FrontProcessQuery query) {
  const FrontProcessQuery previous = gQuery;
  gQuery = query != nullptr ? query : AnyToplevelIsActive;
  return previous;
}

}  // namespace Platform

namespace Wex {

bool IsFrontProcess() { return Platform::gQuery(); }

}  // namespace Wex
