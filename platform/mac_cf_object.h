#pragma once

// The program's holders of platform objects that stand in for CoreFoundation objects (texts,
// URLs, bundles), and the text conversions over them.

#include <string>
#include <utility>

#include "base/rc.h"
#include "base/rc_vector.h"

namespace Platform {

// Stand-in of a CFString: Unicode text, held in UTF-8.
class rcCFString : public Wex::rc {
 public:
  explicit rcCFString(std::string utf8) : fUTF8(std::move(utf8)) {}
  const std::string& GetUTF8() const { return fUTF8; }

 private:
  std::string fUTF8;
};

}  // namespace Platform

namespace Wex {

// Holds one platform object: a newly created one is taken over, a given one retained, both by
// the reference; destruction releases it.
class rcMacCFObject : public rc {
 public:
  explicit rcMacCFObject(ref<rc> object) : fObject(std::move(object)) {}

  rc* GetObject() const { return fObject.Get(); }
  // The held object when it is of type T, else null.
  template <class T>
  T* GetObjectAs() const {
    return dynamic_cast<T*>(fObject.Get());
  }

 private:
  ref<rc> fObject;
};

// A holder of a new string made from the bytes of the vector read as ISO Latin-1.
ref<rcMacCFObject> CreateCFString(const rcVector<char>& latin1);
// A holder of a new string made from the UTF-16 units of the vector; an unpaired surrogate
// becomes U+FFFD.
ref<rcMacCFObject> CreateCFString(const rcVector<UniChar>& utf16);

// The held string in ISO Latin-1 as a new NUL-terminated vector, each character without a Latin-1
// form replaced by the loss byte. Null when there is nothing to convert: no holder, no string
// in it, or an empty string.
aref<rcVector<char>> CFStringToLatin1(const rcMacCFObject* string, char loss);

}  // namespace Wex
