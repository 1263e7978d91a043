#pragma once

// The program's ISO Latin-1 texts in the toolkit's UTF-8.

#include <string>
#include <string_view>

#include "base/rc_string.h"
#include "platform/text.h"

namespace Wex {

// The text in UTF-8; a null text is empty.
inline std::string ToToolkitText(const refString& text) {
  return Platform::Latin1ToUTF8(text ? text->GetText() : std::string_view());
}

}  // namespace Wex
