#include "gui/child_list.h"

#include <algorithm>
#include <utility>

namespace Wex {

void cChildList::Append(ref<rcGUIElement> child) {
  if (fCount + 1 > fCapacity) {
    std::int64_t capacity = fCapacity;
    while (capacity < fCount + 1) capacity *= 2;
    Reallocate(capacity);
  }
  Data()[fCount++] = std::move(child);
}

void cChildList::RemoveAt(std::int64_t index) {
  ref<rcGUIElement>* data = Data();
  std::move(data + index + 1, data + fCount, data + index);
  data[--fCount] = nullptr;
  if (fCapacity > kInlineCapacity && fCount < fCapacity / 2) {
    std::int64_t capacity = fCapacity;
    while (capacity > kInlineCapacity && fCount < capacity / 2) capacity /= 2;
    Reallocate(capacity);
  }
}

std::int64_t cChildList::Find(const rcGUIElement* child) const {
  const ref<rcGUIElement>* data = Data();
  for (std::int64_t i = 0; i < fCount; ++i) {
    if (data[i].Get() == child) return i;
  }
  return -1;
}

void cChildList::Reallocate(std::int64_t capacity) {
  std::unique_ptr<ref<rcGUIElement>[]> heap;
  ref<rcGUIElement>* target = fInline;
  if (capacity > kInlineCapacity) {
    heap = std::make_unique<ref<rcGUIElement>[]>(static_cast<std::size_t>(capacity));
    target = heap.get();
  }
  ref<rcGUIElement>* source = Data();
  if (source != target) std::move(source, source + fCount, target);
  fHeap = std::move(heap);
  fCapacity = std::max(capacity, kInlineCapacity);
}

}  // namespace Wex
