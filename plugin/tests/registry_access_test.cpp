#include "plugin/registry_access.h"

#include <gtest/gtest.h>

#include <future>
#include <string>

#include "base/exceptions.h"
#include "gui/resources/testing/temporary_bundle.h"

namespace {

class RegistryAccess : public testing::Test {
 protected:
  ~RegistryAccess() override { ReleaseResourceRegistry(); }

  ResourcesTest::TemporaryBundle fBundle;
};

TEST_F(RegistryAccess, ThreadsShareOneRegistryBuiltForTheRecord) {
  fBundle.WriteResource("X_strings", "txt", "Hello: Bonjour");
  fBundle.WriteResource("main", "velto", "bundle");
  fBundle.WriteOverride(L"X V1.0", "main", "velto", "override");
  const PlugInRecord record{"X", 1, 0};
  auto first = std::async(std::launch::async, [&record] { return &GetResourceRegistry(record); });
  auto second = std::async(std::launch::async, [&record] { return &GetResourceRegistry(record); });
  Velto::rcResourceRegistry* registry = first.get();
  EXPECT_EQ(second.get(), registry);
  EXPECT_EQ(registry->Translate("Hello"), L"Bonjour");
  EXPECT_EQ(registry->LoadResource("main", "velto", true), "override");

  // Released, the registry is built again, reading the table afresh.
  fBundle.WriteResource("X_strings", "txt", "Hello: Hallo");
  EXPECT_EQ(GetResourceRegistry(record).Translate("Hello"), L"Bonjour");
  ReleaseResourceRegistry();
  EXPECT_EQ(GetResourceRegistry(record).Translate("Hello"), L"Hallo");
}

TEST_F(RegistryAccess, TheLabelWritesBothVersionNumbersInDecimal) {
  fBundle.WriteResource("Pr\xf6_strings", "txt", "");
  fBundle.WriteResource("main", "velto", "bundle");
  fBundle.WriteOverride(L"Pr\u00f6 V12.255", "main", "velto", "override");
  EXPECT_EQ(GetResourceRegistry({"Pr\xf6", 12, 255}).LoadResource("main", "velto", true), "override");
}

TEST_F(RegistryAccess, ARegistryWhoseTableFailsToLoadStays) {
  try {
    GetResourceRegistry({"Y", 2, 3});
    FAIL();
  } catch (const Wex::xExceptionWithRCString& e) {
    EXPECT_STREQ(e.what(), "Cannot get URL for resource: Y_strings (type: txt)");
  }
  fBundle.WriteResource("Y_strings", "txt", "Hello: Hej");
  // The stored registry is answered as it is: the table is not tried again.
  EXPECT_EQ(GetResourceRegistry({"Y", 2, 3}).Translate("Hello"), L"Hello");
}

}  // namespace
