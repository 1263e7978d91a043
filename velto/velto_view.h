#pragma once

// The view that shows a nested description: a root view of its own tree that follows its layout
// variable, with a transition player that animates the opacity, scale, offset and rotation of the
// container that shows it when its layout changes.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "gui/geometry.h"
#include "velto/controller.h"
#include "velto/root_view.h"
#include "velto/transition.h"
#include "velto/views/transform_container.h"

namespace Velto {

class rcVeltoView : public rcRootView {
 public:
  // The layout variable names the description to show. The content, which is not owned, is the
  // container that shows this view and receives the animation, or none.
  rcVeltoView(const Wex::cRect& bounds, iController* controller, std::string layoutVariable,
              rcTransformContainer* content);
  ~rcVeltoView() override;

  // Plays the transition, stopping a running one. Without a transition the view jumps to its end
  // (fully shown). A restart (asked for, or by the transition) begins at the transition's own
  // values; otherwise the animation continues from the values on screen, so that a transition
  // interrupted and played the other way does not jump.
  void StartTransition(const cTransitionSpec* transition, bool restart);
  // Gives the content the opacity and the transform of the current phase, and redraws.
  void ApplyTransition();
  // Follows the layout variable, then refreshes as a root view. Without a content container a new
  // layout loads at once. With one, a new layout plays the swap-out transition and, when it has
  // ended, loads and plays swap-in; an empty layout plays close and then empties the view; a
  // first layout loads and plays open; going back to the shown layout during swap-out plays
  // swap-in without loading. The views that it loads count towards the refresh's bound; a
  // refresh that makes too many views below it leaves it empty until its layout changes.
  void WindowStateChanged() override;
  // kTransitionTimer: the next step of the transition; at its end the view refreshes itself.
  // Then every id as the root view.
  void OnTimer(Wex::rcScheduler& scheduler, std::int32_t dueTime, std::int32_t now, std::uint32_t id) override;
  // Reads "transitions" (a block of the keys "default", "open", "close", "swapIn" and "swapOut":
  // swapping in and out take after opening and closing, and these after the default; any other
  // value gives none), then the contents as a root view does.
  void ReadContents(const Description& description) override;

  const std::string& GetLayoutVariable() const { return fLayoutVariable; }
  bool IsTransitionRunning() const { return fRunning; }
  double GetPhase() const { return fPhase; }
  // The transitions read; none where there is none.
  const cTransitionSpec* GetOpenTransition() const { return fOpenTransition.get(); }
  const cTransitionSpec* GetCloseTransition() const { return fCloseTransition.get(); }
  const cTransitionSpec* GetSwapInTransition() const { return fSwapInTransition.get(); }
  const cTransitionSpec* GetSwapOutTransition() const { return fSwapOutTransition.get(); }

 private:
  // The milliseconds between the running transition's ticks.
  std::int32_t GetTickInterval() const;
  // The transitions that a layout change plays.
  enum class eRole { kOther, kOpen, kClose, kSwapOut, kSwapIn };

  // The layout variable's part of the refresh.
  void FollowLayout();
  // Makes the layout current and loads its description.
  void Load(const std::string& layout);
  // Plays the transition of the role (none when the description has none).
  void Play(eRole role, bool restart);

  std::string fLayoutVariable;
  rcTransformContainer* fContent;
  std::string fCurrentLayout;
  std::unique_ptr<cTransitionSpec> fOpenTransition;
  std::unique_ptr<cTransitionSpec> fCloseTransition;
  std::unique_ptr<cTransitionSpec> fSwapOutTransition;
  std::unique_ptr<cTransitionSpec> fSwapInTransition;
  bool fRunning = false;
  // A copy: the records may be read anew while their transition runs.
  std::optional<cTransitionSpec> fRunningTransition;
  // The role of the transition last started, also when it has ended or was none.
  eRole fRunningRole = eRole::kOther;
  double fPhase = 0.0;
  // Opacity, scale, offset x, offset y and rotation at the phases 0 and 1, and on screen.
  std::array<double, 5> fFrom = {1.0, 1.0, 0.0, 0.0, 0.0};
  std::array<double, 5> fTo = {1.0, 1.0, 0.0, 0.0, 0.0};
  std::array<double, 5> fCurrent = {1.0, 1.0, 0.0, 0.0, 0.0};
};

// The "velto" type: a nested view on the unquoted "layoutVariable", inside a transform container
// that it fills unless "transitions" is "false" (in any letter case). It shares the root's
// controller, hint window and layout editor; the container, when there is one, is the result.
ref<Wex::rcGUIElement> MakeVeltoView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
