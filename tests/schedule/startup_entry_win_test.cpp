// The startup entry in a Run key of the test's own: what counts as set, the
// value written (with the program's real 8.3 path) and removing it.
#include "schedule/startup_entry.h"

#include <gtest/gtest.h>

#include "platform/shell.h"
#include "support/sandbox_win.h"

namespace tidemark::schedule {
namespace {

using platform::RegistryRoot;
using platform::RegistryType;

TEST(StartupEntry, CountsAsSetByTheEndOfItsData) {
  struct Case {
    RegistryType type;
    const char* data;
    bool set;
  };
  const Case cases[] = {
      {RegistryType::String, "\"C:\\PROGRA~1\\TIDEMARK\\TIDEMARK.EXE\" BOOT", true},
      {RegistryType::String, "C:\\TIDEMARK\\TIDEMARK.EXE BOOT", true},  // written by hand, unquoted
      {RegistryType::String, "c:\\tidemark\\tidemark.exe boot", false},  // compared case-sensitively
      {RegistryType::String, "\"C:\\TIDEMARK\\TIDEMARK.EXE\" Boot", false},
      {RegistryType::String, "\"C:\\TIDEMARK\\TIDEMARK.EXE\" AUTO", false},
      {RegistryType::String, "\"C:\\TIDEMARK\\TIDEMARK.EXE\"  BOOT", false},
      {RegistryType::ExpandString, "\"%ProgramFiles%\\TIDEMARK\\TIDEMARK.EXE\" BOOT", true},
      {RegistryType::ExpandString, "%SystemDrive%\\TIDEMARK.EXE BOOT", true},
      {RegistryType::Binary, "\"C:\\TIDEMARK.EXE\" BOOT", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.data);
    test::TempRegistryKey run;
    ASSERT_TRUE(platform::RealRegistry().WriteValue(RegistryRoot::CurrentUser, run.path(), kStartupValueName,
                                                    {c.type, c.data}));
    EXPECT_EQ(StartupEntryIsSet(platform::RealRegistry(), run.path()), c.set);
  }
  test::TempRegistryKey empty;
  EXPECT_FALSE(StartupEntryIsSet(platform::RealRegistry(), empty.path()));
}

TEST(StartupEntry, ValueIsTheQuotedShortPathInUpperCase) {
  EXPECT_EQ(StartupRunValue("C:\\Program Files\\Tidemark\\Tidemark.exe", "C:\\PROGRA~1\\TIDEMARK\\Tidemark.exe"),
            "\"C:\\PROGRA~1\\TIDEMARK\\TIDEMARK.EXE\" BOOT");
  // Without an 8.3 form the long path stands in.
  EXPECT_EQ(StartupRunValue("D:\\Tools\\My Tidemark\\tidemark.exe", ""), "\"D:\\TOOLS\\MY TIDEMARK\\TIDEMARK.EXE\" BOOT");
}

TEST(StartupEntry, SetAndRemoveRoundTrip) {
  test::TempFolder folder;
  std::string program = folder.Write("Program Files Test\\Tidemark.exe", "MZ");
  std::string shortPath = platform::RealShell().ShortPathOf(program);
  ASSERT_FALSE(shortPath.empty());
  std::string value = StartupRunValue(program, shortPath);
  EXPECT_EQ(value.find("PROGRAM FILES TEST"), std::string::npos) << value;

  platform::Registry& registry = platform::RealRegistry();
  test::TempRegistryKey parent;
  std::string run = parent.path() + "\\Run";  // created by the first write
  ASSERT_TRUE(SetStartupEntry(registry, value, run));
  EXPECT_EQ(registry.ReadString(RegistryRoot::CurrentUser, run, kStartupValueName).value_or(""), value);
  EXPECT_TRUE(StartupEntryIsSet(registry, run));
  ASSERT_TRUE(RemoveStartupEntry(registry, run));
  EXPECT_FALSE(StartupEntryIsSet(registry, run));
  EXPECT_TRUE(RemoveStartupEntry(registry, run));  // nothing left to remove: still a success
  EXPECT_TRUE(RemoveStartupEntry(registry, parent.path() + "\\NoSuchKey"));
}

}  // namespace
}  // namespace tidemark::schedule
