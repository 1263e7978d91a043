#pragma once

// The cluster view: cells bound to the elements of one variable array, each showing one image of
// a shared list picked by its variable's value; the interactive variant paints a value into the
// cells that the pointer passes over, by one of four paint methods that click masks choose.

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/events.h"
#include "gui/geometry.h"
#include "gui/handlers.h"
#include "gui/resources/image.h"
#include "velto/views/view.h"

namespace Velto {

class rcRootView;

// One "rects" entry as read: the index and the source, destination and hit rectangles.
struct cClusterCellSpec {
  std::int32_t fIndex = 0;
  Wex::cRect fSource;
  Wex::cRect fDestination;
  Wex::cRect fHit;
};

// A cell: the source rectangle A in the images and the destination B in the view share one size
// (the smaller width and height of the two as read); C is where the cell takes the pointer.
struct cClusterCell {
  std::int32_t fIndex = 0;
  Wex::cRect fSource;
  Wex::cRect fDestination;
  Wex::cRect fHit;
  // The array name, "[", the index and "]".
  std::string fVariable;
  // The image shown; outside the image list (or -1) the cell draws nothing.
  double fShownImage = 0.0;
};

// A paint rule: the click mask it needs, its method ("set", "slide", "toggle", "exclusive"; any
// other text fails at the click that selects it) and its value as "%.14g" text.
struct cClusterPaintRule {
  std::uint32_t fMask = 0;
  std::string fMethod;
  std::string fValue;
};

// The display-only cluster.
class rcClusterViewBase : public rcView {
 public:
  // The root is not owned; its controller serves the variables. Empty images draw nothing.
  rcClusterViewBase(const Wex::cRect& r, rcRootView& root, std::vector<ref<rcImage>> images,
                    const std::vector<cClusterCellSpec>& rects, const std::string& arrayName, double rangeMinimum,
                    double rangeMaximum);

  // Each cell whose destination meets the update rectangle draws its source rectangle of the
  // shown image at the destination's top-left. Nothing else is drawn.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // Each cell maps its variable through the range onto the image list, rounding halves away from
  // zero (every value gives 0 when the range's ends are equal, and a result that is not finite
  // gives -1), and invalidates its destination when the image changes.
  void WindowStateChanged() override;
  // Whether some cell's hit rectangle holds the point.
  bool ContainsPoint(const Wex::cPoint& p) override;

  const std::vector<cClusterCell>& GetCells() const { return fCells; }

 protected:
  // The last cell whose hit rectangle holds the point; null for none.
  const cClusterCell* FindHitCell(const Wex::cPoint& p) const;
  // The variable's text read as a number, 0 when it holds none.
  double ReadNumber(const std::string& variable);
  // Writes the number as "%.14g" text, asking for an undo step.
  void WriteNumber(const std::string& variable, double value);
  rcRootView& Root() const { return *fRoot; }
  double GetRangeMinimum() const { return fRangeMinimum; }

 private:
  rcRootView* fRoot;
  std::vector<ref<rcImage>> fImages;
  double fRangeMinimum;
  double fRangeMaximum;
  std::vector<cClusterCell> fCells;
};

// The interactive cluster. A press on a cell chooses the last paint rule whose mask the press's
// keys hold, sets the paint value by the rule's method and tracks the pointer through the host's
// view; every cell the pointer passes over gets the value, each variable's edit gesture begun
// once and ended when the button comes up.
class rcClusterView : public rcClusterViewBase, public Wex::iMouseTracker {
 public:
  rcClusterView(const Wex::cRect& r, rcRootView& root, std::vector<ref<rcImage>> images,
                const std::vector<cClusterCellSpec>& rects, const std::string& arrayName, double rangeMinimum,
                double rangeMaximum, std::vector<cClusterPaintRule> rules);

  // A secondary click answers false; a press on no cell answers true and does nothing. An unknown
  // method throws FormatException "Unrecognized cluster paint method: " and the quoted method
  // before tracking starts.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // A gesture still running when the view leaves its host is cancelled first.
  void OnHostDetached(Wex::rcGUIRoot& host) override;

  // The pointer at a new place (window coordinates): paint passes every 5 pixels along the way
  // from the last place, then one at the place itself.
  virtual void TrackDrag(const Wex::cMouseEvent& event);
  // Keys are not handled while tracking.
  virtual bool TrackKeyDown(const Wex::cKeyEvent& key);
  // Ends the edit gesture of every touched variable, in name order; answers true.
  virtual bool TrackMouseUp(const Wex::cMouseEvent& event);
  virtual void TrackCancel();

  // The tracking side, forwarding to the four operations above.
  void TrackMouse(const iref<Wex::iMouseTrackingHost>& host, const Wex::cMouseEvent& event) override;
  bool TrackKey(const iref<Wex::iMouseTrackingHost>& host, const Wex::cKeyEvent& key) override;
  bool EndTracking(const iref<Wex::iMouseTrackingHost>& host, const Wex::cMouseEvent& event) override;
  void CancelTracking(const iref<Wex::iMouseTrackingHost>& host) override;
  // The element's tracking operations of the same names stay reachable.
  using rcClusterViewBase::CancelTracking;
  using rcClusterViewBase::EndTracking;
  using rcClusterViewBase::TrackMouse;

  const std::vector<cClusterPaintRule>& GetRules() const { return fRules; }

 private:
  // Paints the cells under the point (view coordinates) and restores those that it left.
  void PaintPass(const Wex::cPoint& p);
  // Begins the variable's edit gesture unless this gesture began it already.
  void Touch(const std::string& variable);
  void EndGesture();
  // Whether the host's view tracks the pointer for this view.
  bool IsHostTracker() const;

  std::vector<cClusterPaintRule> fRules;
  Wex::cPoint fLastPoint;
  double fPaintValue = 0.0;
  std::string fPaintMethod;
  std::set<std::string> fTouched;
  std::set<std::string> fVisited;
};

// The "cluster" type: "array", "readonly", "images", "rects", "range" and, when interactive,
// "paintMethod", "paintValue" and "paintValues"; then "hint" and "autoRefresh".
ref<Wex::rcGUIElement> MakeClusterView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
