#include "velto/views/value_view.h"

#include <algorithm>
#include <cmath>

#include "base/expression.h"
#include "base/text.h"
#include "velto/root_view.h"

namespace Velto {

rcValueView::rcValueView(const Wex::cRect& r) : rcView(r) {}

void rcValueView::Detach() { rcView::Detach(); }

refString rcValueView::GetValueText() { return Wex::MakeRCString(fValue, 2); }

refString rcValueView::GetHintText() { return ExpandValueHint(); }

bool rcValueView::SetText(const refString& text) {
  if (fText->IsEqual(text)) return false;
  fText = text ? text : Wex::rcString::GetEmpty();
  NotifyListeners(5);
  return true;
}

bool rcValueView::SetColor(const Wex::cRGBColor& color) {
  if (color == fColor) return false;
  fColor = color;
  NotifyListeners(2);
  return true;
}

double rcValueView::Clamp(double value) const { return std::min(std::max(value, fMinimum), fMaximum); }

bool rcValueView::SetRange(double minimum, double maximum) {
  if (!std::isfinite(minimum) || !std::isfinite(maximum)) return false;
  if (minimum == fMinimum && maximum == fMaximum) return false;
  fMinimum = minimum;
  fMaximum = maximum;
  StoreValue(fValue);
  rcValueView::SetDefaultValue(fDefaultValue);
  return true;
}

bool rcValueView::StoreValue(double value) {
  if (std::isnan(value)) return false;
  const double v = Clamp(value);
  if (v == fValue) return false;
  fValue = v;
  RefreshShownHint();
  NotifyListeners(7);
  return true;
}

bool rcValueView::SetDefaultValue(double value) {
  if (std::isnan(value)) return false;
  const double d = Clamp(value);
  if (d == fDefaultValue) return false;
  fDefaultValue = d;
  NotifyListeners(8);
  return true;
}

bool rcValueView::SetSnap(bool enabled, double value) {
  const bool changed = enabled != fSnapEnabled || (enabled && value != fSnapValue);
  if (!changed) return false;
  fSnapEnabled = enabled;
  if (enabled) fSnapValue = value;
  NotifyListeners(9);
  return true;
}

bool rcValueView::IsTracking() { return GetTrackedElement().Get() == this; }

cSnapSetting ReadSnapSetting(std::string_view text, double defaultValue) {
  cSnapSetting snap;
  snap.fValue = defaultValue;
  snap.fBlock = Wex::IsBlockText(text);
  if (!snap.fBlock) {
    snap.fEnabled = Wex::StringToBool(text, false);
    return snap;
  }
  snap.fEnabled = true;
  snap.fKeys = Wex::ParseKeyValueMap(text);
  snap.fValue = Wex::EvaluateExpression(Wex::ValueOf(snap.fKeys, "value"), defaultValue);
  return snap;
}

ref<rcImageResource> ReadPixelImage(rcRootView& root, std::string_view value) {
  return GetPixelImage(root.GetController().GetLayeredImage(root, std::string(value)));
}

void BindValueControl(rcRootView& root, const ref<rcValueView>& control, const std::string& variable,
                      const Description& description) {
  root.FinishOrForget(control, [&] {
    if (!variable.empty()) {
      control->SetListenerTag(kRootListenerTag);
      control->AddListener(iref<iViewListener>(&root));
      root.AddValueBinding(control, variable);
    }
    ReadHint(root, control, description);
    root.ReadAutoRefresh(control, description);
  });
}

}  // namespace Velto
