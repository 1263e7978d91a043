#pragma once

// Test doubles around a content view: a peer that records what the view asks of its widget, an
// owner that hands tracking and cursors to its content view as a native view does, and handlers
// that log every call they receive.

#include <glib-object.h>

#include <string>
#include <utility>
#include <vector>

#include "gui/content_view.h"
#include "gui/handlers.h"
#include "gui/tests/recording_view.h"
#include "platform/content_view_peer.h"

namespace GuiTest {

using ContentView = comkelvane_brimlib_20150413151123_ContentView;

class rcRecordingPeer : public Wex::rc, public Platform::iContentViewPeer {
 public:
  void Connect(Wex::rc*, Platform::iContentViewSink* sink) override { fSink = sink; }
  void Disconnect() override {
    fSink = nullptr;
    ++fDisconnects;
  }
  void SetFrame(const Platform::Rect& frame) override { fFrame = frame; }
  Platform::Rect GetFrame() override { return fFrame; }
  void AddToSuperview(GtkContainer* parent) override { fParent = parent; }
  void SetHidden(bool hidden) override { fHidden = hidden; }
  bool IsHidden() override { return fHidden; }
  GtkWindow* GetWindow() override { return nullptr; }
  Platform::Point GetPositionInWindow() override { return {}; }
  void SetNeedsDisplayInRect(const Platform::Rect& r) override { fInvalidated.push_back(r); }
  void SetNeedsDisplay() override { fInvalidated.push_back(fFrame); }
  void MakeFirstResponder() override { fFirstResponder = true; }
  bool IsFirstResponder() override { return fFirstResponder; }
  void UseCursor(GObject* cursor) override { fCursors.push_back(cursor); }
  // Like a toolkit widget, the view hears that it left its parent.
  void RemoveFromSuperview() override {
    ++fRemovals;
    fParent = nullptr;
    if (fSink != nullptr) fSink->viewDidMoveToSuperview();
  }

  Platform::iContentViewSink* fSink = nullptr;
  Platform::Rect fFrame;
  GtkContainer* fParent = nullptr;
  bool fHidden = false;
  bool fFirstResponder = false;
  std::vector<Platform::Rect> fInvalidated;
  std::vector<GObject*> fCursors;
  int fDisconnects = 0;
  int fRemovals = 0;
};

// A recording view that owns a content view and passes tracking and cursors to it; closing it
// releases the content view.
class rcContentViewOwner : public rcRecordingView {
 public:
  void StartTracking(const iref<Wex::iMouseTracker>& tracker, const Wex::cMouseEvent& event) override {
    if (fContentView) fContentView->StartTracking(tracker, event);
  }
  void CancelTracking(const iref<Wex::iMouseTracker>& tracker) override {
    ++fCancelRequests;
    if (fContentView) fContentView->CancelTracking(tracker);
  }
  iref<Wex::iMouseTracker> GetTracker() override { return fContentView ? fContentView->GetTracker() : nullptr; }
  void UseCursor(const ref<Wex::rcCocoaObject>& cursor) override {
    rcRecordingView::UseCursor(cursor);
    if (fContentView) fContentView->useCursor(cursor ? cursor->GetObject() : nullptr);
  }
  void ReissueMouseMoved() override {
    if (fContentView) fContentView->reissueMouseMoved();
  }
  // The handlers go first, so the view's leaving its parent reaches none.
  void Close() override {
    rcRecordingView::Close();
    if (const ref<ContentView> view = std::move(fContentView)) view->Release();
  }

  ref<ContentView> fContentView;
};

// Every handler interface of a view, logging "name:Call arguments". Mouse events read
// "x,y [+modifiers] bButtons", the modifiers as c(ontrol), s(hift), o(ption), m (command) and
// 2 (secondary click); key events "character keyCode [+modifiers]".
class rcRecordingHandlers : public Wex::rc,
                            public Wex::iGUIElementListener,
                            public Wex::iGUIElementDrawer,
                            public Wex::iMouseClickHandler,
                            public Wex::iContextMenuDisplayer,
                            public Wex::iMouseMovementHandler,
                            public Wex::iKeyHandler,
                            public Wex::iMouseTracker {
 public:
  // The view is any object that is a native view.
  template <class View>
  rcRecordingHandlers(std::string name, View& view, std::vector<std::string>& log)
      : fName(std::move(name)), fViewObject(&view), fView(&view), fLog(&log) {}

  // Installs every handler but the key handler in the view.
  void InstallIn(Wex::iNativeView& view) {
    view.SetListener(iref<Wex::iGUIElementListener>(this));
    view.SetDrawer(iref<Wex::iGUIElementDrawer>(this));
    view.SetClickHandler(iref<Wex::iMouseClickHandler>(this));
    view.SetContextMenuDisplayer(iref<Wex::iContextMenuDisplayer>(this));
    view.SetMovementHandler(iref<Wex::iMouseMovementHandler>(this));
  }

  static std::string Describe(const Wex::cKeyModifiers& m) {
    std::string s;
    if (m.fControl) s += 'c';
    if (m.fShift) s += 's';
    if (m.fOption) s += 'o';
    if (m.fCommand) s += 'm';
    if (m.fSecondaryClick) s += '2';
    return s.empty() ? s : " +" + s;
  }
  static std::string Describe(const Wex::cMouseEvent& e) {
    return std::to_string(e.fPoint.fX) + "," + std::to_string(e.fPoint.fY) + Describe(e.fModifiers) + " b" +
           std::to_string(e.fButtons);
  }
  static std::string Describe(const Wex::cKeyEvent& k) {
    return std::to_string(k.fCharacter) + " " + std::to_string(k.fKeyCode) + Describe(k.fModifiers);
  }

  void TitleChanged(const iref<Wex::iGUIView>& host) override { Record(host, "TitleChanged"); }
  void FrameChanged(const iref<Wex::iGUIView>& host) override { Record(host, "FrameChanged"); }
  void VisibilityChanged(const iref<Wex::iGUIView>& host) override { Record(host, "VisibilityChanged"); }
  void ActivationChanged(const iref<Wex::iGUIView>& host) override { Record(host, "ActivationChanged"); }
  void HierarchyChanged(const iref<Wex::iGUIView>& host) override { Record(host, "HierarchyChanged"); }
  void Draw(const iref<Wex::iGUIView>& host, Wex::rcGraphicsContext&, const Wex::cRect& r) override {
    Record(host, "Draw " + std::to_string(r.fLeft) + "," + std::to_string(r.fTop) + "," + std::to_string(r.fRight) +
                     "," + std::to_string(r.fBottom));
  }
  bool MouseClick(const iref<Wex::iGUIView>& host, const Wex::cMouseEvent& e, std::int32_t button, bool secondary,
                  bool doubleClick) override {
    Keep(e);
    Record(host, "MouseClick " + std::to_string(button) + " " + Describe(e) + (secondary ? " secondary" : "") +
                     (doubleClick ? " double" : ""));
    if (fTrackOnClick) fView->StartTracking(iref<Wex::iMouseTracker>(this), e);
    return fClickHandled;
  }
  bool ShowContextMenu(const iref<Wex::iGUIView>& host, const Wex::cMouseEvent& e) override {
    Record(host, "ShowContextMenu " + Describe(e));
    return fMenuHandled;
  }
  bool CanDisplayContextMenu(const iref<Wex::iGUIView>&, const Wex::cMouseEvent&) override { return false; }
  void MouseEntered(const iref<Wex::iGUIView>& host) override { Record(host, "MouseEntered"); }
  void MouseMoved(const iref<Wex::iGUIView>& host, const Wex::cMouseEvent& e) override {
    Keep(e);
    Record(host, "MouseMoved " + Describe(e));
  }
  void MouseExited(const iref<Wex::iGUIView>& host) override { Record(host, "MouseExited"); }
  bool KeyDown(const iref<Wex::iGUIView>& host, const Wex::cKeyEvent& k, bool repeat) override {
    fLastKey = k;
    Record(host, "KeyDown " + Describe(k) + (repeat ? " repeat" : ""));
    return fKeyHandled;
  }
  void TrackMouse(const iref<Wex::iMouseTrackingHost>& host, const Wex::cMouseEvent& e) override {
    Keep(e);
    Record(host, "TrackMouse " + Describe(e));
  }
  bool TrackKey(const iref<Wex::iMouseTrackingHost>& host, const Wex::cKeyEvent& k) override {
    Record(host, "TrackKey " + Describe(k));
    return fKeyHandled;
  }
  bool EndTracking(const iref<Wex::iMouseTrackingHost>& host, const Wex::cMouseEvent& e) override {
    Record(host, "EndTracking " + Describe(e));
    return true;
  }
  void CancelTracking(const iref<Wex::iMouseTrackingHost>& host) override { Record(host, "CancelTracking"); }

  bool fClickHandled = false;
  bool fMenuHandled = false;
  bool fKeyHandled = true;
  // A click starts tracking with these handlers as the tracker.
  bool fTrackOnClick = false;
  Wex::cMouseEvent fLastMouse;  // without its source
  Wex::cKeyEvent fLastKey;

 private:
  // Without its source, which would hold the view.
  void Keep(const Wex::cMouseEvent& e) {
    fLastMouse = e;
    fLastMouse.fElement = nullptr;
  }
  // Every call must carry the view as its host.
  template <class Host>
  void Record(const iref<Host>& host, const std::string& call) {
    fLog->push_back(fName + ":" + (host.GetObject() == fViewObject ? "" : "(other host) ") + call);
  }

  std::string fName;
  Wex::rc* fViewObject;
  Wex::iNativeView* fView;
  std::vector<std::string>* fLog;
};

}  // namespace GuiTest
