#include "velto/views/vector_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  // What the source traced in that many draws, then the red of (5, 5) and (15, 5) last drawn.
  std::string DrawTraced(int draws) {
    testing::internal::CaptureStdout();
    ref<Wex::rcOffscreenContext32> bitmap;
    for (int i = 0; i < draws; ++i) bitmap = Draw({0, 0, 200, 100}, 0xFF000000);
    return testing::internal::GetCapturedStdout() + std::to_string(Rgb(*bitmap, 5, 5) >> 16) + "," +
           std::to_string(Rgb(*bitmap, 15, 5) >> 16);
  }

  ref<Wex::rcGUIElement> fVector;
};

TEST_F(VectorViewTest, RunsTheSourceFiveTimesLiveThenOnceIntoTheCache) {
  fBundle.WriteResource("knob", "orv", "trace file");
  fController.fVariables = {{"src", "trace variable"}, {"a", "1"}};
  const std::string red = "trace r; fill red; rect 0,0,20,20";
  const std::string r6 = "r\nr\nr\nr\nr\nr\n";
  const struct {
    Velto::Description description;
    Wex::cRect bounds;
    int draws;
    std::string traced;  // then the red of (5, 5) and (15, 5)
    std::int32_t count;  // of draws, after which the view caches
  } cases[] = {
      {{{"source", "{" + red + "}"}}, {0, 0, 40, 20}, 8, r6 + "255,255", 6},
      {{{"source", "{" + red + "}"}, {"scale", "$ / 2"}}, {0, 0, 40, 20}, 1, "r\n255,0", 1},
      {{{"source", "{" + red + "}"}}, {0, 0, 16385, 20}, 7, r6 + "r\n255,255", 5},  // too large to cache
      {{{"source", "{" + red + "}"}}, {0, 0, 8193, 8193}, 7, r6 + "r\n255,255", 5},
      {{{"source", "\"trace q\""}}, {0, 0, 40, 20}, 1, "q\n0,0", 1},
      {{{"source", "{"}}, {0, 0, 40, 20}, 1, "0,0", 1},
      {{{"variable", "\"src\""}, {"file", "knob"}}, {0, 0, 40, 20}, 1, "variable\n0,0", 1},
      {{{"file", "\"knob\""}}, {0, 0, 40, 20}, 1, "file\n0,0", 1},
      // Errors keep what was drawn before them.
      {{{"source", "{" + red + "; oops}"}}, {0, 0, 40, 20}, 1, "r\n255,255", 1},
      {{{"source", "{" + red + "; fill lime; rect 0,0,{$a},10}"}}, {0, 0, 40, 20}, 1, "r\n255,255", 1},
      {{{"source", "{" + red + "; repeat 2000000 [x = 1]}"}}, {0, 0, 40, 20}, 1, "r\n255,255", 1},
  };
  for (const auto& c : cases) {
    Velto::rcVectorView& view = Vector(c.description, c.bounds);
    EXPECT_EQ(DrawTraced(c.draws), c.traced) << c.description.begin()->second;
    // Without "guiVariables" nothing is recorded.
    const std::string state = (view.HasCachedImage() ? "c" : "") + std::string(view.GetVariableRecord() ? "r" : "");
    EXPECT_EQ(std::to_string(view.GetDrawCount()) + state, std::to_string(c.count) + (c.count == 6 ? "c" : ""));
  }
  // A resource is read when the view is made, and only then.
  TakeCalls();
  Vector({{"file", "knob"}});
  DrawTraced(2);
  EXPECT_EQ(CountCalls("LoadVectorGraphics"), 1);
  EXPECT_EQ(ErrorOf([&] { Vector({{"scale", "50"}}); }),
            "Missing ORV source, variable or file definition for vector view");
}

TEST_F(VectorViewTest, RecordsTheVariablesThatARunReadsAndResetsWhenTheyChange) {
  fController.fVariables = {{"w", "10"}, {"src", "fill red; rect 0,0,{$w},{$w}"}};
  Velto::rcVectorView& view = Vector({{"variable", "src"}, {"guiVariables", "TRUE"}});
  EXPECT_EQ(CountCalls("GetVariable"), 1);  // the source
  EXPECT_EQ(DrawTraced(1), "255,0");
  EXPECT_EQ(CountCalls("GetVariable"), 1);  // w, once
  EXPECT_EQ(*view.GetVariableRecord(), (Velto::cVariableRecord{{"w", "10"}}));
  EXPECT_EQ(DrawTraced(6), "255,0");
  EXPECT_EQ(CountCalls("GetVariable"), 0);  // replayed
  // The same values keep the cache; a changed value, or a new source, starts over.
  for (const char* const w : {"10", "20", ""}) {
    if (*w == '\0') fController.fVariables["src"] = "fill red; rect 0,0,$w,10; oops";
    fController.fVariables["w"] = *w != '\0' ? w : "20";
    EXPECT_EQ(Refresh(), *w == '1' ? Log() : Log{"0,0,40,20"});
    EXPECT_EQ(view.HasCachedImage(), *w == '1');
  }
  // A run that fails records nothing, so the next run asks again.
  TakeCalls();
  EXPECT_EQ(DrawTraced(2), "255,255");
  EXPECT_EQ(CountCalls("GetVariable"), 2);
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
  // A replay that reads a variable that the record lacks fails (the script's own come first).
  const Velto::cVariableRecord record = {{"a", "2"}};
  Velto::rcGUIVariableStore store(fRoot.Get(), &record);
  QorRaster::Image image({0, 0, 4, 1});
  const char* const source = "fill red; rect 0,0,$a,1; a = 3; rect 0,0,$a,1; x = $b";
  EXPECT_EQ(ErrorOf([&] { ORV::RunSource(image, 1.0, store, source); }), "Inconsistent variable access");
  EXPECT_EQ(std::vector<std::uint32_t>(image.At(0, 0), image.At(0, 0) + 4),
            (std::vector<std::uint32_t>{0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0}));
  EXPECT_EQ(store.TakeNewRecord(), nullptr);
}

}  // namespace
}  // namespace VeltoTest
