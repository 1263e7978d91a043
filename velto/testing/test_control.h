#pragma once

// The least value control: the shared value model of the value views, with a redraw of the whole
// view when the value changes, as a knob does.

#include "gui/geometry.h"
#include "velto/views/value_view.h"

namespace VeltoTest {

class rcTestControl : public Velto::rcValueView {
 public:
  explicit rcTestControl(const Wex::cRect& r = {0, 0, 10, 10}) : rcValueView(r) {}
  void Draw(Wex::rcGraphicsContext&, const Wex::cRect&) override {}
  bool SetValue(double value) override {
    if (!StoreValue(value)) return false;
    InvalidateAll();
    return true;
  }
};

}  // namespace VeltoTest
