#include "platform/clipboard.h"

#include <gtk/gtk.h>

#include <utility>

#include "platform/text.h"

namespace Platform {

namespace {

void PutOnSelection(const std::string& utf8) {
  if (gdk_display_get_default() == nullptr) return;
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), utf8.c_str(), static_cast<gint>(utf8.size()));
}

ClipboardWriter gClipboardWriter = PutOnSelection;

}  // namespace

ClipboardWriter SetClipboardWriter(ClipboardWriter writer) {
  return std::exchange(gClipboardWriter, writer != nullptr ? writer : PutOnSelection);
}

}  // namespace Platform

namespace Wex {

void PutClipboardText(std::string_view latin1) { Platform::gClipboardWriter(Platform::Latin1ToUTF8(latin1)); }

}  // namespace Wex
