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
                  public iGUIElementListener {
 public:
  // Installs itself in the view as drawer, click handler, context-menu displayer, movement
  // handler and listener, in this order; it installs no key handler. The view and the root hold
  // each other until Close.
  explicit rcGUIRoot(const iref<iNativeView>& view);
  ~rcGUIRoot() override;

  // Replaces the root element: the old one is invalidated and unhosted, the new one sized to the
  // view's bounds, hosted and invalidated.
  void SetRootElement(ref<rcGUIElement> element);
  const ref<rcGUIElement>& GetRootElement() const { return fRootElement; }
  // Asks the view to route the mouse to this root's tracker; p is in view coordinates.
  void StartTracking(const cPoint& p, std::int32_t time, const cKeyModifiers& modifiers);
  // The same for another tracker (an element with a tracker of its own), which receives a press
  // event of the primary button from the view.
  void StartTracking(const iref<iMouseTracker>& tracker, const cPoint& p, std::int32_t time,
                     const cKeyModifiers& modifiers);
  // Detaches the tree and closes and releases the view.
  void Close();
  void NotifyWindowStateChanged();

  // The view; null after Close.
  iNativeView* GetNativeView() const { return fView.Get(); }
  iref<iMouseTracker> GetTracker() { return iref<iMouseTracker>(this); }

  void Draw(const iref<iGUIView>& host, rcGraphicsContext& context, const cRect& update) override;
  // Only presses of button 0 reach the tree; the secondary-click argument replaces the event's flag.
  bool MouseClick(const iref<iGUIView>& host, const cMouseEvent& event, std::int32_t button, bool secondaryClick,
                  bool doubleClick) override;
  bool ShowContextMenu(const iref<iGUIView>& host, const cMouseEvent& event) override;
  bool CanDisplayContextMenu(const iref<iGUIView>& host, const cMouseEvent& event) override;
  void MouseEntered(const iref<iGUIView>& host) override;
  void MouseMoved(const iref<iGUIView>& host, const cMouseEvent& event) override;
  void MouseExited(const iref<iGUIView>& host) override;
  void TrackMouse(const iref<iMouseTrackingHost>& host, const cMouseEvent& event) override;
  bool TrackKey(const iref<iMouseTrackingHost>& host, const cKeyEvent& key) override;
  // Reported as handled, whether or not an element tracks the mouse.
  bool EndTracking(const iref<iMouseTrackingHost>& host, const cMouseEvent& event) override;
  void CancelTracking(const iref<iMouseTrackingHost>& host) override;
  void TitleChanged(const iref<iGUIView>& host) override;
  // Sizes the root element to the view's bounds.
  void FrameChanged(const iref<iGUIView>& host) override;
  void VisibilityChanged(const iref<iGUIView>& host) override;
  void ActivationChanged(const iref<iGUIView>& host) override;
  void HierarchyChanged(const iref<iGUIView>& host) override;

 private:
  iref<iNativeView> fView;
  ref<rcGUIElement> fRootElement;
};

}  // namespace Wex
