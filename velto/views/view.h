#pragma once

// The base of the views that show hints and tell listeners of their changes.

#include <cstdint>
#include <utility>

#include "base/rc.h"
#include "base/rc_string.h"
#include "base/rc_vector.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "velto/views/hint_window.h"

namespace Velto {

// A UTF-16 text of a view.
using rcViewText = Wex::rcVector<UniChar>;

// Whether both texts are none or both hold the same units.
bool SameText(const ref<rcViewText>& a, const ref<rcViewText>& b);

// The listener tag of the views whose changes the root view handles.
inline constexpr std::int32_t kRootListenerTag = 76089;  // 0x12939

// Where a hint shows: below the pointer, at its x (screen coordinates, y down).
inline constexpr Wex::cPoint kHintOffset{0, 22};

// Hears of a view's changes. Codes: 0 once to a listener just added, 1 geometry, 2 appearance,
// 3 mouse tracking started or ended, 4 hint, 5 text, 7 value, 8 default value, 9 snap settings.
class iViewListener {
 public:
  virtual void ViewChanged(ref<Wex::rcGUIElement> view, std::int32_t code) = 0;
  virtual ~iViewListener() = default;
};

// The listeners of a view in the order they were added; it holds each listening object. Made
// with capacity and growth increment 0, so that its capacity doubles as it fills.
using ViewListenerList = Wex::rcVector<iref<iViewListener>>;

// A view with a hint, which shows in the shared hint window one second after the pointer first
// moved over the view, and with listeners, which hear of its changes by code. The hint may
// embed the view's value (a value hint). A detached view neither shows hints nor notifies.
class rcView : public Wex::rcGUIElement {
 public:
  // r is the view's rectangle in its parent's coordinates.
  explicit rcView(const Wex::cRect& r);
  ~rcView() override;

  // Drops the hint window and the listeners, then leaves the host and the parent. A hint that
  // the view shows goes at the hint window's next check.
  void Detach() override;
  // Hides the hint shown, whichever view owns it, then the element's press.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // The element's move (the cursor); then, with a hint window, the hint is scheduled 1000 ms
  // ahead where ContainsPoint holds and this view's hint hidden elsewhere.
  void MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // Geometry that changes is reported with code 1.
  void MoveTo(const Wex::cPoint& p) override;
  void SetSize(const Wex::cRect& b) override;
  // The view becomes the tracked element, code 3 is reported, then the host tracks the mouse.
  void StartTracking(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // This view's hint goes, the element stops tracking, then code 3 is reported.
  void EndTracking() override;
  void CancelTracking() override;
  // The element's exit, then this view's hint goes.
  void MouseExited(std::int32_t time) override;

  // The view's value as text; the base answers the value text that derived views set.
  virtual refString GetValueText();
  // Whether a hint may show for the local point; the base answers whether it is in the bounds.
  virtual bool ContainsPoint(const Wex::cPoint& p);
  // The text to show as the hint now: the stored hint, or, for a value hint, the stored hint
  // with each '%' replaced by GetValueText and each "%%" by '%'.
  virtual refString GetHintText();

  // Adds a listener at the end and tells it (only it) code 0; a listener already listed (the
  // same interface) is not added again and hears nothing.
  void AddListener(const iref<iViewListener>& listener);
  // Tells every listener the code, in order, those added meanwhile included; a Detach meanwhile
  // does not stop the call.
  void NotifyListeners(std::int32_t code);
  // Store a plain or a value hint (an empty text means no hint), update a hint that the view
  // shows and report code 4; nothing when neither the text nor the kind changes.
  void SetHint(const refString& text);
  void SetValueHint(const refString& text);
  // Updates the text of a hint that this view shows.
  void RefreshShownHint();
  // Shows the hint after the delay (ms) at the local point plus kHintOffset on the screen; see
  // rcHintWindow::ScheduleHint. With an empty hint text the hint of a view in the same window
  // goes instead.
  void ScheduleHint(const Wex::cPoint& p, std::int32_t delay);
  // Shows the hint at once at the local point plus kHintOffset; with an empty hint text the
  // hint of a view in the same window goes instead.
  void ShowHintNow(const Wex::cPoint& p);

  // The shared hint window; without one the view shows no hint.
  void SetHintWindow(ref<rcHintWindow> window) { fHintWindow = std::move(window); }
  const ref<rcHintWindow>& GetHintWindow() const { return fHintWindow; }
  // A mark that listeners may test (kRootListenerTag for the views that the root view handles).
  std::int32_t GetListenerTag() const { return fListenerTag; }
  void SetListenerTag(std::int32_t tag) { fListenerTag = tag; }
  // The listeners; empty before the first AddListener and after Detach.
  const aref<ViewListenerList>& GetListeners() const { return fListeners; }

 protected:
  // The value hint rule applied to the stored hint.
  refString ExpandValueHint();
  void SetValueText(const refString& text) { fValueText = text ? text : Wex::rcString::GetEmpty(); }

 private:
  void StoreHint(const refString& text, bool valueHint);
  // Hides the hint that the window shows when its owner is in this view's window.
  void HideHintInSameWindow();
  // Hides the hint when this view owns it.
  void HideOwnHint();

  std::int32_t fListenerTag = 0;
  aref<ViewListenerList> fListeners;
  ref<rcHintWindow> fHintWindow;
  refString fHintText = Wex::rcString::GetEmpty();
  refString fValueText = Wex::rcString::GetEmpty();
  bool fValueHint = false;
};

}  // namespace Velto
