#pragma once

// The vector view: a picture in the ORV language, from the description, a GUI variable or an
// "orv" resource. It runs the source live for its first draws after a reset, then once into an
// offscreen image that it keeps run-length packed and only composites from then on. The GUI
// variables that the source reads are recorded with their values; a refresh that finds another
// source or another value starts over.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "base/key_value.h"
#include "base/rc.h"
#include "gui/element.h"
#include "gui/geometry.h"
#include "ordo/variables.h"
#include "raster/image.h"
#include "raster/rle.h"

namespace Velto {

class rcRootView;

// GUI variables by name, each with the value read.
using cVariableRecord = std::map<std::string, std::string, std::less<>>;

// The variable store of one run of a vector view's source. The script's own variables come
// first; then, replaying, the values of the view's record; else, with a root, the controller's
// GUI variables, each read once per run and recorded. Scripts never write GUI variables.
class rcGUIVariableStore : public ORDO::Variables {
 public:
  // Without a root no GUI variable is known; with a replay record the controller is not asked.
  rcGUIVariableStore(rcRootView* root, const cVariableRecord* replayRecord);

  // A name that the replay record lacks throws ORDO::RunTimeException "Inconsistent variable
  // access". The names and values recorded count against ORDO::kMaxStoreSize like a store's;
  // beyond it the read throws ORDO::RunTimeException "Variable record limit reached".
  bool Get(std::string_view name, std::string& value) override;

  // The GUI variables read in this run; none when no read reached the controller.
  std::unique_ptr<cVariableRecord> TakeNewRecord() { return std::move(fNewRecord); }

 private:
  rcRootView* fRoot;
  const cVariableRecord* fReplayRecord;
  std::unique_ptr<cVariableRecord> fNewRecord;
  std::size_t fNewRecordSize = 0;
};

class rcVectorView : public Wex::rcGUIElement {
 public:
  // Where the source comes from; the view keeps the source text, the variable's name or the
  // resource's text.
  enum eSourceKind : std::int32_t { kLiteralSource = 0, kVariableSource = 1, kFileSource = 2 };

  // Draws a view runs the source live; the one after them caches.
  static constexpr std::int32_t kLiveDraws = 5;
  // The largest offscreen image: a view beyond it draws live on every draw.
  static constexpr std::int64_t kMaxCachedSide = 16384;
  static constexpr std::int64_t kMaxCachedPixels = std::int64_t{1} << 26;

  // The root, whose controller answers the variables, is borrowed. The scale is uniform (1 is
  // natural size); `useGUIVariables` lets the source read GUI variables.
  rcVectorView(const Wex::cRect& r, rcRootView& root, eSourceKind sourceKind, std::string source,
               bool useGUIVariables, double scale);
  ~rcVectorView() override;

  // After a reset the first kLiveDraws draws run the source into the context; the next runs it
  // into an offscreen image over the view, packs and keeps that and composites it, and every
  // later draw only composites it. Errors of a run are dropped: what it drew stays, and it
  // records nothing. The update rectangle is not consulted.
  void Draw(Wex::rcGraphicsContext& context, const Wex::cRect& update) override;
  // Adopts the current source (the variable's text for a variable source); a new source, or a
  // recorded GUI variable whose value changed, resets the view (no record, no cache, live again)
  // and invalidates it.
  void WindowStateChanged() override;

  std::int32_t GetDrawCount() const { return fDrawCount; }
  const cVariableRecord* GetVariableRecord() const { return fVariableRecord.get(); }
  bool HasCachedImage() const { return bool(fCachedImage); }

 private:
  // Runs the source into the target, keeping the run's record when the view has none and the
  // run completes.
  void Run(QorRaster::Image& target);
  // The caching draw into a new offscreen image; false, and nothing cached, when the view is
  // beyond the offscreen limits or the memory cannot be had.
  bool Cache();

  rcRootView* fRoot;
  eSourceKind fSourceKind;
  std::string fSourceSpec;
  bool fUseGUIVariables;
  double fScale;
  std::string fSource;
  // Stops at kLiveDraws + 1.
  std::int32_t fDrawCount = 0;
  std::unique_ptr<cVariableRecord> fVariableRecord;
  std::unique_ptr<QorRaster::RLEImage> fCachedImage;
};

// The "vector" type, its source from the first of "source" (a raw value of more than one byte in
// braces is taken without them, any other is unquoted), "variable" (unquoted) and "file" (an
// "orv" resource, unquoted, loaded now); without any, FormatException "Missing ORV source,
// variable or file definition for vector view". Then "scale" (percent, "$" = 100),
// "guiVariables" and "autoRefresh".
ref<Wex::rcGUIElement> MakeVectorView(rcRootView& root, const Wex::cRect& bounds, const Description& description);

}  // namespace Velto
