#include "gui/embedded_view.h"

namespace Wex {

rcNativeView::rcNativeView(const cRect& frame) {
  StartScheduler();
  // Made last: from here on the view holds a reference to this object, which the clean-up of a
  // later failure would release.
  fContentView = comkelvane_brimlib_20150413151123_ContentView::CreateForOwner(ToCGRect(frame), this, this);
}

rcNativeView::~rcNativeView() { rcNativeView::Close(); }

void rcNativeView::AttachToParentView(GtkContainer* parent) {
  if (fContentView) fContentView->GetPeer().AddToSuperview(parent);
}

void rcNativeView::SetTitle(const refString&) {}

refString rcNativeView::GetTitle() { return rcString::GetEmpty(); }

void rcNativeView::SetContentRect(const cRect& r) {
  if (fContentView) fContentView->GetPeer().SetFrame(ToCGRect(r));
}

cRect rcNativeView::GetContentRect() { return fContentView ? ToRect(fContentView->GetPeer().GetFrame()) : cRect{}; }

cRect rcNativeView::GetBounds() {
  if (!fContentView) return {};
  const Platform::Rect frame = fContentView->GetPeer().GetFrame();
  return ToRect({0.0, 0.0, frame.width, frame.height});
}

void rcNativeView::Show() {
  if (fContentView) fContentView->GetPeer().SetHidden(false);
}

void rcNativeView::Hide() {
  if (fContentView) fContentView->GetPeer().SetHidden(true);
}

bool rcNativeView::IsVisible() { return fContentView && fContentView->GetPeer().IsHidden(); }

void rcNativeView::Activate() {
  if (fContentView) fContentView->GetPeer().MakeFirstResponder();
}

bool rcNativeView::IsKeyWindow() { return fContentView && fContentView->GetPeer().IsFirstResponder(); }

void rcNativeView::InvalidateRect(const cRect& r) {
  if (fContentView) fContentView->GetPeer().SetNeedsDisplayInRect(ToCGRect(r));
}

void rcNativeView::InvalidateAll() {
  if (fContentView) fContentView->GetPeer().SetNeedsDisplay();
}

void rcNativeView::SetUserValue(std::int32_t value) { fUserValue = value; }

std::int32_t rcNativeView::GetUserValue() { return fUserValue; }

iref<iGUIView> rcNativeView::GetAttachedInterface() { return nullptr; }

ref<rcExtWindow> rcNativeView::GetWindow() {
  GtkWindow* window = fContentView ? fContentView->GetPeer().GetWindow() : nullptr;
  if (fHostWindow != nullptr && fHostWindow->GetGtkWindow() == window) return fHostWindow;
  // The host moved the view to another window, or out of any.
  ForgetHostWindow();
  if (window == nullptr) return nullptr;
  const ref<rcExtWindow> wrapper(new rcExtWindow(window));
  fHostWindow = wrapper.Get();
  wrapper->AddBackReference(&fHostWindow);
  return wrapper;
}

void rcNativeView::ForgetHostWindow() {
  if (fHostWindow == nullptr) return;
  const ref<rcExtWindow> wrapper(fHostWindow);
  wrapper->RemoveBackReference(&fHostWindow);
  fHostWindow = nullptr;
}

cPoint rcNativeView::GetPositionInWindow() {
  return fContentView ? ToPoint(fContentView->GetPeer().GetPositionInWindow()) : cPoint{};
}

void rcNativeView::Close() {
  // Releasing the content view may release the last reference to this view: one is held for the
  // close, unless the view is being destroyed already.
  const ref<rcNativeView> keep = GetReferenceCount() > 0 ? ref<rcNativeView>(this) : nullptr;
  DropScheduler();
  DropHandlers();
  ReleaseContentView();
  ForgetHostWindow();
}

}  // namespace Wex
