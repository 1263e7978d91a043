#include "velto/views/vector_view.h"

#include <new>
#include <utility>

#include "base/exceptions.h"
#include "base/expression.h"
#include "base/text.h"
#include "gui/resources/canvas.h"
#include "ordo/exceptions.h"
#include "ordo/limits.h"
#include "orv/run.h"
#include "raster/run_optimized.h"
#include "velto/root_view.h"

namespace Velto {

rcGUIVariableStore::rcGUIVariableStore(rcRootView* root, const cVariableRecord* replayRecord)
    : fRoot(root), fReplayRecord(replayRecord) {}

bool rcGUIVariableStore::Get(std::string_view name, std::string& value) {
  if (Variables::Get(name, value)) return true;
  if (fReplayRecord != nullptr) {
    const auto recorded = fReplayRecord->find(name);
    if (recorded == fReplayRecord->end()) ORDO::ThrowRunTimeError("Inconsistent variable access");
    value = recorded->second;
    return true;
  }
  if (fRoot == nullptr) return false;
  if (!fNewRecord) fNewRecord = std::make_unique<cVariableRecord>();
  if (const auto recorded = fNewRecord->find(name); recorded != fNewRecord->end()) {
    value = recorded->second;
    return true;
  }
  std::string read = fRoot->GetController().GetVariable(*fRoot, std::string(name));
  const std::size_t cost = ORDO::kStoreEntryCost + name.size() + read.size();
  if (cost > ORDO::kMaxStoreSize - fNewRecordSize) ORDO::ThrowRunTimeError("Variable record limit reached");
  fNewRecordSize += cost;
  value = read;
  fNewRecord->emplace(name, std::move(read));
  return true;
}

rcVectorView::rcVectorView(const Wex::cRect& r, rcRootView& root, eSourceKind sourceKind, std::string source,
                           bool useGUIVariables, double scale)
    : rcGUIElement(r),
      fRoot(&root),
      fSourceKind(sourceKind),
      fSourceSpec(std::move(source)),
      fUseGUIVariables(useGUIVariables),
      fScale(scale) {}

rcVectorView::~rcVectorView() = default;

void rcVectorView::Draw(Wex::rcGraphicsContext& context, const Wex::cRect&) {
  cContextCanvas canvas(context);
  if (fDrawCount < kLiveDraws) {
    Run(canvas);
    ++fDrawCount;
    return;
  }
  if (fDrawCount == kLiveDraws) {
    if (!Cache()) {
      Run(canvas);
      return;
    }
    ++fDrawCount;
  }
  canvas.Draw(*fCachedImage);
}

void rcVectorView::Run(QorRaster::Image& target) {
  rcGUIVariableStore store(fUseGUIVariables ? fRoot : nullptr, fVariableRecord.get());
  try {
    ORV::RunSource(target, fScale, store, fSource);
  } catch (...) {
    // What the run drew stays; a failed run records nothing.
    return;
  }
  if (!fVariableRecord) fVariableRecord = store.TakeNewRecord();
}

bool rcVectorView::Cache() {
  const Wex::cRect& bounds = GetBounds();
  const std::int64_t width = bounds.fRight;
  const std::int64_t height = bounds.fBottom;
  if (width > kMaxCachedSide || height > kMaxCachedSide || width * height > kMaxCachedPixels) return false;
  try {
    // Made transparent.
    QorRaster::Image image(EdgesToRect(bounds));
    Run(image);
    QorRaster::RunOptimizedPaint packed(&image);
    fCachedImage = std::make_unique<QorRaster::RLEImage>(image.GetBounds(), packed);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

void rcVectorView::WindowStateChanged() {
  iController& controller = fRoot->GetController();
  std::string variableSource;
  if (fSourceKind == kVariableSource) variableSource = controller.GetVariable(*fRoot, fSourceSpec);
  const std::string& source = fSourceKind == kVariableSource ? variableSource : fSourceSpec;
  bool changed = source != fSource;
  if (changed) {
    fSource = source;
  } else if (fVariableRecord) {
    for (const auto& [name, value] : *fVariableRecord) {
      if (controller.GetVariable(*fRoot, name) != value) {
        changed = true;
        break;
      }
    }
  }
  if (changed) {
    fDrawCount = 0;
    fVariableRecord = nullptr;
    fCachedImage = nullptr;
    InvalidateAll();
  }
  rcGUIElement::WindowStateChanged();
}

namespace {

// A raw value of more than one byte in braces is the source without them; any other is unquoted.
std::string SourceText(std::string_view value) {
  if (value.size() > 1 && value.front() == '{' && value.back() == '}') {
    return std::string(value.substr(1, value.size() - 2));
  }
  return Wex::Unquote(value);
}

}  // namespace

ref<Wex::rcGUIElement> MakeVectorView(rcRootView& root, const Wex::cRect& bounds, const Description& description) {
  rcVectorView::eSourceKind kind = rcVectorView::kLiteralSource;
  std::string text;
  if (const auto source = description.find("source"); source != description.end()) {
    text = SourceText(source->second);
  } else if (const auto variable = description.find("variable"); variable != description.end()) {
    kind = rcVectorView::kVariableSource;
    text = Wex::Unquote(variable->second);
  } else if (const auto file = description.find("file"); file != description.end()) {
    kind = rcVectorView::kFileSource;
    text = root.GetController().LoadVectorGraphics(root, Wex::Unquote(file->second));
  } else {
    throw FormatException("Missing ORV source, variable or file definition for vector view");
  }
  const double scale = Wex::EvaluateExpression(Wex::ValueOf(description, "scale"), 100.0) * 0.01;
  const bool useGUIVariables = Wex::StringToBool(Wex::ValueOf(description, "guiVariables"), false);
  const ref<rcVectorView> view(new rcVectorView(bounds, root, kind, std::move(text), useGUIVariables, scale));
  root.ReadAutoRefresh(view, description);
  return view;
}

}  // namespace Velto
