#pragma once

// The ordered child references of a container: the first 16 live inside the list itself, more
// move to a heap array whose capacity doubles as the list grows and halves as it shrinks.

#include <cstdint>
#include <memory>

#include "gui/element.h"

namespace Wex {

class cChildList {
 public:
  static constexpr std::int64_t kInlineCapacity = 16;

  cChildList() = default;
  cChildList(const cChildList&) = delete;
  cChildList& operator=(const cChildList&) = delete;

  std::int64_t GetCount() const { return fCount; }
  std::int64_t GetCapacity() const { return fCapacity; }
  bool IsInline() const { return !fHeap; }
  const ref<rcGUIElement>& operator[](std::int64_t index) const { return Data()[index]; }

  void Append(ref<rcGUIElement> child);
  // Removes the entry; the following ones move down one place.
  void RemoveAt(std::int64_t index);
  // The index of the first entry holding the element, or -1.
  std::int64_t Find(const rcGUIElement* child) const;

 private:
  ref<rcGUIElement>* Data() { return fHeap ? fHeap.get() : fInline; }
  const ref<rcGUIElement>* Data() const { return fHeap ? fHeap.get() : fInline; }
  // Moves the entries into storage of the given capacity (inline when it is the inline capacity).
  void Reallocate(std::int64_t capacity);

  ref<rcGUIElement> fInline[kInlineCapacity];
  std::unique_ptr<ref<rcGUIElement>[]> fHeap;
  std::int64_t fCapacity = kInlineCapacity;
  std::int64_t fCount = 0;
};

}  // namespace Wex
