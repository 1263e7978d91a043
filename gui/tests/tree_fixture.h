#pragma once

// A root over a recording view, torn down cleanly after each test.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gui/container.h"
#include "gui/root.h"
#include "gui/tests/recording_view.h"

namespace GuiTest {

class TreeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (ref<Wex::rcGUIElement> tracked = Wex::rcGUIElement::GetTrackedElement()) tracked->EndTracking();
    fRoot->Close();
  }

  ref<rcProbe> Probe(const Wex::cRect& r, const std::string& name) { return ref<rcProbe>(new rcProbe(r, name, fLog)); }
  ref<Wex::rcGUIContainer> NewContainer(const Wex::cRect& r) {
    return ref<Wex::rcGUIContainer>(new Wex::rcGUIContainer(r));
  }
  // A container as the root element, sized to the view (200 × 100).
  ref<Wex::rcGUIContainer> RootContainer() {
    ref<Wex::rcGUIContainer> top = NewContainer({});
    fRoot->SetRootElement(top);
    fView->fInvalidated.clear();
    return top;
  }
  std::vector<std::string> TakeLog() { return std::exchange(fLog, {}); }
  std::vector<Wex::cRect> TakeInvalidated() { return std::exchange(fView->fInvalidated, {}); }

  ref<rcRecordingView> fView{new rcRecordingView()};
  ref<Wex::rcGUIRoot> fRoot{new Wex::rcGUIRoot(iref<Wex::iNativeView>(fView))};
  std::vector<std::string> fLog;
};

using Log = std::vector<std::string>;
using Rects = std::vector<Wex::cRect>;

}  // namespace GuiTest
