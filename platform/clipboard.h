#pragma once

// The general clipboard.

#include <string>
#include <string_view>

namespace Wex {

// Replaces the text of the general clipboard by the ISO Latin-1 text.
void PutClipboardText(std::string_view latin1);

}  // namespace Wex

namespace Platform {

// Puts UTF-8 text on the clipboard. The default writer replaces the text of the CLIPBOARD
// selection of the default display, and does nothing without a display; on X11 the text stays
// there while the process owns the selection.
using ClipboardWriter = void (*)(const std::string& utf8);

// Installs the writer that PutClipboardText calls (null installs the default) and answers the
// previous one. Main thread only.
ClipboardWriter SetClipboardWriter(ClipboardWriter writer);

}  // namespace Platform
