#pragma once

// The value model of the continuous controls (knobs and sliders): a value kept inside a range, a
// default value and an optional snap value, with the base view that implements it for them.

#include <cstdint>
#include <string>

#include "base/key_value.h"
#include "base/rc_string.h"
#include "gui/geometry.h"
#include "gui/resources/raster_resources.h"
#include "velto/views/view.h"

namespace Velto {

class rcRootView;

// The value is at the snap value, for the choice of the look, when it lies within this distance.
inline constexpr double kSnapEpsilon = 1e-6;

// What the root view needs of a control bound to a GUI variable.
class iValueControl {
 public:
  // The control's element Detach.
  virtual void Detach() = 0;
  // Each setter answers whether anything changed.
  virtual bool SetRange(double minimum, double maximum) = 0;
  virtual bool SetValue(double value) = 0;
  virtual bool SetDefaultValue(double value) = 0;
  virtual bool SetSnap(bool enabled, double value) = 0;
  // A disabled control ignores presses; the root view sets it from the bound variable.
  virtual void SetEnabled(bool enabled) = 0;
  virtual double GetMinimum() = 0;
  virtual double GetMaximum() = 0;
  virtual double GetValue() = 0;
  virtual double GetDefaultValue() = 0;
  // The hint text, in which "%" stands for the value.
  virtual void SetValueHint(const refString& text) = 0;
  // Whether the control is the element that tracks the mouse.
  virtual bool IsTracking() = 0;
  virtual ~iValueControl() = default;
};

// The base of knobs and sliders: the value model, clamped as min(max(v, minimum), maximum) (so a
// range whose minimum is above its maximum clamps to the maximum), with its change codes: 7 the
// value, 8 the default value, 9 the snap settings; a free text (5) and colour (2) that no control
// draws; and a hint that is always a value hint. Controls are enabled when made.
class rcValueView : public rcView, public iValueControl {
 public:
  explicit rcValueView(const Wex::cRect& r);

  // As the base view's: both bases' Detach.
  void Detach() override;
  // The value with two decimals ("0.50").
  refString GetValueText() override;
  // The stored hint with the value hint rule, whichever setter stored it.
  refString GetHintText() override;

  // Store and report; false, reporting nothing, when unchanged.
  virtual bool SetText(const refString& text);
  virtual bool SetColor(const Wex::cRGBColor& color);

  // A range with an end that is not finite is refused (false). The value and the default are
  // clamped into a new range, each reported when it moved; no redraw is asked.
  bool SetRange(double minimum, double maximum) override;
  // The value clamped into the range; a NaN is refused. Each control redraws what it must.
  bool SetValue(double value) override = 0;
  bool SetDefaultValue(double value) override;
  // Changed when the flag changes or, while enabled, the snap value; the snap value is kept only
  // while enabled.
  bool SetSnap(bool enabled, double value) override;
  void SetEnabled(bool enabled) override { fEnabled = enabled; }
  double GetMinimum() override { return fMinimum; }
  double GetMaximum() override { return fMaximum; }
  double GetValue() override { return fValue; }
  double GetDefaultValue() override { return fDefaultValue; }
  void SetValueHint(const refString& text) override { rcView::SetValueHint(text); }
  bool IsTracking() override;

  bool IsEnabled() const { return fEnabled; }
  bool IsSnapEnabled() const { return fSnapEnabled; }
  double GetSnapValue() const { return fSnapValue; }
  const refString& GetText() const { return fText; }
  const Wex::cRGBColor& GetColor() const { return fColor; }

 protected:
  // The common part of SetValue: clamps and stores the value, updates a shown hint and reports
  // code 7. False, doing nothing, for a NaN or an unchanged value.
  bool StoreValue(double value);
  double Clamp(double value) const;

 private:
  refString fText = Wex::rcString::GetEmpty();
  Wex::cRGBColor fColor;
  double fMinimum = 0.0;
  double fMaximum = 1.0;
  double fValue = 0.0;
  double fDefaultValue = 0.0;
  bool fSnapEnabled = false;
  double fSnapValue = 0.0;
  bool fEnabled = true;
};

// The "snap" key of a value control: a block enables snapping at its "value" (by default the
// default value) and gives its keys for the snap look; any other text is a boolean (false by
// default) that enables snapping at the default value.
struct cSnapSetting {
  bool fEnabled = false;
  double fValue = 0.0;
  bool fBlock = false;
  Description fKeys;  // of a block
};
cSnapSetting ReadSnapSetting(std::string_view text, double defaultValue);

// The pixels of the layered image that the controller gives for the raw value, taken once.
ref<rcImageResource> ReadPixelImage(rcRootView& root, std::string_view value);

// Binds the control to the GUI variable through the root view, which then writes the value while
// the control is dragged and reads the variable back when the drag ends: the control gets the
// tag kRootListenerTag and the root as listener, and the root records the variable (an empty name
// binds nothing). Then reads the description's hint and "autoRefresh". When any step fails, the
// root forgets the control, so no binding, hint template or timer is left of it, and the error
// goes on.
void BindValueControl(rcRootView& root, const ref<rcValueView>& control, const std::string& variable,
                      const Description& description);

}  // namespace Velto
