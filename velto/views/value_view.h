#pragma once

// The value model of the continuous controls (knobs and sliders): a value kept inside a range, a
// default value and an optional snap value.

#include "base/rc_string.h"

namespace Velto {

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

}  // namespace Velto
