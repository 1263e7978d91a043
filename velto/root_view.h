#pragma once

// The top element of one Velto GUI: the container that holds the application's controller,
// through which every part of the framework reaches the application, and what ties views to the
// application: value views bound to variables, hints that follow variables, periodic refreshes
// of single views, the description's automatic actions, the hint window, the application's
// reload and refresh requests and the error display.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/key_value.h"
#include "base/rc.h"
#include "base/scheduler.h"
#include "gui/container.h"
#include "gui/ext_window.h"
#include "gui/geometry.h"
#include "velto/auto_exec.h"
#include "velto/controller.h"
#include "velto/layout_editor.h"
#include "velto/text_style.h"
#include "velto/views/hint_window.h"
#include "velto/views/view.h"

namespace Velto {

class rcRootView;

// Ids of the root view's own timer.
inline constexpr std::uint32_t kReloadTimer = 101010;      // reloads the resources
inline constexpr std::uint32_t kTransitionTimer = 101011;  // a nested view's transition tick
inline constexpr std::uint32_t kRefreshTimer = 101012;     // refreshes from the application

// Refreshes one view of a root view every interval while the root is hosted.
class rcRefreshTimer : public Wex::rc, public Wex::iSchedulerCallback {
 public:
  // The root is not owned; it owns the timer.
  rcRefreshTimer(rcRootView& root, ref<Wex::rcGUIElement> view, std::int32_t interval);

  // Refreshes the view, dropping any error, and comes again at now + interval while it is still
  // the root's timer for the view and the root is hosted.
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;

  std::int32_t GetInterval() const { return fInterval; }
  iref<Wex::iSchedulerCallback> AsCallback() { return iref<Wex::iSchedulerCallback>(this); }

 private:
  rcRootView* fRoot;
  ref<Wex::rcGUIElement> fView;
  std::int32_t fInterval;
};

class rcRootView : public Wex::rcGUIContainer, public iFontProvider, public iViewListener {
 public:
  // The controller is not owned: it must outlive the root view.
  rcRootView(const Wex::cRect& bounds, iController* controller);
  ~rcRootView() override;

  iController& GetController() const { return *fController; }
  // The rectangle given at construction.
  const Wex::cRect& GetInitialBounds() const { return fInitialBounds; }
  // The shared hint window, or none.
  void SetHintWindow(ref<rcHintWindow> window);
  const ref<rcHintWindow>& GetHintWindow() const { return fHintWindow; }
  // The layout editor that frames the views marked "edit", or none.
  void SetLayoutEditor(ref<rcLayoutEditor> editor);
  const ref<rcLayoutEditor>& GetLayoutEditor() const { return fLayoutEditor; }

  // Forgets every record (the layout editor's entries of this root's views included), then
  // detaches the children and leaves the host; drops the automatic actions, the hint window and
  // the layout editor.
  void Detach() override;
  // Records the point; outside the hint area a hint shown for the root view itself goes.
  void MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // The refresh: every bound value view, every hint template, then the children. It makes at
  // most kMaxViewsPerRefresh views (nested views that load and groups that rebuild on it).
  void WindowStateChanged() override;
  void MouseExited(std::int32_t time) override;
  // The refresh timers and automatic actions start (see ScheduleTimers); detaching removes their
  // tasks.
  void OnHostAttached(Wex::rcGUIRoot& host) override;
  void OnHostDetached(Wex::rcGUIRoot& host) override;
  // kReloadTimer: ReloadResources; kRefreshTimer: ReloadFromPlugIn. Their errors are shown
  // (see RunShowingErrors).
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;
  // Forgets the child's records first.
  void RemoveChild(const ref<Wex::rcGUIElement>& child) override;
  void RemoveAllChildren() override;

  // Of views tagged kRootListenerTag that are value controls: when tracking starts or ends (3)
  // the controller hears of it, and the variable is read back at the end; value changes (7) while
  // tracked are written to the variable with an undo step.
  void ViewChanged(ref<Wex::rcGUIElement> view, std::int32_t code) override;
  // The controller's font for the value.
  iref<iFont> GetFont(const std::string& value) override;
  // Fills the view from its description: the rectangle from "bounds" (against the rectangle given
  // at construction, which an absent key keeps), then a view for each item of "views", in list
  // order. A nested view first reads its transitions. Errors pass out; views already added stay.
  virtual void ReadContents(const Description& description);

  // Binds a value control to a GUI variable; a view already bound keeps its variable.
  void AddValueBinding(const ref<Wex::rcGUIElement>& view, const std::string& variable);
  // Sets the control's enabled state and, unless it is tracked, its value from the variable.
  void RefreshBinding(const ref<Wex::rcGUIElement>& view, const std::string& variable);
  // A hint text with a variable macro, expanded and set on every refresh.
  void SetHintTemplate(rcView& view, const std::string& text);
  // With "autoRefresh" (Hz, 30 by default), a refresh timer for the view, started when the root
  // is next attached to a host. A rate that is not a positive finite number makes none; a view
  // keeps its first timer.
  void ReadAutoRefresh(const ref<Wex::rcGUIElement>& view, const Description& description);
  // The view's binding and hint template, then its own WindowStateChanged.
  void RefreshView(const ref<Wex::rcGUIElement>& view);
  // The controller's error display, else a critical alert "Error" over the root's window
  // ("Unexpected error!" for an empty message).
  void ShowError(const std::string& message);
  // Forgets the bindings, hint templates, refresh timers and layout editor entries of the view
  // and of every element below it; call it before removing the view.
  void ForgetView(const ref<Wex::rcGUIElement>& view);
  // Runs the steps that finish making the view; when one throws, the view is forgotten (nothing
  // of it or of its children stays in the root) and the error goes on.
  template <class Steps>
  void FinishOrForget(const ref<Wex::rcGUIElement>& view, Steps&& steps) {
    try {
      steps();
    } catch (...) {
      ForgetView(view);
      throw;
    }
  }

  // The area (root coordinates) in which a hint shown for the root view stays up; empty when
  // none.
  void SetHintArea(const Wex::cRect& area) { fHintArea = area; }
  const Wex::cRect& GetHintArea() const { return fHintArea; }
  // The last point that the mouse moved to, in root coordinates.
  const Wex::cPoint& GetLastMousePoint() const { return fLastMousePoint; }

  // The work of attaching to a host, on the host's scheduler: the refresh timers come at now +
  // interval; then, in their order, the automatic actions without delay run at once and the
  // others come at now + delay. Without a host nothing happens.
  void ScheduleTimers();
  // The work of detaching: the tasks of the refresh timers and automatic actions go.
  void UnscheduleTimers();

  // The automatic actions of the loaded description, in its order.
  void AddAutoExec(ref<rcAutoExec> autoExec);
  // Drops every automatic action and its tasks.
  void ClearAutoExecs();
  bool HasAutoExec(const rcAutoExec& autoExec) const;
  const std::vector<ref<rcAutoExec>>& GetAutoExecs() const { return fAutoExecs; }

  // The window of the host's view, or none.
  ref<Wex::rcExtWindow> GetWindow() const;

 protected:
  // Runs the action and shows the text (CurrentErrorText) of an error that leaves it. Nothing
  // leaves this call.
  void RunShowingErrors(const std::function<void()>& action) noexcept;

 private:
  friend class rcRefreshTimer;

  bool HasRefreshTimer(Wex::rcGUIElement* view, const rcRefreshTimer* timer) const;
  // The hint template's expansion becomes the view's hint.
  void ApplyHintTemplate(Wex::rcGUIElement* view);
  // The host's scheduler, or none.
  ref<Wex::rcScheduler> GetScheduler() const;
  // Removes the tasks of the refresh timers, and of the automatic actions.
  void UnscheduleRefreshTimers();
  void UnscheduleAutoExecs();
  void ClearRecords();

  Wex::cRect fInitialBounds;
  ref<rcHintWindow> fHintWindow;
  ref<rcLayoutEditor> fLayoutEditor;
  iController* fController;
  // Raw element pointers: the views are the tree's, which forgets them before removing them.
  std::map<Wex::rcGUIElement*, std::string> fHintTemplates;
  std::map<Wex::rcGUIElement*, std::string> fValueBindings;
  std::map<Wex::rcGUIElement*, ref<rcRefreshTimer>> fRefreshTimers;
  std::vector<ref<rcAutoExec>> fAutoExecs;
  Wex::cPoint fLastMousePoint;
  Wex::cRect fHintArea;
};

// The text that the user sees of the exception being handled: an OS error's status message, a
// text exception's text, the message of Exception, the what() of another standard exception.
// Empty for a cancellation and for exceptions of other kinds. Call it inside a handler only.
std::string CurrentErrorText();

// With "hint": the view shares the root's hint window and gets the unquoted text as its hint,
// macros expanded once, or, when the text holds "[var]", as a template expanded on every refresh.
void ReadHint(rcRootView& root, const ref<rcView>& view, const Description& description);

}  // namespace Velto
