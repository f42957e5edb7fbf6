// The Windows version as the real registry gives it.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/registry.h"

namespace tidemark::app {
namespace {

TEST(WindowsVersion, TheRegistryReplacesTheReportedNumbers) {
  WindowsVersion reported{2, 5, 1, 2600};
  WindowsVersion version = ApplyRegistryVersion(reported, platform::RealRegistry());
  auto current = platform::RealRegistry().ReadString(platform::RegistryRoot::LocalMachine,
                                                     "Software\\Microsoft\\Windows NT\\CurrentVersion",
                                                     "CurrentVersion");
  ASSERT_TRUE(current.has_value());
  EXPECT_EQ(std::to_string(version.major) + "." + std::to_string(version.minor), *current);
  // Not the NT family: nothing is replaced.
  WindowsVersion old{1, 4, 10, 1998};
  EXPECT_EQ(ApplyRegistryVersion(old, platform::RealRegistry()).major, 4);
}

}  // namespace
}  // namespace tidemark::app
