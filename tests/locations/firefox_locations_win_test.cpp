#include <windows.h>

#include <gtest/gtest.h>

#include "location_fixtures_win.h"
#include "locations/firefox_locations.h"

namespace tidemark::locations {
namespace {

using platform::RegistryRoot;

TEST(FirefoxVersion, TheCurrentReleaseElseTheLatestElseNotFound) {
  test::BothHivesKey key;
  test::TempFolder temp;
  auto set = [&](const std::string& subkey, const char* name, const std::string& value) {
    ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key / subkey, name, value));
  };
  auto version = [&](const std::string& subkey) {
    return ReadFirefoxVersion(platform::RealRegistry(), platform::RealShell(), key / subkey);
  };
  // Any file with a version resource stands in for firefox.exe.
  const std::string versioned = "C:\\windows\\system32\\kernel32.dll";
  const std::string expected = platform::RealShell().ProductVersionOf(versioned);
  ASSERT_NE(expected.substr(0, 9), "00.00.00.") << "the stand-in has a product version";
  set("A\\3.6.28 (en-US)\\Main", "PathToExe", versioned);
  set("A\\10.0 (en-US)\\Main", "PathToExe", temp / "missing.exe");
  set("A", "CurrentVersion", "3.6.28 (en-US)");
  EXPECT_EQ(version("A"), expected);
  // A current release without its key: the numerically latest one.
  set("B\\9.0\\Main", "PathToExe", temp / "missing.exe");
  set("B\\10.0\\Main", "PathToExe", versioned);
  set("B", "CurrentVersion", "11.0 (gone)");
  EXPECT_EQ(version("B"), expected);
  set("C\\3.5\\Main", "PathToExe", temp.Write("firefox.exe", "not a program"));
  EXPECT_EQ(version("C"), "not found.");
  EXPECT_EQ(version("NoSuchKey"), "not found.");
  set("D", "CurrentVersion", "1");
  EXPECT_EQ(version("D"), "not found.");
}

}  // namespace
}  // namespace tidemark::locations
