#include "velto/testing/recording_controller.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "base/exceptions.h"
#include "base/png.h"
#include "gui/resources/system_font.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "velto/root_view.h"

namespace {

using VeltoTest::Calls;

class RecordingController : public testing::Test {
 protected:
  ResourcesTest::TemporaryBundle fBundle;
};

TEST_F(RecordingController, AnswersFromItsSettingsAndLogsEveryCall) {
  VeltoTest::RecordingController fake;
  ref<Velto::rcRootView> a(new Velto::rcRootView({0, 0, 10, 10}, &fake));
  ref<Velto::rcRootView> b(new Velto::rcRootView({0, 0, 5, 5}, &fake));
  EXPECT_EQ(&a->GetController(), &fake);
  fake.fApplicationName = "App";
  fake.fVariables["v"] = "1";
  fake.fReadOnly.insert("locked");
  fake.fEnabledActions["off"] = false;
  fake.fCheckedActions["on"] = true;

  EXPECT_EQ(fake.GetApplicationName(), "App");
  EXPECT_EQ(fake.GetVariable(*a, "v"), "1");
  EXPECT_EQ(fake.GetVariable(*b, "absent"), "");
  EXPECT_TRUE(fake.TestVariable(*a, "v"));
  EXPECT_FALSE(fake.TestVariable(*a, "locked"));
  fake.SetVariableTracking(*a, "v", true);
  fake.SetVariable(*a, "v", "2", true);
  fake.SetVariableTracking(*a, "v", false);
  EXPECT_EQ(fake.fVariables["v"], "2");
  EXPECT_FALSE(fake.fTracking["v"]);
  EXPECT_TRUE(fake.IsActionEnabled(*a, "any", "p"));
  EXPECT_FALSE(fake.IsActionEnabled(*a, "off", "p"));
  EXPECT_FALSE(fake.IsActionChecked(*b, "any", ""));
  EXPECT_TRUE(fake.IsActionChecked(*b, "on", ""));
  fake.PerformAction(*b, "go", "x, y");
  fake.ReloadFromPlugIn(*a);
  EXPECT_FALSE(fake.CreateView(*a, {1, 2, 3, 4}, "dial", {{"a", "1"}, {"b", "\"q\""}}));
  EXPECT_FALSE(fake.ShowError(*a, "bad"));
  fake.fShowErrorResult = true;
  EXPECT_TRUE(fake.ShowError(*b, ""));

  EXPECT_EQ(fake.TakeCalls(),
            (Calls{{nullptr, "GetApplicationName", {}}, {a.Get(), "GetVariable", {"v"}},
                   {b.Get(), "GetVariable", {"absent"}}, {a.Get(), "TestVariable", {"v"}},
                   {a.Get(), "TestVariable", {"locked"}}, {a.Get(), "SetVariableTracking", {"v", "true"}},
                   {a.Get(), "SetVariable", {"v", "2", "true"}}, {a.Get(), "SetVariableTracking", {"v", "false"}},
                   {a.Get(), "IsActionEnabled", {"any", "p"}}, {a.Get(), "IsActionEnabled", {"off", "p"}},
                   {b.Get(), "IsActionChecked", {"any", ""}}, {b.Get(), "IsActionChecked", {"on", ""}},
                   {b.Get(), "PerformAction", {"go", "x, y"}}, {a.Get(), "ReloadFromPlugIn", {}},
                   {a.Get(), "CreateView", {"1,2,3,4", "dial", "{a: 1, b: \"q\"}"}}, {a.Get(), "ShowError", {"bad"}},
                   {b.Get(), "ShowError", {""}}}));
  EXPECT_TRUE(fake.GetCalls().empty());
}

TEST_F(RecordingController, ThrowsWhatATestSetsAfterLoggingTheCall) {
  VeltoTest::RecordingController fake;
  ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 10, 10}, &fake));
  fake.ThrowOn("SetVariable", FormatException("no"));
  fake.ThrowOn("GetApplicationName", UserCancelledException());
  EXPECT_THROW(fake.SetVariable(*root, "v", "1", false), FormatException);
  EXPECT_EQ(fake.fVariables.count("v"), 0u);
  EXPECT_THROW(fake.GetApplicationName(), UserCancelledException);
  EXPECT_EQ(fake.TakeCalls(),
            (Calls{{root.Get(), "SetVariable", {"v", "1", "false"}}, {nullptr, "GetApplicationName", {}}}));
  fake.StopThrowing("SetVariable");
  fake.SetVariable(*root, "v", "1", false);
  EXPECT_EQ(fake.fVariables["v"], "1");
  EXPECT_THROW(fake.ThrowOn("SetVar", Exception("typo")), std::invalid_argument);
  EXPECT_THROW(fake.LoadGUIDescription(*root, "main"), std::logic_error);  // no registry given
}

TEST_F(RecordingController, ResourceCallsGoToTheRegistry) {
  fBundle.WriteResource("main", "velto", "views: {}");
  fBundle.WriteResource("main", "orv", "orv-1");
  fBundle.WriteResource("P_strings", "txt", "Hi: Salut, Euro: \"\\u20ac\"");
  Velto::rcResourceRegistry registry(false, L"P V1.0");
  VeltoTest::RecordingController fake(&registry, "P_strings");
  ref<Velto::rcRootView> root(new Velto::rcRootView({0, 0, 10, 10}, &fake));

  EXPECT_EQ(fake.GetText(*root, "Hi"), "Hi");  // no table loaded yet
  EXPECT_EQ(fake.LoadGUIDescription(*root, "main"), "views: {}");
  EXPECT_EQ(fake.LoadVectorGraphics(*root, "main"), "orv-1");
  fBundle.WriteResource("main", "velto", "changed");
  fBundle.WriteResource("main", "orv", "changed");
  EXPECT_EQ(fake.LoadGUIDescription(*root, "main"), "views: {}");  // cached
  EXPECT_EQ(fake.LoadVectorGraphics(*root, "main"), "orv-1");

  fake.ReloadResources(*root);
  EXPECT_EQ(fake.GetText(*root, "Hi"), "Salut");
  EXPECT_EQ(fake.GetText(*root, "Euro"), "?");
  EXPECT_EQ(fake.LoadGUIDescription(*root, "main"), "changed");
  EXPECT_EQ(fake.LoadVectorGraphics(*root, "main"), "changed");
  EXPECT_THROW(fake.LoadGUIDescription(*root, "absent"), Wex::xExceptionWithRCString);
  const std::uint32_t pixel = 0xff102030;
  fBundle.WriteResource("knob", "png", QorPNG::WritePremultipliedARGB(&pixel, 1, 1, 1));
  const ref<Velto::rcImage> knob = fake.GetLayeredImage(*root, "knob");
  EXPECT_EQ(knob->GetBounds(), (Wex::cRect{0, 0, 1, 1}));
  EXPECT_EQ(fake.GetLayeredImage(*root, "{ name: knob }"), knob);
  const iref<Velto::iFont> font = fake.GetFont(*root, "{ color: red }");
  EXPECT_TRUE(dynamic_cast<Velto::rcSystemFont*>(font.Get()));
  EXPECT_EQ(fake.GetFont(*root, "{ color: red }"), font);
  EXPECT_EQ(fake.GetCalls().size(), 15u);
  EXPECT_EQ(fake.GetCalls()[5], (VeltoTest::Call{root.Get(), "ReloadResources", {}}));
}

}  // namespace
