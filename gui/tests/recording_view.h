#pragma once

// Test doubles of the element tree's surroundings: a native view that records what the tree asks
// of it, a window, and an element that logs the calls it receives.

#include <string>
#include <vector>

#include "base/scheduler.h"
#include "gui/bitmap_context.h"
#include "gui/element.h"
#include "gui/native_view.h"

namespace GuiTest {

// A wrapper over no window that answers a content rectangle of its own, and whether it is the
// key window as the test sets it.
class rcFakeWindow : public Wex::rcExtWindow {
 public:
  explicit rcFakeWindow(const Wex::cRect& content) : rcExtWindow(nullptr), fContent(content) {}
  Wex::cRect GetContentRect() override { return fContent; }
  bool IsKeyWindow() override { return fKey; }

  bool fKey = false;

 private:
  Wex::cRect fContent;
};

// A fake window that measures text through a small bitmap of its own.
class rcMeasuringWindow : public rcFakeWindow {
 public:
  using rcFakeWindow::rcFakeWindow;
  ref<Wex::rcGraphicsContext> BeginDrawing() override {
    return ref<Wex::rcGraphicsContext>(new Wex::rcOffscreenContext32(4, 4, false));
  }
};

class rcRecordingView : public Wex::rc, public Wex::iNativeView {
 public:
  iref<Wex::iGUIView> Self() { return iref<Wex::iGUIView>(this); }
  iref<Wex::iMouseTrackingHost> TrackingHost() { return iref<Wex::iMouseTrackingHost>(this); }

  void SetTitle(const refString& title) override { fTitle = title ? title : Wex::rcString::GetEmpty(); }
  refString GetTitle() override { return fTitle; }
  void SetContentRect(const Wex::cRect& r) override { fBounds = {0, 0, r.Width(), r.Height()}; }
  Wex::cRect GetContentRect() override { return fBounds; }
  Wex::cRect GetBounds() override { return fBounds; }
  void Show() override { fVisible = true; }
  void Hide() override { fVisible = false; }
  bool IsVisible() override { return fVisible; }
  // The view becomes the focus of its window (the first responder).
  void Activate() override {
    ++fActivations;
    fKey = true;
  }
  bool IsKeyWindow() override { return fKey; }
  void InvalidateRect(const Wex::cRect& r) override { fInvalidated.push_back(r); }
  void InvalidateAll() override { fInvalidated.push_back(fBounds); }
  void SetUserValue(std::int32_t value) override { fUserValue = value; }
  std::int32_t GetUserValue() override { return fUserValue; }
  iref<Wex::iGUIView> GetAttachedInterface() override { return nullptr; }
  void StartTracking(const iref<Wex::iMouseTracker>& tracker, const Wex::cMouseEvent& event) override {
    fTracker = tracker;
    fTrackingEvent = event;
  }
  // Like the platform's view: only the current tracker is cancelled, and it hears of it.
  void CancelTracking(const iref<Wex::iMouseTracker>& tracker) override {
    ++fCancelRequests;
    if (!fTracker || fTracker.Get() != tracker.Get()) return;
    fTracker = nullptr;
    tracker->CancelTracking(TrackingHost());
  }
  iref<Wex::iMouseTracker> GetTracker() override { return fTracker; }
  void SetListener(const iref<Wex::iGUIElementListener>& h) override { fListener = h; }
  void SetDrawer(const iref<Wex::iGUIElementDrawer>& h) override { fDrawer = h; }
  void SetClickHandler(const iref<Wex::iMouseClickHandler>& h) override { fClickHandler = h; }
  void SetMovementHandler(const iref<Wex::iMouseMovementHandler>& h) override { fMovementHandler = h; }
  void SetKeyHandler(const iref<Wex::iKeyHandler>& h) override { fKeyHandler = h; }
  void SetContextMenuDisplayer(const iref<Wex::iContextMenuDisplayer>& h) override { fMenuDisplayer = h; }
  iref<Wex::iGUIElementListener> GetListener() override { return fListener; }
  iref<Wex::iGUIElementDrawer> GetDrawer() override { return fDrawer; }
  iref<Wex::iMouseClickHandler> GetClickHandler() override { return fClickHandler; }
  iref<Wex::iContextMenuDisplayer> GetContextMenuDisplayer() override { return fMenuDisplayer; }
  iref<Wex::iMouseMovementHandler> GetMovementHandler() override { return fMovementHandler; }
  iref<Wex::iKeyHandler> GetKeyHandler() override { return fKeyHandler; }
  ref<Wex::rcExtWindow> GetWindow() override { return fWindow; }
  Wex::cPoint GetPositionInWindow() override { return fWindow ? fOrigin : Wex::cPoint{}; }
  ref<Wex::rcScheduler> GetScheduler() override { return fScheduler; }
  void ReissueMouseMoved() override { ++fReissues; }
  void UseCursor(const ref<Wex::rcCocoaObject>& cursor) override { fCursors.push_back(cursor); }
  void Close() override {
    fClosed = true;
    fListener = nullptr;
    fDrawer = nullptr;
    fClickHandler = nullptr;
    fMovementHandler = nullptr;
    fKeyHandler = nullptr;
    fMenuDisplayer = nullptr;
    fTracker = nullptr;
    fTrackingEvent = {};  // it refers to this view
    fScheduler = nullptr;
  }

  refString fTitle = Wex::rcString::GetEmpty();
  Wex::cRect fBounds{0, 0, 200, 100};
  bool fVisible = false;
  bool fKey = false;
  int fActivations = 0;
  std::int32_t fUserValue = 0;
  std::vector<Wex::cRect> fInvalidated;
  ref<Wex::rcScheduler> fScheduler{new Wex::rcScheduler()};
  ref<Wex::rcExtWindow> fWindow;
  Wex::cPoint fOrigin;
  std::vector<ref<Wex::rcCocoaObject>> fCursors;
  iref<Wex::iGUIElementListener> fListener;
  iref<Wex::iGUIElementDrawer> fDrawer;
  iref<Wex::iMouseClickHandler> fClickHandler;
  iref<Wex::iMouseMovementHandler> fMovementHandler;
  iref<Wex::iKeyHandler> fKeyHandler;
  iref<Wex::iContextMenuDisplayer> fMenuDisplayer;
  iref<Wex::iMouseTracker> fTracker;
  Wex::cMouseEvent fTrackingEvent;
  int fCancelRequests = 0;
  int fReissues = 0;
  bool fClosed = false;
};

// A recording view with the tracking of the platform's content view: starting to track cancels
// another current tracker, and the new one receives the starting event at once.
class rcTrackingView : public rcRecordingView {
 public:
  void StartTracking(const iref<Wex::iMouseTracker>& tracker, const Wex::cMouseEvent& event) override {
    if (const iref<Wex::iMouseTracker> old = fTracker; old && old.Get() != tracker.Get()) {
      old->CancelTracking(TrackingHost());
    }
    fTracker = tracker;
    fTrackingEvent = event;
    if (tracker) tracker->TrackMouse(TrackingHost(), event);
  }
};

// An element that appends "name:Call" (with arguments where they matter) to a shared log.
class rcProbe : public Wex::rcGUIElement {
 public:
  rcProbe(const Wex::cRect& r, std::string name, std::vector<std::string>& log)
      : rcGUIElement(r), fName(std::move(name)), fLog(&log) {}

  void Draw(Wex::rcGraphicsContext&, const Wex::cRect& update) override { Record("Draw", update); }
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool, const Wex::cKeyModifiers& m) override {
    fLastTime = time;
    fLastModifiers = m;
    Record("MouseDown", p);
    return fHandles;
  }
  void MouseUp(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& m) override {
    Record("MouseUp", p);
    rcGUIElement::MouseUp(p, time, m);
  }
  void MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& m) override {
    Record("MouseMoved", p);
    rcGUIElement::MouseMoved(p, time, m);
  }
  bool MouseWheel(const Wex::cPoint& p, std::int32_t, const Wex::cKeyModifiers&, double) override {
    Record("MouseWheel", p);
    return fHandles;
  }
  bool ContextClick(const Wex::cPoint& p, std::int32_t, const Wex::cKeyModifiers&) override {
    Record("ContextClick", p);
    return fHandles;
  }
  void TrackMouse(const Wex::cPoint& p, std::int32_t, const Wex::cKeyModifiers&) override { Record("TrackMouse", p); }
  void CancelTracking() override {
    Record("CancelTracking");
    rcGUIElement::CancelTracking();
  }
  void MouseEntered(std::int32_t time) override {
    Record("MouseEntered");
    rcGUIElement::MouseEntered(time);
  }
  void MouseExited(std::int32_t time) override {
    Record("MouseExited");
    rcGUIElement::MouseExited(time);
  }
  void WindowStateChanged() override { Record("WindowStateChanged"); }
  void OnHostAttached(Wex::rcGUIRoot&) override { Record("Attached"); }
  void OnHostDetached(Wex::rcGUIRoot&) override { Record("Detached"); }
  void OnTimer(Wex::rcScheduler&, std::int32_t, std::int32_t, std::uint32_t id) override {
    Record("OnTimer " + std::to_string(id));
  }
  void SetCursorForTest(ref<Wex::rcCocoaObject> cursor) { SetCursor(std::move(cursor)); }

  bool fHandles = false;
  std::int32_t fLastTime = 0;
  Wex::cKeyModifiers fLastModifiers;

 protected:
  void Record(const std::string& call) { fLog->push_back(fName + ":" + call); }
  void Record(const std::string& call, const Wex::cPoint& p) {
    Record(call + " " + std::to_string(p.fX) + "," + std::to_string(p.fY));
  }
  void Record(const std::string& call, const Wex::cRect& r) {
    Record(call + " " + std::to_string(r.fLeft) + "," + std::to_string(r.fTop) + "," + std::to_string(r.fRight) + "," +
           std::to_string(r.fBottom));
  }

 private:
  std::string fName;
  std::vector<std::string>* fLog;
};

}  // namespace GuiTest
