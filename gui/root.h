#pragma once

// Connects one native view to one element tree: the view calls the root's handler interfaces,
// and the root passes each call to its root element or, while the mouse is tracked, to the
// tracked element. Elements reach the view (invalidation, cursor, scheduler, tracking) through
// the root.

#include <cstdint>

#include "gui/element.h"
#include "gui/handlers.h"
#include "gui/native_view.h"

namespace Wex {

class rcGUIRoot : public rc,
                  public iGUIElementDrawer,
                  public iMouseClickHandler,
                  public iContextMenuDisplayer,
                  public iMouseMovementHandler,
                  public iMouseTracker,
                  public iWindowEventHandler {
 public:
  // Installs itself in the view as drawer, click handler, context-menu displayer, movement
  // handler and window-event handler. The view and the root hold each other until Close.
  explicit rcGUIRoot(const iref<iNativeView>& view);
  ~rcGUIRoot() override;

  // Replaces the root element: the old one is invalidated and unhosted, the new one sized to the
  // view's bounds, hosted and invalidated.
  void SetRootElement(ref<rcGUIElement> element);
  const ref<rcGUIElement>& GetRootElement() const { return fRootElement; }
  // Asks the view to route the mouse to this root's tracker; p is in view coordinates.
  void StartTracking(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers);
  // Detaches the tree and closes and releases the view.
  void Close();
  void NotifyWindowStateChanged();

  // The view; null after Close.
  iNativeView* GetNativeView() const { return fView.Get(); }
  iref<iMouseTracker> GetTracker() { return iref<iMouseTracker>(this); }

  void Draw(const iref<iGUIView>& view, rcGraphicsContext& context, const cRect& update) override;
  // Only presses of button 0 reach the tree; the secondary-click argument replaces the event's flag.
  bool HandleMouseDown(const iref<iGUIView>& view, const cMouseEvent& event, std::int32_t button,
                       bool secondaryClick, bool doubleClick) override;
  bool DisplayContextMenu(const iref<iGUIView>& view, const cMouseEvent& event) override;
  bool CanDisplayContextMenu(const iref<iGUIView>& view, const cMouseEvent& event) override;
  void MouseEntered(const iref<iGUIView>& view) override;
  void MouseMoved(const iref<iGUIView>& view, const cMouseEvent& event) override;
  void MouseExited(const iref<iGUIView>& view) override;
  void TrackMouse(const iref<iGUIView>& view, const cMouseEvent& event) override;
  bool TrackKey(const iref<iGUIView>& view, const cKeyEvent& key) override;
  // Reported as handled, whether or not an element tracks the mouse.
  bool TrackMouseUp(const iref<iGUIView>& view, const cMouseEvent& event) override;
  void TrackingCancelled(const iref<iGUIView>& view) override;
  void WindowStateChanged(const iref<iGUIView>& view) override;
  // Sizes the root element to the view's bounds.
  void GeometryChanged(const iref<iGUIView>& view) override;
  void VisibilityChanged(const iref<iGUIView>& view) override;
  void KeyWindowChanged(const iref<iGUIView>& view) override;
  void ViewMoved(const iref<iGUIView>& view) override;

 private:
  iref<iNativeView> fView;
  ref<rcGUIElement> fRootElement;
};

}  // namespace Wex
