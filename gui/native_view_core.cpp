#include "gui/native_view_core.h"

#include <utility>

namespace Wex {

void cNativeViewCore::SetListener(const iref<iGUIElementListener>& listener) { fListener = listener; }
void cNativeViewCore::SetDrawer(const iref<iGUIElementDrawer>& drawer) { fDrawer = drawer; }
void cNativeViewCore::SetClickHandler(const iref<iMouseClickHandler>& handler) { fClickHandler = handler; }
void cNativeViewCore::SetMovementHandler(const iref<iMouseMovementHandler>& handler) { fMovementHandler = handler; }
void cNativeViewCore::SetKeyHandler(const iref<iKeyHandler>& handler) { fKeyHandler = handler; }
void cNativeViewCore::SetContextMenuDisplayer(const iref<iContextMenuDisplayer>& displayer) {
  fContextMenuDisplayer = displayer;
}

iref<iGUIElementListener> cNativeViewCore::GetListener() { return fListener; }
iref<iGUIElementDrawer> cNativeViewCore::GetDrawer() { return fDrawer; }
iref<iMouseClickHandler> cNativeViewCore::GetClickHandler() { return fClickHandler; }
iref<iContextMenuDisplayer> cNativeViewCore::GetContextMenuDisplayer() { return fContextMenuDisplayer; }
iref<iMouseMovementHandler> cNativeViewCore::GetMovementHandler() { return fMovementHandler; }
iref<iKeyHandler> cNativeViewCore::GetKeyHandler() { return fKeyHandler; }

ref<rcScheduler> cNativeViewCore::GetScheduler() { return fScheduler; }

void cNativeViewCore::UseCursor(const ref<rcCocoaObject>& cursor) {
  if (fContentView) fContentView->useCursor(cursor ? cursor->GetObject() : nullptr);
}

void cNativeViewCore::ReissueMouseMoved() {
  if (fContentView) fContentView->reissueMouseMoved();
}

void cNativeViewCore::StartTracking(const iref<iMouseTracker>& tracker, const cMouseEvent& event) {
  if (fContentView) fContentView->StartTracking(tracker, event);
}

void cNativeViewCore::CancelTracking(const iref<iMouseTracker>& tracker) {
  if (fContentView) fContentView->CancelTracking(tracker);
}

iref<iMouseTracker> cNativeViewCore::GetTracker() { return fContentView ? fContentView->GetTracker() : nullptr; }

void cNativeViewCore::StartScheduler() {
  fScheduler = new rcScheduler();
  fTimer = new rcMacEventLoopTimer();
  fTimer->SetCallback(iref<iMacEventLoopTimerCallback>(new rcSchedulerTimerCallback(fScheduler)));
  fTimer->Start();
}

void cNativeViewCore::DropScheduler() {
  fScheduler = nullptr;
  fTimer = nullptr;
}

void cNativeViewCore::DropHandlers() {
  fListener = nullptr;
  fDrawer = nullptr;
  fClickHandler = nullptr;
  fMovementHandler = nullptr;
  fKeyHandler = nullptr;
  fContextMenuDisplayer = nullptr;
}

void cNativeViewCore::ReleaseContentView() {
  if (const ref<comkelvane_brimlib_20150413151123_ContentView> view = std::move(fContentView)) view->Release();
}

}  // namespace Wex
