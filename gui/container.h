#pragma once

// The element that holds an ordered list of children: it draws them from the first to the last
// (the last is on top), routes mouse events to the child under the pointer from the last to the
// first, keeps the children's mouse-inside flags and passes host changes, moves and
// notifications down the tree.

#include <cstdint>

#include "gui/child_list.h"
#include "gui/element.h"

namespace Wex {

class rcGUIContainer : public rcGUIElement {
 public:
  explicit rcGUIContainer(const cRect& r);
  ~rcGUIContainer() override;

  // Exits the mouse, then detaches every child and leaves the host and the parent.
  void Detach() override;
  // Draws the visible children that meet the update rectangle, each clipped to its rectangle.
  void Draw(rcGraphicsContext& context, const cRect& update) override;
  // Routed to the visible children under p, from the last to the first, until one handles it.
  bool MouseDown(const cPoint& p, std::int32_t time, bool doubleClick, const cKeyModifiers& modifiers) override;
  // Every visible child under p gets the movement (with MouseEntered first when the pointer just
  // came in); children that the pointer left get MouseExited.
  void MouseMoved(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers) override;
  bool MouseWheel(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers, double amount) override;
  void MoveTo(const cPoint& p) override;
  void WindowStateChanged() override;
  ref<rcGUIElement> FindElementAt(const cPoint& p) override;
  void MouseExited(std::int32_t time) override;
  bool ContextClick(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers) override;
  void SetHost(rcGUIRoot* host) override;

  // Appends the child on top; it takes this container's host.
  virtual void AddChild(ref<rcGUIElement> child);
  // Unhosts and unparents the child, leaving its own children in place; a child of another
  // container is left alone.
  virtual void RemoveChild(const ref<rcGUIElement>& child);
  // Unhosts, unparents and detaches every child, from the last to the first.
  virtual void RemoveAllChildren();

  std::int64_t GetChildCount() const { return fChildren.GetCount(); }
  ref<rcGUIElement> GetChild(std::int64_t index) const { return fChildren[index]; }
  const cChildList& GetChildren() const { return fChildren; }

 protected:
  // The direct drawing of the children.
  void DrawChildren(rcGraphicsContext& context, const cRect& update);

 private:
  // Offers the event to the visible children under p, from the last to the first, with p in the
  // child's coordinates, until the handler answers true.
  template <class Handler>
  bool Route(const cPoint& p, Handler&& handler);
  // Takes the child out of the list, unhosted and unparented, invalidating its place if visible.
  void Unlink(std::int64_t index);

  cChildList fChildren;
};

}  // namespace Wex
