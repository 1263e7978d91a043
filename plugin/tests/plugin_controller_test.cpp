#include "plugin/plugin_controller.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "base/exceptions.h"
#include "base/png.h"
#include "gui/bitmap_context.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/simple_elements.h"
#include "gui/tests/pixels.h"
#include "plugin/registry_access.h"

namespace {

constexpr std::uint32_t kBlack = 0xFF000000, kRed = 0xFFFF0000, kBlue = 0xFF0000FF;

// The message of the exception of the type that the call throws, or "" when it throws none.
template <typename Exception = std::exception, typename Call>
std::string ErrorOf(Call call) {
  try {
    call();
  } catch (const Exception& e) {
    return e.what();
  }
  return "";
}

class PlugInControllerTest : public testing::Test {
 protected:
  PlugInControllerTest() {
    fBundle.WriteResource("P_strings", "txt", "Hello: Bonjour");
    fBundle.WriteResource("P_main", "velto",
                          "bounds: { 0, 0, 30, 20 }, views: { { type: rectangle, fill: blue, edit: Back },"
                          "{ type: group, offset: { dx, dy }, views: { { type: rectangle, bounds: { 0, 0, 5, 5 },"
                          " fill: red } } } }");
  }
  ~PlugInControllerTest() override {
    fController.reset();
    ReleaseResourceRegistry();
  }

  PlugInController& Controller() {
    if (!fController) fController = std::make_unique<PlugInController>(PlugInRecord{"P", 1, 0}, fOut, fErrors);
    return *fController;
  }
  // The editor, opened on no host over the rectangle, drawn into a bitmap as large.
  ref<Wex::rcOffscreenContext32> Open(const Wex::cRect& bounds) {
    Controller().Initialize(nullptr, bounds);
    const ref<Wex::rcOffscreenContext32> bitmap(new Wex::rcOffscreenContext32(bounds.Width(), bounds.Height(), true));
    Controller().GetEditorContainer()->Draw(*bitmap, bounds);
    return bitmap;
  }
  // The editor opened on the description's size, and its root view.
  Velto::rcRootView& OpenRoot() {
    Open({0, 0, 30, 20});
    return *Controller().GetRootView();
  }
  std::string TakeOut() { return std::exchange(fOut, std::ostringstream()).str(); }

  ResourcesTest::TemporaryBundle fBundle;
  std::ostringstream fOut;
  std::ostringstream fErrors;
  std::unique_ptr<PlugInController> fController;
};

TEST_F(PlugInControllerTest, VariablesAreKeptAndEachEditIsOneLine) {
  PlugInController& controller = Controller();
  Velto::rcRootView& root = OpenRoot();
  controller.RestoreVariable("patch.name", "Stored");
  EXPECT_EQ(TakeOut(), "");

  const struct {
    const char* operation;  // "set", "track" or "untrack"
    const char* name;
    const char* value;
    const char* line;
  } steps[] = {
      {"set", "params.mix", "0.25", "set \"params.mix\" \"0.25\"\n"},
      {"track", "params.mix", "", "begin \"params.mix\"\n"},
      {"track", "params.mix", "", ""},  // already under edit
      {"set", "params.mix", "0.5", "set \"params.mix\" \"0.5\"\n"},
      {"untrack", "params.mix", "", "end \"params.mix\"\n"},
      {"untrack", "params.mix", "", ""},  // no edit to end
      {"set", "patch.name", "Caf\xe9 \"1\"", "set \"patch.name\" \"Caf\\xe9 \\\"1\\\"\"\n"},
      {"set", "a b", "", "set \"a b\" \"\"\n"},
  };
  for (const auto& step : steps) {
    const std::string operation = step.operation;
    if (operation == "set") {
      controller.SetVariable(root, step.name, step.value, true);
      EXPECT_EQ(controller.GetVariable(root, step.name), step.value);
    } else {
      controller.SetVariableTracking(root, step.name, operation == "track");
      EXPECT_EQ(controller.IsTracking(step.name), operation == "track");
    }
    EXPECT_EQ(TakeOut(), step.line) << step.operation << " " << step.name;
  }
  EXPECT_EQ(controller.GetVariable(root, "never"), "");
  EXPECT_TRUE(controller.TestVariable(root, "never"));
  EXPECT_FALSE(controller.TestVariable(root, ""));
}

TEST_F(PlugInControllerTest, ResourcesComeFromTheModulesRegistry) {
  fBundle.WriteResource("knob", "orv", "fill red");
  fBundle.WriteResource("dot", "png",
                        QorPNG::WritePremultipliedARGB(std::vector<std::uint32_t>{kRed}.data(), 1, 1, 1));
  fBundle.WriteOverride(L"P V1.0", "sub", "velto", "views: {}");
  PlugInController& controller = Controller();
  Velto::rcRootView& root = OpenRoot();
  Velto::rcResourceRegistry& registry = GetResourceRegistry({"P", 1, 0});

  EXPECT_EQ(controller.GetApplicationName(), "P");
  EXPECT_EQ(controller.GetText(root, "Hello"), "Bonjour");
  EXPECT_EQ(controller.GetText(root, "Other"), "Other");
  EXPECT_EQ(controller.LoadGUIDescription(root, "sub"), "views: {}");
  EXPECT_EQ(controller.LoadVectorGraphics(root, "knob"), "fill red");
  // Both are cached: a change on disk is not seen until the registry is cleared.
  fBundle.WriteResource("knob", "orv", "fill blue");
  EXPECT_EQ(controller.LoadVectorGraphics(root, "knob"), "fill red");
  const ref<Velto::rcImage> image = controller.GetLayeredImage(root, "dot");
  ASSERT_TRUE(image);
  EXPECT_EQ(image, registry.GetImage("dot"));
  const iref<Velto::iFont> font = controller.GetFont(root, "{ face: \"DejaVu Sans\", size: 12 }");
  ASSERT_TRUE(font);
  EXPECT_EQ(font, registry.GetFont("{ face: \"DejaVu Sans\", size: 12 }"));
  EXPECT_FALSE(controller.CreateView(root, {0, 0, 5, 5}, "knob", {}));
  EXPECT_EQ(ErrorOf([&] { controller.LoadGUIDescription(root, "none"); }),
            "Cannot get URL for resource: none (type: velto)");
}

TEST_F(PlugInControllerTest, TheControllerHasNoActionsOfItsOwnAndNoDisplayForErrors) {
  PlugInController& controller = Controller();
  Velto::rcRootView& root = OpenRoot();
  for (const char* action : {"changeParam", "undo", "", "set"}) {
    EXPECT_FALSE(controller.IsActionEnabled(root, action, "x"));
    EXPECT_FALSE(controller.IsActionChecked(root, action, "x"));
  }
  EXPECT_EQ(ErrorOf<FormatException>([&] { controller.PerformAction(root, "load\tPatch", "a, b"); }),
            "Unrecognized action : \"load\\tPatch\"");
  // Without a display errors go to the error stream.
  EXPECT_TRUE(controller.ShowError(root, "Bad thing"));
  EXPECT_TRUE(controller.ShowError(root, ""));
  // A long message shows cut to 300 bytes, the last three "...".
  EXPECT_TRUE(controller.ShowError(root, "Bad: " + std::string(1000, 'x')));
  EXPECT_EQ(fErrors.str(), "error: Bad thing\nerror: Unexpected error\nerror: Bad: " + std::string(292, 'x') + "...\n");
}

TEST_F(PlugInControllerTest, OpeningBuildsTheEditorAndRefreshesItOnce) {
  PlugInController& controller = Controller();
  EXPECT_EQ(controller.GetEditorSize(), std::make_pair(30, 20));
  controller.RestoreVariable("dx", "10");
  controller.RestoreVariable("dy", "2");
  // Larger than the description: what the root view leaves is black.
  const ref<Wex::rcOffscreenContext32> bitmap = Open({0, 0, 40, 24});
  const ref<Velto::rcRootView> root = controller.GetRootView();
  const ref<Wex::rcOffscreenGUIContainer> editor = controller.GetEditorContainer();
  ASSERT_TRUE(root && editor);
  EXPECT_EQ(root->GetBounds(), (Wex::cRect{0, 0, 30, 20}));
  EXPECT_EQ(editor->GetBounds(), (Wex::cRect{0, 0, 40, 24}));
  ASSERT_EQ(editor->GetChildCount(), 3);
  EXPECT_NE(dynamic_cast<Wex::rcSolidColorElement*>(editor->GetChild(0).Get()), nullptr);
  EXPECT_EQ(editor->GetChild(0)->GetBounds(), editor->GetBounds());
  EXPECT_EQ(editor->GetChild(1), root);
  // The layout editor, above the root view, has the view marked for editing.
  const ref<Velto::rcLayoutEditor> layout = root->GetLayoutEditor();
  ASSERT_TRUE(layout);
  EXPECT_EQ(editor->GetChild(2), layout);
  ASSERT_EQ(layout->GetEntries().size(), 1u);
  EXPECT_EQ(layout->GetEntries().front().fName, "Back");
  EXPECT_FALSE(root->GetHintWindow());
  EXPECT_EQ(root->GetHost(), nullptr);
  // The group was refreshed: its rectangle moved by the stored offset.
  const struct {
    int x, y;
    std::uint32_t color;
  } pixels[] = {{0, 0, kBlue}, {10, 2, kRed}, {14, 6, kRed}, {15, 7, kBlue}, {29, 19, kBlue},
                {30, 0, kBlack}, {0, 20, kBlack}, {39, 23, kBlack}};
  for (const auto& p : pixels) {
    EXPECT_EQ(GuiTest::Pixel(*bitmap, p.x, p.y) | 0xFF000000, p.color) << p.x << "," << p.y;
  }

  controller.Close();
  EXPECT_FALSE(controller.GetRootView());
  EXPECT_FALSE(controller.GetEditorContainer());
  EXPECT_EQ(root->GetChildCount(), 0);
  EXPECT_EQ(root->GetParent(), nullptr);
  EXPECT_TRUE(layout->GetEntries().empty());
  controller.Close();
}

TEST_F(PlugInControllerTest, AnEditorThatFailsToOpenLeavesNothing) {
  const struct {
    const char* description;
    const char* error;
  } cases[] = {
      {"views: { { type: rectangle }, { type: dial } }", "Unrecognized view type : \"dial\""},
      {"views: { { bounds: { 0, 0, 1, 1 } } }", "Missing view type"},
      {"views: { { type: rectangle, fill: { 1, 2 } }", "Missing }"},
  };
  for (const auto& c : cases) {
    fBundle.WriteResource("P_main", "velto", c.description);
    PlugInController& controller = Controller();
    EXPECT_EQ(ErrorOf([&] { controller.Initialize(nullptr, {0, 0, 10, 10}); }), c.error) << c.description;
    EXPECT_FALSE(controller.GetRootView());
    EXPECT_FALSE(controller.GetEditorContainer());
    fController.reset();
    ReleaseResourceRegistry();
  }
}

TEST_F(PlugInControllerTest, ReloadingReadsTheStringsAndTheDescriptionAgain) {
  PlugInController& controller = Controller();
  OpenRoot();
  const ref<Velto::rcRootView> root = controller.GetRootView();
  ASSERT_EQ(root->GetChildCount(), 2);
  fBundle.WriteResource("P_strings", "txt", "Hello: Hallo");
  fBundle.WriteResource("P_main", "velto", "views: { { type: rectangle, fill: green } }");
  EXPECT_EQ(controller.GetText(*root, "Hello"), "Bonjour");
  controller.ReloadResources(*root);
  EXPECT_EQ(controller.GetText(*root, "Hello"), "Hallo");
  EXPECT_EQ(controller.GetRootView(), root);
  EXPECT_EQ(root->GetChildCount(), 1);

  // A table that no longer loads is reported, and the description is not read.
  fBundle.WriteResource("P_strings", "txt", "Hello: {");
  EXPECT_THROW(controller.ReloadResources(*root), FormatException);
  EXPECT_EQ(root->GetChildCount(), 1);
}

}  // namespace
