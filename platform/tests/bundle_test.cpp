#include "platform/bundle.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/encoding.h"
#include "base/exceptions.h"
#include "gui/resources/testing/temporary_bundle.h"

namespace {

namespace fs = std::filesystem;

QorFiles::Path ToPath(const fs::path& p) { return QorFiles::Path(Wex::UTF8ToWide(p.string())); }

class Bundle : public testing::Test {
 protected:
  std::string OpenError(const std::string& type, const std::string& name) {
    try {
      Wex::OpenBundleResource(*Wex::GetCurrentImageBundle(), type, name);
    } catch (const Wex::xExceptionWithRCString& e) {
      return e.what();
    }
    return "opened";
  }
  std::string BundleError() {
    try {
      Wex::GetCurrentImageBundle();
    } catch (const Wex::xExceptionWithRCString& e) {
      return e.what();
    }
    return "found";
  }

  ResourcesTest::TemporaryBundle fBundle;
  const fs::path fBundleFolder = fBundle.GetBundleFolder();
};

TEST_F(Bundle, CurrentBundleIsTheChosenFolderOrTheProgramsFolder) {
  const QorFiles::Path bundle = ToPath(fBundleFolder);
  const QorFiles::Path url = Wex::ToQorFilesPath(Wex::GetCurrentBundleURL().Get());
  EXPECT_EQ(url, bundle);
  EXPECT_EQ(url.GetParent(), ToPath(fBundle.GetFolder()));

  // Given with trailing separators and a detour, the folder is kept in its plain form.
  Wex::SetCurrentImageBundleFolder(ToPath(fBundleFolder / "Resources" / ".." / ""));
  EXPECT_EQ(Wex::ToQorFilesPath(Wex::GetCurrentBundleURL().Get()), bundle);
  const ref<Wex::rcResourceFile> current = Wex::GetCurrentImageBundle();
  const auto* held = current->GetBundle()->GetObjectAs<Platform::rcCFBundle>();
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(held->GetFolder(), bundle);

  Wex::SetCurrentImageBundleFolder(ToPath(fBundle.GetFolder() / "missing"));
  EXPECT_EQ(BundleError(), "Could not obtain bundle from current image");
  Wex::SetCurrentImageBundleFolder(ToPath(fBundleFolder / "Resources" / "x"));
  EXPECT_EQ(BundleError(), "Could not obtain bundle from current image");

  Wex::SetCurrentImageBundleFolder(QorFiles::Path());
  char program[PATH_MAX] = {};
  ASSERT_GT(readlink("/proc/self/exe", program, sizeof program - 1), 0);
  EXPECT_EQ(Wex::ToQorFilesPath(Wex::GetCurrentBundleURL().Get()), ToPath(fs::path(program).parent_path()));

  // Only URL holders give a path.
  EXPECT_TRUE(Wex::ToQorFilesPath(nullptr).IsEmpty());
  EXPECT_TRUE(Wex::ToQorFilesPath(Wex::CreateCFString(Wex::rcVector<char>("abc", 3)).Get()).IsEmpty());
}

TEST_F(Bundle, ResourceStreamsReadExactCountsUpToTheirLength) {
  fBundle.WriteResource("caf\xe9", "txt", "0123456789");
  ref<Wex::rcResourceStream> stream = Wex::OpenBundleResource(*Wex::GetCurrentImageBundle(), "txt", "caf\xe9");
  ASSERT_EQ(stream->GetLength(), 10);
  char buffer[8] = {};
  stream->Read(buffer, 3);
  stream->Read(buffer + 3, 5);
  EXPECT_EQ(std::string(buffer, 8), "01234567");
  EXPECT_THROW(stream->Read(buffer, 3), Wex::xCannotReadBeyondEnd);
  EXPECT_THROW(stream->Read(buffer, -1), Wex::xCannotReadBeyondEnd);
  stream->Read(buffer, 2);  // a refused read moved nothing
  EXPECT_EQ(std::string(buffer, 2), "89");
  stream->Read(buffer, 0);

  fBundle.WriteResource("empty", "velto", "");
  EXPECT_EQ(Wex::OpenBundleResource(*Wex::GetCurrentImageBundle(), "velto", "empty")->GetLength(), 0);
}

TEST_F(Bundle, MissingResourcesAreNamedWithTheirType) {
  fBundle.WriteResource("main", "velto", "x");
  fBundle.MakeFolder("Test.bundle/Resources/folder.velto");
  EXPECT_EQ(OpenError("velto", "main"), "opened");
  EXPECT_EQ(OpenError("orv", "main"), "Cannot get URL for resource: main (type: orv)");
  EXPECT_EQ(OpenError("velto", "Main"), "Cannot get URL for resource: Main (type: velto)");
  EXPECT_EQ(OpenError("velto", "folder"), "Cannot get URL for resource: folder (type: velto)");
  // The OS would stop reading the name at the NUL and open "main.velto".
  EXPECT_EQ(OpenError("velto", std::string("main.velto\0x", 12)), "Cannot get URL for resource: main.velto");
  EXPECT_EQ(OpenError("", ""), "Cannot get URL for resource:  (type: )");

  ref<Wex::rcResourceFile> noBundle(new Wex::rcResourceFile(nullptr));
  EXPECT_THROW(Wex::OpenBundleResource(*noBundle, "velto", "main"), Wex::xExceptionWithRCString);
}

}  // namespace
