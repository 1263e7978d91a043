#pragma once

// The button: a rounded shape with a fill, a frame, an optional background image, an optional
// icon and a caption, drawn in one of five faces by whether it is enabled, checked and held down.
// The press, each leaving and re-entering while held, the release and the click run the action
// binding that their click mask matches.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/key_value.h"
#include "base/rc.h"
#include "base/rc_vector.h"
#include "gui/cocoa_object.h"
#include "gui/events.h"
#include "gui/geometry.h"
#include "gui/handlers.h"
#include "gui/resources/font.h"
#include "gui/resources/image.h"
#include "gui/resources/stroke.h"
#include "raster/geometry.h"
#include "raster/path.h"
#include "velto/readers.h"
#include "velto/views/view.h"

namespace Velto {

class rcRootView;

// One look of a button.
struct cButtonFace {
  ref<rcImage> fImage;      // drawn first, at the view's origin; may be none
  std::uint32_t fFill = 0;  // of the shape, premultiplied ARGB; 0 for none
  cStroke fFrame;           // of the shape, drawn over the fill; its outer edge is the rectangle's
  iref<iFont> fFont;        // of the caption; no font, no caption
  ref<rcImage> fIcon;       // drawn centred; may be none
  QorRaster::Rect fRect;    // the shape, in view coordinates
};

// The faces in their order.
enum eButtonFace : std::size_t {
  kStandardFace = 0,
  kCheckedFace = 1,
  kDownFace = 2,
  kCheckedDownFace = 3,
  kDisabledFace = 4,
  kButtonFaceCount = 5,
};
using ButtonFaces = std::array<cButtonFace, kButtonFaceCount>;

class rcButtonView : public rcView {
 public:
  // The root is not owned. The hit path is the standard face's rectangle with the corner radii;
  // relative radii follow the size of the other faces' rectangles.
  rcButtonView(const Wex::cRect& r, rcRootView& root, std::vector<cActionListEntry> actions, const ButtonFaces& faces,
               const QorRaster::Point& cornerRadii, bool cornerRadiiRelative, ref<Wex::rcCocoaObject> cursor,
               std::string captionTemplate);

  // The face (disabled; else checked or not, down while pressed inside), its image at the
  // origin, the shape with its fill and frame, then, clipped to the shape's pixels, the icon and
  // the caption centred.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // Outside the hit path, the base view's press. Inside, any hint goes; a disabled button answers
  // true and does nothing more; an enabled one runs the "press" binding of the keys and then
  // tracks the mouse with its own tracker, which the host hands the press at once.
  bool MouseDown(const Wex::cPoint& p, std::int32_t time, bool doubleClick,
                 const Wex::cKeyModifiers& modifiers) override;
  // The cursor while enabled, then the hint.
  void MouseMoved(const Wex::cPoint& p, std::int32_t time, const Wex::cKeyModifiers& modifiers) override;
  // Enabled and checked from the bindings that run on a press ("click", "press" or "down"): some
  // enabled, some checked; the caption with its macros expanded. Redraws when one of the three
  // changed.
  void WindowStateChanged() override;
  // Whether the point hits the hit path.
  bool ContainsPoint(const Wex::cPoint& p) override;
  // Leaving the host cancels the button's tracking, which would otherwise outlive the tree.
  void SetHost(Wex::rcGUIRoot* host) override;

  // The tracker's operations. A drag to a point (window coordinates) inside the hit path shows
  // the pressed face and runs "down", outside "up". The release ends a pressed state with "up",
  // runs "release" and, when it came inside, "click"; a cancel does the same without "click".
  // Keys are not handled.
  void TrackDrag(const Wex::cMouseEvent& event);
  bool TrackKeyDown(const Wex::cKeyEvent& key);
  void TrackMouseUp(const Wex::cMouseEvent& event);
  void TrackCancel();
  // Shows the pressed face (inside) or not and runs "down" or "up". While a binding of such a
  // change runs (its action may run a modal loop that drags on), a change only records the
  // request, and the button settles in the last request when the binding returns.
  void SetPressedInside(bool inside);

  bool IsEnabled() const { return fEnabled; }
  bool IsChecked() const { return fChecked; }
  bool IsPressedInside() const { return fPressedInside; }
  const QorRaster::Point& GetCornerRadii() const { return fCornerRadii; }
  // The corner radii of the face; relative ones are scaled to the face's rectangle (not along a
  // side of 0 of the standard face).
  QorRaster::Point GetFaceRadii(std::size_t index) const;
  const ButtonFaces& GetFaces() const { return fFaces; }
  const ref<Wex::rcVector<UniChar>>& GetCaptionText() const { return fCaptionText; }
  iref<Wex::iMouseTracker> GetTracker() { return iref<Wex::iMouseTracker>(this, &fTracker); }

 private:
  // The button's tracking part, which forwards to the button.
  class cTracker : public Wex::iMouseTracker {
   public:
    explicit cTracker(rcButtonView& button) : fButton(&button) {}
    void TrackMouse(const iref<Wex::iMouseTrackingHost>& host, const Wex::cMouseEvent& event) override;
    bool TrackKey(const iref<Wex::iMouseTrackingHost>& host, const Wex::cKeyEvent& key) override;
    bool EndTracking(const iref<Wex::iMouseTrackingHost>& host, const Wex::cMouseEvent& event) override;
    void CancelTracking(const iref<Wex::iMouseTrackingHost>& host) override;

   private:
    rcButtonView* fButton;
  };

  // Runs the binding that the event mask selects: gActionOrigin becomes the view's centre on the
  // screen and the action is performed.
  void RunBinding(std::uint32_t eventMask);
  // Moves the pressed state to the requested one, running "down" or "up" for each change.
  void Settle();
  // Ends a press: "up" when pressed inside (unless a change is running), then "release", then,
  // with withClick and a release inside, "click".
  void EndPress(bool withClick);

  rcRootView* fRoot;
  std::vector<cActionListEntry> fActions;
  QorRaster::Point fCornerRadii;
  bool fCornerRadiiRelative;
  std::string fCaptionTemplate;
  ButtonFaces fFaces;
  bool fEnabled = true;
  bool fPressedInside = false;
  bool fBusy = false;
  bool fRequestedInside = false;
  bool fChecked = false;
  ref<Wex::rcVector<UniChar>> fCaptionText;
  std::uint32_t fPressModifiers = 0;
  QorRaster::Path fHitPath;
  ref<Wex::rcCocoaObject> fCursor;
  cTracker fTracker{*this};
};

// The "button" type: the bindings ("action", "params", "mask" or "actions"); the face blocks
// "standard", "checked", "down", "checkedDown" and "disabled" (image, fill, font, icon, rect,
// frame), each over a copy of the standard face (checkedDown over the checked one); "rounded";
// "cursor"; "caption" (unquoted, with macros); then "hint".
ref<Wex::rcGUIElement> MakeButtonView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
