#pragma once

// What a reader did with a text, as one comparable string: the answer that `read` formats from the
// arguments, or the exception's kind and message ("FormatException: ...", "Exception: ...",
// "AngelCode: ...", "PNG: ...", "Wex: ...", "Files: ...").

#include <string>

#include "base/exceptions.h"
#include "gui/resources/angelcode.h"

namespace ResourcesTest {

template <class Read, class... Args>
std::string Outcome(const Read& read, const Args&... args) {
  try {
    return read(args...);
  } catch (const FormatException& e) {
    return std::string("FormatException: ") + e.what();
  } catch (const Exception& e) {
    return std::string("Exception: ") + e.what();
  } catch (const QorAngelCode::Exception& e) {
    return std::string("AngelCode: ") + e.what();
  } catch (const QorPNG::Exception& e) {
    return std::string("PNG: ") + e.what();
  } catch (const Wex::xException& e) {
    return std::string("Wex: ") + e.what();
  } catch (const QorFiles::Exception& e) {
    return std::string("Files: ") + e.what();
  }
}

}  // namespace ResourcesTest
