#include "velto/views/vector_view.h"

#include <gtest/gtest.h>

#include <string>

#include "ordo/exceptions.h"
#include "orv/run.h"
#include "velto/view_factory.h"
#include "velto/views/tests/view_fixture.h"

namespace VeltoTest {
namespace {

class VectorViewTest : public ViewTest {
 protected:
  // The view of the description in the root, refreshed.
  Velto::rcVectorView& Vector(const Velto::Description& description, const Wex::cRect& bounds = {0, 0, 40, 20}) {
    if (fVector) fRoot->RemoveChild(fVector);
    fVector = Velto::CreateViewOfType(*fRoot, bounds, "vector", description);
    fRoot->AddChild(fVector);
    fVector->WindowStateChanged();
    return static_cast<Velto::rcVectorView&>(*fVector);
  }
  // What the source traced in that many draws, and the colour of (5, 5) and (15, 5) last drawn.
  std::string DrawTraced(int draws) {
    testing::internal::CaptureStdout();
    ref<Wex::rcOffscreenContext32> bitmap;
    for (int i = 0; i < draws; ++i) bitmap = Draw({0, 0, 200, 100}, 0xFF000000);
    std::string traced = testing::internal::GetCapturedStdout();
    traced += " " + std::to_string(Rgb(*bitmap, 5, 5) >> 16) + "," + std::to_string(Rgb(*bitmap, 15, 5) >> 16);
    return traced;
  }
  // The GetVariable calls since the last look.
  int Reads() {
    int reads = 0;
    for (const Call& call : TakeCalls()) reads += call.fOperation == "GetVariable";
    return reads;
  }

  ref<Wex::rcGUIElement> fVector;
};

TEST_F(VectorViewTest, RunsTheSourceFiveTimesLiveThenOnceIntoTheCache) {
  fBundle.WriteResource("knob", "orv", "trace file");
  fController.fVariables = {{"src", "trace variable"}, {"a", "1"}};
  const std::string kRed = "trace r; fill red; rect 0,0,20,20";
  const struct {
    Velto::Description description;
    Wex::cRect bounds;
    int draws;
    const char* traced;  // with the red of (5, 5) and (15, 5)
    std::int32_t count;
  } cases[] = {
      {{{"source", "{" + kRed + "}"}}, {0, 0, 40, 20}, 8, "r\nr\nr\nr\nr\nr\n 255,255", 6},
      {{{"source", "{" + kRed + "}"}, {"scale", "$ / 2"}}, {0, 0, 40, 20}, 1, "r\n 255,0", 1},
      {{{"source", "{" + kRed + "}"}}, {0, 0, 16385, 20}, 7, "r\nr\nr\nr\nr\nr\nr\n 255,255", 5},  // live on
      {{{"source", "{" + kRed + "}"}}, {0, 0, 8193, 8193}, 7, "r\nr\nr\nr\nr\nr\nr\n 255,255", 5},
      {{{"source", "\"trace q\""}}, {0, 0, 40, 20}, 1, "q\n 0,0", 1},
      {{{"source", "{"}}, {0, 0, 40, 20}, 1, " 0,0", 1},
      {{{"variable", "\"src\""}, {"file", "knob"}}, {0, 0, 40, 20}, 1, "variable\n 0,0", 1},
      {{{"file", "\"knob\""}}, {0, 0, 40, 20}, 1, "file\n 0,0", 1},
      // Errors keep what was drawn before them.
      {{{"source", "{" + kRed + "; oops}"}}, {0, 0, 40, 20}, 1, "r\n 255,255", 1},
      {{{"source", "{" + kRed + "; fill lime; rect 0,0,{$a},10}"}}, {0, 0, 40, 20}, 1, "r\n 255,255", 1},
      {{{"source", "{" + kRed + "; repeat 2000000 [x = 1]}"}}, {0, 0, 40, 20}, 1, "r\n 255,255", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description.begin()->second);
    Velto::rcVectorView& view = Vector(c.description, c.bounds);
    EXPECT_EQ(DrawTraced(c.draws), c.traced);
    EXPECT_EQ(view.GetDrawCount(), c.count);
    EXPECT_EQ(view.HasCachedImage(), c.count == 6);
    EXPECT_EQ(view.GetVariableRecord(), nullptr);
  }
  // The resource is read when the view is made, and only then.
  TakeCalls();
  Vector({{"file", "knob"}});
  fRoot->WindowStateChanged();
  EXPECT_EQ(DrawTraced(2), "file\nfile\n 0,0");
  int loads = 0;
  for (const Call& call : TakeCalls()) loads += call.fOperation == "LoadVectorGraphics";
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(ErrorOf([&] { Vector({{"scale", "50"}}); }), "Missing ORV source, variable or file definition for vector view");
}

TEST_F(VectorViewTest, RecordsTheVariablesThatARunReadsAndResetsWhenTheyChange) {
  fController.fVariables = {{"w", "10"}, {"src", "fill red; rect 0,0,{$w},{$w}"}};
  Velto::rcVectorView& view = Vector({{"variable", "src"}, {"guiVariables", "TRUE"}});
  EXPECT_EQ(Reads(), 1);  // the source
  EXPECT_EQ(DrawTraced(1), " 255,0");
  EXPECT_EQ(Reads(), 1);  // w, once
  EXPECT_EQ(*view.GetVariableRecord(), (Velto::cVariableRecord{{"w", "10"}}));
  EXPECT_EQ(DrawTraced(6), " 255,0");
  EXPECT_EQ(Reads(), 0);  // replayed
  const struct {
    const char *w, *src;
    bool reset;
  } refreshes[] = {{"10", nullptr, false}, {"20", nullptr, true}, {"20", "fill red; rect 0,0,$w,10; oops", true}};
  const std::vector<Wex::cRect> kWhole = {{0, 0, 40, 20}};
  for (const auto& r : refreshes) {
    fController.fVariables["w"] = r.w;
    if (r.src != nullptr) fController.fVariables["src"] = r.src;
    fView->fInvalidated.clear();
    fRoot->WindowStateChanged();
    EXPECT_EQ(view.HasCachedImage(), !r.reset);
    EXPECT_EQ(fView->fInvalidated, r.reset ? kWhole : std::vector<Wex::cRect>());
  }
  // A run that fails records nothing, so the next run asks again.
  Reads();
  EXPECT_EQ(DrawTraced(2), " 255,255");
  EXPECT_EQ(Reads(), 2);
  EXPECT_EQ(view.GetVariableRecord(), nullptr);

  // What one run records counts against a variable store's limit.
  for (const int count : {4, 5}) {
    std::string source;
    for (int i = 0; i < count; ++i) {
      fController.fVariables["big" + std::to_string(i)] = std::string(250000, 'x');
      source += "x = $big" + std::to_string(i) + ";";
    }
    fController.fVariables["src"] = source;
    fRoot->WindowStateChanged();
    DrawTraced(1);
    EXPECT_EQ(view.GetVariableRecord() != nullptr, count == 4);
  }
}

TEST_F(VectorViewTest, AReplayStopsAtAVariableThatTheRecordLacks) {
  const Velto::cVariableRecord record = {{"a", "2"}};
  Velto::rcGUIVariableStore store(fRoot.Get(), &record);
  QorRaster::Image image({0, 0, 4, 1});
  EXPECT_EQ(ErrorOf([&] { ORV::RunSource(image, 1.0, store, "fill red; rect 0,0,$a,1; a = 3; rect 0,0,$a,1; x = $b"); }),
            "Inconsistent variable access");
  EXPECT_EQ(*image.At(2, 0), 0xFFFF0000u);  // the script's own variable first
  EXPECT_EQ(*image.At(3, 0), 0u);
  EXPECT_EQ(store.TakeNewRecord(), nullptr);
}

}  // namespace
}  // namespace VeltoTest
