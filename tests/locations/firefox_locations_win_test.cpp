#include <windows.h>

#include <gtest/gtest.h>

#include "location_fixtures_win.h"
#include "locations/firefox_locations.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace tidemark::locations {
namespace {

using platform::RegistryRoot;

class FirefoxVersionTest : public ::testing::Test {
 protected:
  void SetRelease(const std::string& release, const std::string& exe) {
    ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key / (release + "\\Main"),
                                                     "PathToExe", exe));
  }
  std::string Version() { return ReadFirefoxVersion(platform::RealRegistry(), platform::RealShell(), key.path()); }

  test::BothHivesKey key;
  test::TempFolder temp;
  // Any file with a version resource stands in for firefox.exe.
  std::string versioned = "C:\\windows\\system32\\kernel32.dll";
};

TEST_F(FirefoxVersionTest, CurrentVersionNamesTheRelease) {
  std::string expected = platform::RealShell().ProductVersionOf(versioned);
  ASSERT_FALSE(StartsWith(expected, "00.00.00.")) << "the stand-in has a product version";
  SetRelease("3.6.28 (en-US)", versioned);
  SetRelease("9.0 (en-US)", temp / "old\\firefox.exe");
  ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key.path(), "CurrentVersion",
                                                   "3.6.28 (en-US)"));
  EXPECT_EQ(Version(), expected);
}

TEST_F(FirefoxVersionTest, WithoutCurrentVersionTheLastSortedReleaseIsUsed) {
  SetRelease("2.0.0.20", temp / "missing.exe");
  SetRelease("3.0.19", versioned);
  ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key.path(), "CurrentVersion",
                                                   "4.0 (gone)"));
  EXPECT_EQ(Version(), platform::RealShell().ProductVersionOf(versioned));
}

TEST_F(FirefoxVersionTest, UnreadableExecutableOrMissingKeyIsNotFound) {
  std::string text = temp.Write("firefox.exe", "not a program");
  SetRelease("3.5", text);
  EXPECT_EQ(Version(), "not found.");
  EXPECT_EQ(ReadFirefoxVersion(platform::RealRegistry(), platform::RealShell(), key / "NoSuchKey"), "not found.");
  ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key / "Empty", "CurrentVersion", "1"));
  EXPECT_EQ(ReadFirefoxVersion(platform::RealRegistry(), platform::RealShell(), key / "Empty"), "not found.");
}

}  // namespace
}  // namespace tidemark::locations
