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
  // A root container holding a container at (30, 40, 130, 90) that holds the probe at (5, 5, 15, 10),
  // with the log and the invalidations of the building taken.
  struct Nest {
    ref<Wex::rcGUIContainer> top, box;
    ref<rcProbe> leaf;
  };
  Nest Nested(const std::string& name) {
    const Nest nest{RootContainer(), NewContainer({30, 40, 130, 90}), Probe({5, 5, 15, 10}, name)};
    nest.box->AddChild(nest.leaf);
    nest.top->AddChild(nest.box);
    TakeLog();
    TakeInvalidated();
    return nest;
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
