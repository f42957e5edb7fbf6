// The reboot program's reading of its command line and boot list, and the
// rule of which paths it may act on.
#include "schedule/boot_list.h"

#include <gtest/gtest.h>

namespace tidemark::schedule {
namespace {

TEST(BootList, ArgumentIsTheTextAfterTheProgramName) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"C:\\Program Files\\Tidemark\\PurgIndx.exe\" \"C:\\Data Folder\\PurgBoot.dat\"", "C:\\Data Folder\\PurgBoot.dat"},
      {"PurgIndx.exe C:\\Data\\PurgBoot.dat", "C:\\Data\\PurgBoot.dat"},
      {"  PurgIndx.exe   \"C:\\Data\\PurgBoot.dat\"  ", "C:\\Data\\PurgBoot.dat"},
      {"\"C:\\Program Files\\PurgIndx.exe\"", ""},
      {"PurgIndx.exe", ""},
      {"\"C:\\unclosed quote PurgBoot.dat", ""},
      {"", ""},
  };
  for (const auto& [commandLine, argument] : cases) EXPECT_EQ(BootListArgument(commandLine), argument) << commandLine;
}

TEST(BootList, TakenOnlyWithTheProductNameAsFirstLine) {
  EXPECT_EQ(ParseBootList("Tidemark\r\nC:\\A\r\n\r\nC:\\B\r\n"), (std::vector<std::string>{"C:\\A", "", "C:\\B"}));
  EXPECT_EQ(ParseBootList("Tidemark"), std::vector<std::string>{});
  for (const char* text : {"", "tidemark\r\nC:\\A", " Tidemark\r\nC:\\A", "Tidemark \r\nC:\\A", "\r\nTidemark\r\nC:\\A"})
    EXPECT_FALSE(ParseBootList(text)) << text;
}

TEST(BootList, ActsOnlyOnPlainPathsBelowTheProfileFolder) {
  const std::string profile = "C:\\Users\\Ann";
  const std::pair<const char*, bool> cases[] = {
      {"C:\\Users\\Ann\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files\\Content.IE5", true},
      {"c:\\users\\ann\\Cookies", true},
      {"C:\\Users\\Ann", false},
      {"C:\\Users\\Ann\\", false},
      {"C:\\Users\\Anna\\Cookies", false},
      {"C:\\Users\\Bob\\Cookies", false},
      {"C:\\Users\\Ann\\..\\Bob\\Cookies", false},
      {"C:\\Users\\Ann\\.\\Cookies", false},
      {"C:\\Users\\Ann\\\\Cookies", false},
      {"C:\\Users\\Ann\\a/../../Bob", false},
      {"  Folder not found", false},
      {"", false},
      {"\\\\server\\Users\\Ann\\Cookies", false},
  };
  for (const auto& [path, below] : cases) EXPECT_EQ(IsBelowFolder(path, profile), below) << path;
  EXPECT_FALSE(IsBelowFolder("C:\\Users\\Ann\\Cookies", ""));
}

}  // namespace
}  // namespace tidemark::schedule
