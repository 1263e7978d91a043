#include "gui/resources/resource_registry.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <future>
#include <string>
#include <tuple>

#include "base/exceptions.h"
#include "gui/resources/testing/temporary_bundle.h"
#include "gui/resources/tests/outcome.h"

namespace {

const std::wstring kLabel = L"X V1.0";

class ResourceRegistry : public testing::Test {
 protected:
  ResourcesTest::TemporaryBundle fBundle;
};

TEST_F(ResourceRegistry, TranslationsComeFromTheTableOrStayAsTheyAre) {
  fBundle.WriteResource("X_strings", "txt",
                        "Hello: \"Bonjour\", Euro = \"\\u20AC\"; plain: caf\xe9\n"
                        "// a comment\nHello: \"Salut\"");
  Velto::rcResourceRegistry registry(true, kLabel);
  EXPECT_EQ(registry.Translate("Hello"), L"Hello");
  EXPECT_EQ(registry.Translate("caf\xe9"), L"caf\u00e9");

  // An entry made by an earlier Translate stays until Clear.
  registry.LoadStrings("X_strings", "txt");
  EXPECT_EQ(registry.Translate("Hello"), L"Hello");
  EXPECT_EQ(registry.Translate("Euro"), L"\u20ac");
  EXPECT_EQ(registry.TranslateLatin1("Euro"), "?");
  EXPECT_EQ(registry.TranslateLatin1("plain"), "caf\xe9");

  registry.Clear();
  registry.LoadStrings("X_strings", "txt");
  EXPECT_EQ(registry.Translate("Hello"), L"Bonjour");  // of two equal keys the first counts
  EXPECT_EQ(registry.TranslateLatin1("hello"), "hello");

  // The table is read afresh each time, never from the text cache.
  fBundle.WriteResource("X_strings", "txt", "Hello: Hi, Bye: Ciao");
  registry.Clear();
  registry.LoadStrings("X_strings", "txt");
  EXPECT_EQ(registry.Translate("Bye"), L"Ciao");
  EXPECT_EQ(registry.Translate("Hello"), L"Hi");
}

TEST_F(ResourceRegistry, MalformedOrMissingTablesAddNothing) {
  fBundle.WriteResource("bad", "txt", "A: \"x\", B");
  Velto::rcResourceRegistry registry(false, kLabel);
  try {
    registry.LoadStrings("bad", "txt");
    FAIL();
  } catch (const FormatException& e) {
    EXPECT_STREQ(e.what(), "Missing ':' or '=' after key: \"B\"");
  }
  EXPECT_EQ(registry.Translate("A"), L"A");
  EXPECT_THROW(registry.LoadStrings("absent", "txt"), Wex::xExceptionWithRCString);
}

TEST_F(ResourceRegistry, ResourcesAreCachedOnlyWhenAsked) {
  Velto::rcResourceRegistry registry(true, kLabel);
  EXPECT_THROW(registry.LoadResource("main", "velto", true), Wex::xExceptionWithRCString);
  fBundle.WriteResource("main", "velto", "one");
  EXPECT_EQ(registry.LoadResource("main", "velto", false), "one");
  fBundle.WriteResource("main", "velto", "two");
  EXPECT_EQ(registry.LoadResource("main", "velto", true), "two");
  fBundle.WriteResource("main", "velto", "three");
  EXPECT_EQ(registry.LoadResource("main", "velto", false), "two");
  EXPECT_EQ(registry.LoadResource("main", "velto", true), "two");
  // The key is the name and the type.
  fBundle.WriteResource("main", "orv", "vector");
  EXPECT_EQ(registry.LoadResource("main", "orv", true), "vector");
  registry.Clear();
  EXPECT_EQ(registry.LoadResource("main", "velto", true), "three");

  const std::string bytes("\0\xff\r\n", 4);
  fBundle.WriteResource("gr\xfc\xdf", "txt", bytes);
  EXPECT_EQ(registry.LoadResource("gr\xfc\xdf", "txt", true), bytes);
}

TEST_F(ResourceRegistry, TheOverrideFolderReplacesBundleFilesOneByOne) {
  fBundle.WriteResource("main", "velto", "bundle main");
  fBundle.WriteResource("knob", "orv", "bundle knob");
  fBundle.WriteOverride(kLabel, "main", "velto", "override main");
  // Another label, or no search, finds no override folder.
  for (const auto& [useOverride, label, expected] : {std::tuple{true, kLabel, "override main"},
                                                      std::tuple{false, kLabel, "bundle main"},
                                                      std::tuple{true, std::wstring(L"X V1.1"), "bundle main"}}) {
    Velto::rcResourceRegistry registry(useOverride, label);
    EXPECT_EQ(registry.LoadResource("main", "velto", false), expected);
    EXPECT_EQ(registry.LoadResource("knob", "orv", false), "bundle knob");
  }
}

TEST_F(ResourceRegistry, APointerFileNamesTheOverrideFolder) {
  fBundle.WriteResource("main", "velto", "bundle");
  fBundle.WriteOverride(kLabel, "main", "velto", "default folder");
  fBundle.WriteFile("res/main.velto", "res");
  fBundle.WriteFile("deeper/r es/main.velto", "deeper");
  fBundle.WriteFile("main.velto", "beside");
  struct Case {
    std::string pointer;
    std::string expected;
  };
  const Case cases[] = {
      {"res\r\n", "res"},
      {"r\re\ns\n\n", "res"},  // line ends vanish wherever they are
      {"deeper/r es", "deeper"},
      {fBundle.GetFolder().string() + "/res", "res"},
      {"missing\n", "bundle"},  // the pointer file wins even when its folder does not exist
      {"\n", "beside"},         // an empty name leaves the folder that holds the bundle
  };
  for (const Case& c : cases) {
    fBundle.WritePointerFile(kLabel, c.pointer);
    Velto::rcResourceRegistry registry(true, kLabel);
    EXPECT_EQ(registry.LoadResource("main", "velto", false), c.expected) << c.pointer;
  }
}

TEST_F(ResourceRegistry, AnUnreadablePointerFileFailsTheConstruction) {
  // A socket is no folder, yet it cannot be opened as a file.
  const std::string path = (fBundle.GetFolder() / "X V1.0 Resources Path.txt").string();
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(listener, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  EXPECT_THROW(Velto::rcResourceRegistry(true, kLabel), QorFiles::Exception);
  EXPECT_NO_THROW(Velto::rcResourceRegistry(false, kLabel));
  close(listener);
}

TEST_F(ResourceRegistry, OverrideAndPointerFilesAreReadOnlyAsRegularFiles) {
  fBundle.WriteResource("main", "velto", "bundle");
  fBundle.WriteResource("pic", "png", ResourcesTest::kGreyPicture);
  fBundle.MakeFolder("X V1.0 Resources");
  const std::filesystem::path pointer = fBundle.GetFolder() / "X V1.0 Resources Path.txt";
  const std::filesystem::path text = fBundle.GetFolder() / "X V1.0 Resources" / "main.velto";
  const std::filesystem::path picture = fBundle.GetFolder() / "X V1.0 Resources" / "pic.png";
  const auto load = [] {
    Velto::rcResourceRegistry registry(true, kLabel);
    const Wex::cRect bounds = registry.GetImage("pic")->GetBounds();
    return registry.LoadResource("main", "velto", false) + " " + std::to_string(bounds.Width());
  };
  const struct {
    const std::filesystem::path& path;
    bool fifo;  // else a link to a device
  } cases[] = {{pointer, true}, {pointer, false}, {text, true}, {text, false}, {picture, true}, {picture, false}};
  for (const auto& c : cases) {
    if (c.fifo) {
      ASSERT_EQ(mkfifo(c.path.c_str(), 0600), 0);
    } else {
      std::filesystem::create_symlink("/dev/null", c.path);
    }
    auto loaded = std::async(std::launch::async, [&] { return ResourcesTest::Outcome(load); });
    if (loaded.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      ADD_FAILURE() << "opening " << c.path << " hangs";
      close(open(c.path.c_str(), O_WRONLY | O_NONBLOCK));  // a writer lets the blocked open go on
    }
    EXPECT_EQ(loaded.get(), "Files: Not a regular file: " + c.path.string()) << c.path;
    std::filesystem::remove(c.path);
  }
  EXPECT_EQ(load(), "bundle 3");
}

TEST_F(ResourceRegistry, AFailedOperationLeavesTheLockFree) {
  fBundle.WriteResource("main", "velto", "text");
  fBundle.WriteResource("bad", "txt", "{");
  Velto::rcResourceRegistry registry(true, kLabel);
  EXPECT_THROW(registry.LoadResource("absent", "velto", true), Wex::xExceptionWithRCString);
  EXPECT_THROW(registry.LoadStrings("bad", "txt"), FormatException);
  auto other = std::async(std::launch::async, [&registry] { return registry.LoadResource("main", "velto", true); });
  if (other.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
    registry.Leave();  // let the other thread finish before failing
    registry.Leave();
    FAIL() << "the lock stayed held";
  }
  EXPECT_EQ(other.get(), "text");
}

}  // namespace
