#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "platform/clipboard.h"
#include "platform/launch.h"

namespace {

std::vector<std::string> gPut;
void RecordPut(const std::string& utf8) { gPut.push_back(utf8); }

std::vector<std::string> gLaunched;
void RecordLaunch(const std::string& uri) { gLaunched.push_back(uri); }

TEST(Clipboard, TakesLatin1TextAndPutsUTF8) {
  gPut.clear();
  const Platform::ClipboardWriter previous = Platform::SetClipboardWriter(RecordPut);
  Wex::PutClipboardText("{ 1, 2, 30, 40 }");
  Wex::PutClipboardText("Gr\xf6\xdf" "e\xff");
  Wex::PutClipboardText(std::string_view("a\0b", 3));
  Wex::PutClipboardText("");
  EXPECT_EQ(gPut, (std::vector<std::string>{"{ 1, 2, 30, 40 }", "Gr\u00f6\u00dfe\u00ff", std::string("a\0b", 3), ""}));
  // Without a display the default writer puts nothing anywhere.
  EXPECT_EQ(Platform::SetClipboardWriter(nullptr), RecordPut);
  Wex::PutClipboardText("no display");
  EXPECT_EQ(gPut.size(), 4u);
  Platform::SetClipboardWriter(previous);
}

// The status that a launch throws, or 0 when it throws nothing.
template <class Launch>
std::int32_t StatusOf(Launch launch) {
  try {
    launch();
  } catch (const Wex::xMacOSError& e) {
    return e.GetStatus();
  }
  return 0;
}

TEST(Launch, URLsAndAbsolutePathsBecomeURIs) {
  gLaunched.clear();
  const Platform::Launcher previous = Platform::SetLauncher(RecordLaunch);
  const struct {
    std::function<void()> launch;
    std::int32_t status;
  } rows[] = {
      {[] { Wex::LaunchURL(*Wex::MakeRCString("https://example.com/caf\xe9?a=1&b=2")); }, 0},
      {[] { Wex::LaunchPath(QorFiles::Path(L"/tmp/Gr\u00f6\u00dfe Datei#1.txt")); }, 0},
      {[] { Wex::LaunchPath(QorFiles::Path(L"/")); }, 0},
      // Refused before anything is launched.
      {[] { Wex::LaunchPath(QorFiles::Path(L"relative/name.txt")); }, -50},
      {[] { Wex::LaunchPath(QorFiles::Path()); }, -50},
      {[] { Wex::LaunchPath(QorFiles::Path(std::wstring(L"/tmp/a\0b", 8))); }, -50},
      {[] { Wex::LaunchURL(*Wex::MakeRCString(std::string_view("https://a\0b", 11))); }, -50},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(StatusOf(rows[i].launch), rows[i].status) << i;
  EXPECT_EQ(gLaunched, (std::vector<std::string>{"https://example.com/caf\u00e9?a=1&b=2",
                                                 "file:///tmp/Gr%C3%B6%C3%9Fe%20Datei%231.txt", "file:///"}));
  Platform::SetLauncher(previous);
}

TEST(Launch, TheDefaultLauncherReportsRefusalsAsOSStatuses) {
  // None of these can open anything.
  EXPECT_EQ(StatusOf([] { Wex::LaunchURL(*Wex::MakeRCString("file:///nonexistent-marovell-folder/x.txt")); }), -43);
  EXPECT_EQ(StatusOf([] { Wex::LaunchPath(QorFiles::Path(L"/nonexistent-marovell-folder/y")); }), -43);
  EXPECT_EQ(StatusOf([] { Wex::LaunchURL(*Wex::MakeRCString("marovell-no-such-scheme:x")); }), Wex::kLaunchRefusedStatus);
  EXPECT_EQ(StatusOf([] { Wex::LaunchURL(*Wex::MakeRCString("")); }), Wex::kLaunchRefusedStatus);
  EXPECT_EQ(Wex::xMacOSError(Wex::kLaunchRefusedStatus).what(),
            std::string("Cannot open with the default application (OS status -10810)"));
}

}  // namespace
