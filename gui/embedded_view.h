#pragma once

// The native view: the editor's surface inside a view that the host gives it, without a window of
// its own. It owns a content view, a scheduler and the event-loop timer that serves the
// scheduler, and it answers the element tree's root as the view that holds it. Main thread only.

#include <cstdint>

#include "gui/native_view_core.h"

typedef struct _GtkContainer GtkContainer;

namespace Wex {

class rcNativeView : public rc, public cNativeViewCore {
 public:
  // The frame is in the coordinates of the host's view that the view will be added to. The
  // timer runs from here on, attached or not.
  explicit rcNativeView(const cRect& frame);
  ~rcNativeView() override;

  // Adds the view to the host's view: in a fixed container at the frame's top-left, in any other
  // as its content. The caller keeps the native view alive.
  void AttachToParentView(GtkContainer* parent);

  // A view has no title.
  void SetTitle(const refString& title) override;
  refString GetTitle() override;
  // The frame in the parent's coordinates, as requested: the toolkit places the view later.
  void SetContentRect(const cRect& r) override;
  cRect GetContentRect() override;
  cRect GetBounds() override;
  void Show() override;
  void Hide() override;
  // True for a hidden view.
  bool IsVisible() override;
  // Gives the view the keys of its window, when it is in one.
  void Activate() override;
  // Whether the view is the focus of a window, active or not.
  bool IsKeyWindow() override;
  void InvalidateRect(const cRect& r) override;
  void InvalidateAll() override;
  void SetUserValue(std::int32_t value) override;
  std::int32_t GetUserValue() override;
  iref<iGUIView> GetAttachedInterface() override;

  // A wrapper of the window that holds the view, the same one while somebody holds it; empty
  // when the view is in no window.
  ref<rcExtWindow> GetWindow() override;
  cPoint GetPositionInWindow() override;
  // Stops the timer, drops the handlers and the content view (which leaves its parent) and lets
  // go of the window's wrapper. A second call does nothing.
  void Close() override;

 private:
  // Takes the cache's entry out of the wrapper's back-references and empties the cache.
  void ForgetHostWindow();

  std::int32_t fUserValue = 0;
  // Uncounted: the wrapper writes null here when it closes.
  rcExtWindow* fHostWindow = nullptr;
};

}  // namespace Wex
