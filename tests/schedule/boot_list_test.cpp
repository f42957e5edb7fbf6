// The reboot program's command line and boot list, and the rule of which paths it may act on.
#include "schedule/boot_list.h"

#include <gtest/gtest.h>

namespace tidemark::schedule {
namespace {

TEST(BootList, ArgumentAfterTheProgramNameListOnlyWithTheProductNameFirstAndOnlyPathsBelowTheProfile) {
  const std::pair<const char*, const char*> arguments[] = {
      {"\"C:\\Program Files\\Tidemark\\PurgIndx.exe\" \"C:\\Data Folder\\PurgBoot.dat\"",
       "C:\\Data Folder\\PurgBoot.dat"},
      {"PurgIndx.exe C:\\Data\\PurgBoot.dat", "C:\\Data\\PurgBoot.dat"},
      {"  PurgIndx.exe   \"C:\\Data\\PurgBoot.dat\"  ", "C:\\Data\\PurgBoot.dat"},
      {"\"C:\\Program Files\\PurgIndx.exe\"", ""},
      {"PurgIndx.exe", ""},
      {"\"C:\\unclosed quote PurgBoot.dat", ""}};
  for (const auto& [commandLine, argument] : arguments)
    EXPECT_EQ(BootListArgument(commandLine), argument) << commandLine;
  EXPECT_EQ(ParseBootList("Tidemark\r\nC:\\A\r\n\r\nC:\\B\r\n"), (std::vector<std::string>{"C:\\A", "", "C:\\B"}));
  EXPECT_EQ(ParseBootList("Tidemark"), std::vector<std::string>{});
  for (const char* text :
       {"", "tidemark\r\nC:\\A", " Tidemark\r\nC:\\A", "Tidemark \r\nC:\\A", "\r\nTidemark\r\nC:\\A"})
    EXPECT_FALSE(ParseBootList(text)) << text;
  // It acts only on plain paths below the profile folder.
  for (const char* below :
       {"C:\\Users\\Ann\\AppData\\Local\\Temporary Internet Files\\Content.IE5", "c:\\users\\ann\\Cookies"})
    EXPECT_TRUE(IsBelowFolder(below, "C:\\Users\\Ann")) << below;
  for (const char* other :
       {"C:\\Users\\Ann", "C:\\Users\\Ann\\", "C:\\Users\\Anna\\Cookies", "C:\\Users\\Bob\\Cookies",
        "C:\\Users\\Ann\\..\\Bob\\Cookies", "C:\\Users\\Ann\\.\\Cookies", "C:\\Users\\Ann\\\\Cookies",
        "C:\\Users\\Ann\\a/../../Bob", "  Folder not found", "", "\\\\server\\Users\\Ann\\Cookies"})
    EXPECT_FALSE(IsBelowFolder(other, "C:\\Users\\Ann")) << other;
  EXPECT_FALSE(IsBelowFolder("C:\\Users\\Ann\\Cookies", ""));
}

}  // namespace
}  // namespace tidemark::schedule
