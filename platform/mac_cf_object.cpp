#include "platform/mac_cf_object.h"

#include "platform/text.h"

namespace Wex {

namespace {

ref<rcMacCFObject> HoldString(std::string utf8) {
  return ref<rcMacCFObject>(new rcMacCFObject(ref<rc>(new Platform::rcCFString(std::move(utf8)))));
}

}  // namespace

ref<rcMacCFObject> CreateCFString(const rcVector<char>& latin1) {
  return HoldString(Platform::Latin1ToUTF8({latin1.GetData(), static_cast<std::size_t>(latin1.GetSize())}));
}

ref<rcMacCFObject> CreateCFString(const rcVector<UniChar>& utf16) {
  return HoldString(Platform::UTF16ToUTF8(utf16.GetData(), static_cast<std::size_t>(utf16.GetSize())));
}

aref<rcVector<char>> CFStringToLatin1(const rcMacCFObject* string, char loss) {
  const auto* text = string != nullptr ? string->GetObjectAs<Platform::rcCFString>() : nullptr;
  if (text == nullptr || text->GetUTF8().empty()) return nullptr;
  const std::string latin1 = Platform::UTF8ToLatin1(text->GetUTF8(), loss);
  return aref<rcVector<char>>(new rcVector<char>(latin1.data(), static_cast<int64_t>(latin1.size())));
}

}  // namespace Wex
